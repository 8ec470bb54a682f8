#include "conditions/condition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>

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

// The network and the processor, sampled as the schedule's ticks do, with
// counters the test moves.
class QuietTest : public ConditionTest {
 protected:
  static constexpr ConditionKind kNetwork = ConditionKind::NetworkQuiet;
  static constexpr ConditionKind kProcessor = ConditionKind::ProcessorQuiet;

  // Interface 9's sent counter is near its end, to wrap.
  QuietTest() { sampler.octets = std::vector<InterfaceOctets>{{7, 1000000, 2000000}, {9, 500, ~0ull - 100}}; }

  static ConditionChoice Quiet(ConditionKind kind, int minutes, int threshold = 0) {
    ConditionChoice choice{kind, minutes, {}};
    if (threshold > 0) choice.kbps = choice.percent = threshold;
    return choice;
  }
  // Lets `span` pass in which interface 7 moved `amount` octets, or the
  // processors were busy for `amount` thousandths of their time (10 units a
  // millisecond).
  void Move(ConditionKind kind, milliseconds span, std::uint64_t amount) {
    now += span;
    if (kind == kNetwork) {
      (*sampler.octets)[0].received += amount / 2;
      (*sampler.octets)[0].sent += amount - amount / 2;
    } else {
      const auto units = static_cast<std::uint64_t>(span.count()) * 10;
      sampler.times->total += units;
      sampler.times->idle += units - units * amount / 1000;
    }
  }
  // Samples every `span` for `length`: 12 KB/s or 3 % when quiet, 500 KB/s
  // or 80 % when loud (the default thresholds are 50 KB/s and 10 %); true
  // once the condition holds.
  bool Run(ConditionKind kind, milliseconds length, bool loud, milliseconds span = 5s) {
    const auto ms = static_cast<std::uint64_t>(span.count());
    const std::uint64_t amount = kind == kNetwork ? (loud ? 500 : 12) * 1024 * ms / 1000 : loud ? 800 : 30;
    bool holds = false;
    for (milliseconds ran{0}; ran < length && !holds; ran += span) {
      Move(kind, span, amount);
      holds = watch.Update(now);
    }
    return holds;
  }
};

