#include "conditions/condition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "fakes/fake_condition_sampler.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

using FakeSampler = testing::FakeConditionSampler;

class ConditionTest : public ::testing::Test {
 protected:
  FakeSampler sampler;
  ConditionWatch watch{sampler};
  milliseconds now{5h};

  static ConditionChoice Idle(int minutes) { return {ConditionKind::Idle, minutes, {}}; }
  static ConditionChoice Program(const std::string& name) { return {ConditionKind::ProgramEnds, 10, name}; }
  bool After(milliseconds elapsed, milliseconds sinceInput) {
    now += elapsed;
    sampler.sinceInput = sinceInput;
    return watch.Update(now);
  }
};

TEST_F(ConditionTest, IdleHoldsAtItsMinutesAndNotASecondBefore) {
  ASSERT_FALSE(watch.Start(Idle(10), now));
  EXPECT_FALSE(After(10min - 1s, 10min - 1s));
  EXPECT_EQ(watch.Status(), "Idle 9 of 10 minutes");
  EXPECT_TRUE(After(1s, 10min));
  EXPECT_EQ(watch.Status(), "Idle 10 of 10 minutes");
  EXPECT_EQ(watch.Description(), "when idle for 10 minutes");
}

TEST_F(ConditionTest, InputRestartsTheIdleCount) {
  ASSERT_FALSE(watch.Start(Idle(5), now));
  EXPECT_FALSE(After(4min, 4min));
  EXPECT_EQ(watch.Status(), "Idle 4 of 5 minutes");
  EXPECT_FALSE(After(30s, 2s)) << "a key was pressed";
  EXPECT_EQ(watch.Status(), "Idle 0 of 5 minutes");
  EXPECT_FALSE(After(4min, 4min + 2s));
  EXPECT_TRUE(After(30s, 5min + 2s));
}

TEST_F(ConditionTest, IdleCountsFromTheArmingNotFromEarlierInput) {
  // A system that reports no input at all (an input time of zero) gives
  // the whole uptime as idle; the count still starts at the arming.
  ASSERT_FALSE(watch.Start(Idle(1), now));
  EXPECT_FALSE(After(0ms, 1000h));
  EXPECT_EQ(watch.Status(), "Idle 0 of 1 minutes");
  EXPECT_FALSE(After(59s, 1000h));
  EXPECT_TRUE(After(1s, 1000h));
}

TEST_F(ConditionTest, TickAgesSurviveTheCounterWrapping) {
  const struct {
    std::uint32_t now;
    std::uint32_t then;
    milliseconds age;
  } cases[] = {
      {5000, 2000, 3000ms},
      {1000, 0xFFFFFC18u, 2000ms},  // 1000 ms before the wrap, 1000 after
      {0, 0, 0ms},
      {0x7FFFFFFFu, 0, milliseconds{0x7FFFFFFF}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.then);
    EXPECT_EQ(TicksSince(c.now, c.then), c.age);
  }
}

TEST_F(ConditionTest, AProgramEndsWhenEveryProcessOfItHasEnded) {
  sampler.found = 2;
  ASSERT_FALSE(watch.Start(Program("blender.exe"), now));
  EXPECT_EQ(sampler.watched, "blender.exe");
  EXPECT_EQ(watch.Status(), "Waiting for blender.exe to end");
  EXPECT_EQ(watch.Description(), "when blender.exe ends");
  EXPECT_FALSE(After(1s, 0ms));
  sampler.running = 1;
  EXPECT_FALSE(After(1s, 0ms)) << "one of two still runs";
  sampler.running = 0;
  sampler.found = 0;  // and none has started since
  EXPECT_TRUE(After(1s, 0ms));
  watch.Stop();
  EXPECT_FALSE(sampler.watching);
  EXPECT_FALSE(watch.Update(now)) << "a stopped watch never holds";
}