TEST_F(QuietTest, HoldsAfterItsMinutesOfQuietAndALoudSpanStartsTheCountAgain) {
  const struct {
    ConditionKind kind;
    const char* before;  // no rate known yet
    const char* counting;
    const char* loud;
    const char* description;
  } cases[] = {
      {kNetwork, "Network quiet 0 of 5 minutes", "Network 12 KB/s, quiet 4 of 5 minutes",
       "Network 500 KB/s, quiet 0 of 5 minutes", "when the network is quiet for 5 minutes"},
      {kProcessor, "Processor quiet 0 of 5 minutes", "Processor 3 %, quiet 4 of 5 minutes",
       "Processor 80 %, quiet 0 of 5 minutes", "when the processor is quiet for 5 minutes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    ASSERT_FALSE(watch.Start(Quiet(c.kind, 5), now));
    EXPECT_EQ(watch.Status(), c.before);
    EXPECT_EQ(watch.Description(), c.description);
    EXPECT_FALSE(Run(c.kind, 4min + 55s, false, 500ms)) << "every tick samples, 5 s apart at the least";
    EXPECT_EQ(watch.Status(), c.counting);
    EXPECT_FALSE(Run(c.kind, 5s, true));
    EXPECT_EQ(watch.Status(), c.loud);
    EXPECT_FALSE(Run(c.kind, 4min + 55s, false)) << "the quiet minutes before count no more";
    EXPECT_TRUE(Run(c.kind, 5s, false));
    watch.Stop();
  }
}

TEST_F(QuietTest, ARateAtItsThresholdIsNotQuietAndOneBelowIs) {
  const struct {
    ConditionKind kind;
    int threshold;         // KB/s or percent
    std::uint64_t amount;  // octets in each 5 s, or busy thousandths
    bool quiet;
    const char* status;
  } cases[] = {
      {kNetwork, 50, 50 * 1024 * 5, false, "Network 50 KB/s, quiet 0 of 1 minutes"},
      {kNetwork, 50, 50 * 1024 * 5 - 1, true, "Network 49 KB/s, quiet 1 of 1 minutes"},
      {kNetwork, 1, 1024 * 5, false, "Network 1 KB/s, quiet 0 of 1 minutes"},
      {kNetwork, 1000000, 1000000ull * 1024 * 5 - 1, true, "Network 999999 KB/s, quiet 1 of 1 minutes"},
      {kProcessor, 10, 100, false, "Processor 10 %, quiet 0 of 1 minutes"},
      {kProcessor, 10, 99, true, "Processor 9 %, quiet 1 of 1 minutes"},
      {kProcessor, 99, 990, false, "Processor 99 %, quiet 0 of 1 minutes"},
      {kProcessor, 1, 9, true, "Processor 0 %, quiet 1 of 1 minutes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    ASSERT_FALSE(watch.Start(Quiet(c.kind, 1, c.threshold), now));
    bool holds = false;
    for (int sample = 0; sample < 12; ++sample) {
      EXPECT_FALSE(holds) << "held after " << sample << " samples";
      Move(c.kind, 5s, c.amount);
      holds = watch.Update(now);
    }
    EXPECT_EQ(holds, c.quiet);
    EXPECT_EQ(watch.Status(), c.status);
    watch.Stop();
  }
}

TEST_F(QuietTest, CountersThatGoBackAndInterfacesThatComeOrGoAddNothing) {
  const struct {
    const char* change;
    std::function<void(std::vector<InterfaceOctets>&)> apply;
  } cases[] = {
      {"a counter reset", [](auto& all) { all[0].received = 0; }},
      {"a counter wrapped", [](auto& all) { all[1].sent = 50; }},
      {"an interface came", [](auto& all) { all.push_back({11, 40'000'000'000, 90'000'000'000}); }},
      {"an interface went", [](auto& all) { all.erase(all.begin() + 1); }},
      {"every interface went", [](auto& all) { all.clear(); }},
      {"another took the place of one", [](auto& all) { all[1] = {12, 70'000'000'000, 5}; }},
  };
  const auto first = sampler.octets;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    sampler.octets = first;
    ASSERT_FALSE(watch.Start(Quiet(kNetwork, 5), now));
    EXPECT_FALSE(Run(kNetwork, 2min, false));
    c.apply(*sampler.octets);
    now += 5s;
    EXPECT_FALSE(watch.Update(now));
    EXPECT_EQ(watch.Status(), "Network 0 KB/s, quiet 2 of 5 minutes");
    if (sampler.octets->empty()) sampler.octets->push_back({7, 0, 0});  // back, for the traffic to come
    EXPECT_FALSE(Run(kNetwork, 2min + 50s, false)) << "not early";
    EXPECT_TRUE(Run(kNetwork, 5s, false)) << "nor late";
    watch.Stop();
  }
}

TEST_F(QuietTest, ProcessorTimesThatStandStillMeasureNothingAndOnesThatGoBackStartOver) {
  ASSERT_FALSE(watch.Start(Quiet(kProcessor, 1), now));
  EXPECT_FALSE(Run(kProcessor, 20s, false));
  const std::string status = watch.Status();
  now += 10s;
  EXPECT_FALSE(watch.Update(now));
  EXPECT_EQ(watch.Status(), status);
  EXPECT_FALSE(Run(kProcessor, 25s, false));
  EXPECT_EQ(watch.Status(), "Processor 3 %, quiet 0 of 1 minutes");
  sampler.times = ProcessorTimes{10, 20};
  now += 5s;
  EXPECT_FALSE(watch.Update(now));
  EXPECT_EQ(watch.Status(), "Processor quiet 0 of 1 minutes");
  EXPECT_FALSE(Run(kProcessor, 55s, false));
  EXPECT_TRUE(Run(kProcessor, 5s, false));
}

TEST_F(QuietTest, ALongGapBetweenSamplesOnlySetsANewBaseline) {
  // The computer slept three hours: the elapsed clock moved on, the
  // counters stood still.
  for (const ConditionKind kind : {kNetwork, kProcessor}) {
    SCOPED_TRACE(kind == kNetwork ? "network" : "processor");
    ASSERT_FALSE(watch.Start(Quiet(kind, 5), now));
    EXPECT_FALSE(Run(kind, 4min + 55s, false));
    now += 3h;
    EXPECT_FALSE(watch.Update(now)) << "not early";
    EXPECT_EQ(watch.Status(),
              kind == kNetwork ? "Network quiet 0 of 5 minutes" : "Processor quiet 0 of 5 minutes");
    EXPECT_FALSE(Run(kind, 4min + 55s, false));
    EXPECT_TRUE(Run(kind, 5s, false)) << "nor stalled";
    watch.Stop();
  }
}

TEST_F(QuietTest, WithoutFiguresNothingIsArmedOrCounted) {
  const auto octets = sampler.octets;
  sampler.octets.reset();
  sampler.times.reset();
  EXPECT_EQ(watch.Start(Quiet(kNetwork, 5), now), "The network's figures are not available");
  EXPECT_EQ(watch.Start(Quiet(kProcessor, 5), now), "The processor's figures are not available");
  // Figures that stop coming are no quiet network.
  sampler.octets = octets;
  ASSERT_FALSE(watch.Start(Quiet(kNetwork, 1), now));
  sampler.octets.reset();
  for (int tick = 0; tick < 1200; ++tick) {
    now += 500ms;
    ASSERT_FALSE(watch.Update(now)) << tick;
  }
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
  std::optional<std::vector<InterfaceOctets>> NetworkOctets() override { return std::nullopt; }
  std::optional<ProcessorTimes> SystemTimes() override { return std::nullopt; }

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