TEST_F(ConditionTest, AProgramThatDoesNotRunIsNotArmedAndNeverFiresAtOnce) {
  sampler.found = 0;
  EXPECT_EQ(watch.Start(Program("blender.exe"), now), "blender.exe is not running");
  EXPECT_FALSE(sampler.watching);
  EXPECT_FALSE(watch.Update(now));
  EXPECT_EQ(watch.Start(Program(""), now), "The program is not running");
}


// The session's processes by name, as the system keeps them: a watch waits
// on the processes of the executable that run when it starts, and only on
// those, as handles do.
class ProcessTable : public ConditionSampler {
 public:
  std::size_t Launch(const std::string& executable) {
    processes_.push_back({executable, true});
    return processes_.size() - 1;
  }
  void End(std::size_t process) { processes_[process].running = false; }

  std::chrono::milliseconds SinceLastInput() override { return {}; }
  int WatchProgram(const std::string& executable) override {
    watched_.clear();
    for (std::size_t i = 0; i < processes_.size(); ++i) {
      if (processes_[i].running && ToLower(processes_[i].executable) == ToLower(executable)) watched_.push_back(i);
    }
    return static_cast<int>(watched_.size());
  }
  int WatchedProgramsRunning() override {
    return static_cast<int>(std::count_if(watched_.begin(), watched_.end(),
                                          [&](std::size_t i) { return processes_[i].running; }));
  }
  int CountProgram(const std::string& executable) override {
    return static_cast<int>(std::count_if(processes_.begin(), processes_.end(), [&](const Process& p) {
      return p.running && ToLower(p.executable) == ToLower(executable);
    }));
  }
  void StopWatching() override { watched_.clear(); }
  std::vector<RunningProgram> RunningPrograms() override { return {}; }

 private:
  struct Process {
    std::string executable;
    bool running;
  };
  static std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
  std::vector<Process> processes_;
  std::vector<std::size_t> watched_;
};

TEST(ProgramCondition, HoldsOnlyWhenNoProcessOfTheProgramRunsAnyMore) {
  // A batch runs one ffmpeg.exe per file: when one ends the next starts.
  // "When ffmpeg.exe ends" means when the batch is done.
  const struct {
    const char* later;  // the name the next process starts under
    bool holds;         // once the first has ended while it runs
  } cases[] = {
      {"ffmpeg.exe", false},
      {"FFMPEG.EXE", false},  // file names on Windows have no case
      {"notepad.exe", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.later);
    ProcessTable processes;
    ConditionWatch watch{processes};
    const std::size_t first = processes.Launch("ffmpeg.exe");
    ASSERT_FALSE(watch.Start({ConditionKind::ProgramEnds, 10, "ffmpeg.exe"}, 1h));
    EXPECT_FALSE(watch.Update(1h + 1s));
    const std::size_t next = processes.Launch(c.later);
    processes.End(first);
    EXPECT_EQ(watch.Update(1h + 2s), c.holds);
    processes.End(next);
    EXPECT_TRUE(watch.Update(1h + 3s)) << "nothing of it runs";
  }
}

TEST(ProgramList, ItemsNameExecutableAndTitleOnceInTheDesktopsOrder) {
  EXPECT_EQ(ProgramListItems({{"notepad.exe", "a.txt - Notepad"},
                              {"Blender.exe", "Untitled - Blender"},
                              {"notepad.exe", "a.txt - Notepad"},
                              {"", "no file name"},
                              {"blender.exe", "b"}}),
            (std::vector<std::string>{"notepad.exe: a.txt - Notepad", "Blender.exe: Untitled - Blender", "blender.exe: b"}));
}

TEST(ProgramList, TheExecutableOfAnItemOrATypedName) {
  const struct {
    const char* text;
    const char* executable;
  } cases[] = {
      {"blender.exe: Untitled - Blender", "blender.exe"},
      {"blender.exe", "blender.exe"},
      {"  blender.exe  ", "blender.exe"},
      {"C:\\Program Files\\Blender\\blender.exe", "blender.exe"},
      {"C:/tools/x.exe: title: with colons", "x.exe"},
      {"", ""},
      {"   ", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ExecutableOf(c.text), c.executable);
  }
}

}  // namespace
}  // namespace kelvane
