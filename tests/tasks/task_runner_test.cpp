#include "tasks/task_runner.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "fakes/fake_time.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeClock;
using testing::FakeZone;
using testing::Utc;

// How a fake command behaves: it cannot be started, or it runs through a
// number of timed-out wait steps and then ends.
struct FakeCommand {
  bool startable = true;
  int timeouts = 0;
};

// Records every call of the runner on its system, in order.
class FakeSystem : public ProcessLauncher, public MessagePump, public EnvironmentReader, public TaskLogFile {
 public:
  FakeClock clock{Utc(2026, 12, 4, 22, 15, 3)};
  FakeZone zone;
  std::map<std::string, FakeCommand> commands;
  std::map<std::string, std::string> environment{{"SystemRoot", "C:\\WINDOWS"}, {"WinDir", "C:\\WINDOWS"}};
  std::map<std::string, std::string> files;
  bool appendFails = false;
  std::vector<std::string> events;
  std::vector<std::chrono::milliseconds> waitTimeouts;
  std::function<void()> onPump;

  TaskRunnerSystem System() { return {*this, *this, clock, zone, *this, *this}; }

  std::unique_ptr<StartedProcess> Start(const std::string& commandLine) override {
    events.push_back("start " + commandLine);
    const FakeCommand command = commands[commandLine];
    if (!command.startable) return nullptr;
    return std::make_unique<Process>(*this, command.timeouts);
  }
  void ProcessPendingMessages() override {
    events.push_back("pump");
    if (onPump) onPump();
  }
  std::string Variable(std::string_view name) const override {
    const auto found = environment.find(std::string(name));
    return found == environment.end() ? std::string() : found->second;
  }
  std::optional<std::uint64_t> Size(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second.size();
  }
  bool Remove(const std::string& path) override {
    events.push_back("remove");
    return files.erase(path) == 1;
  }
  bool Append(const std::string& path, std::string_view text) override {
    if (appendFails) return false;
    files[path] += text;
    return true;
  }

 private:
  class Process : public StartedProcess {
   public:
    Process(FakeSystem& system, int timeouts) : system_(system), timeouts_(timeouts) {}
    ProcessWait WaitFor(std::chrono::milliseconds timeout) override {
      system_.waitTimeouts.push_back(timeout);
      system_.events.push_back("wait");
      if (timeouts_-- > 0) {
        system_.clock.Advance(std::chrono::duration_cast<std::chrono::seconds>(timeout));
        return ProcessWait::TimedOut;
      }
      return ProcessWait::Ended;
    }
    bool Close() override {
      system_.events.push_back("close");
      return true;
    }

   private:
    FakeSystem& system_;
    int timeouts_;
  };
};

constexpr const char* kLog = "C:\\Users\\u\\AppData\\Kelvane\\TasksLog.txt";

class TaskRunnerTest : public ::testing::Test {
 protected:
  FakeSystem fake;
  TaskRunner runner{fake.System(), "C:\\Users\\u\\AppData\\Kelvane"};
  TaskList list;

  void Add(bool enabled, const std::string& commandLine) {
    ++list.TaskCount;
    SetTaskRecord(list, list.TaskCount, {enabled, "name", commandLine});
  }
  std::vector<std::string> Starts() const {
    std::vector<std::string> starts;
    for (const std::string& event : fake.events) {
      if (event.starts_with("start ")) starts.push_back(event.substr(6));
    }
    return starts;
  }
};

TEST(TaskRunnerExpansion, ReplacesTheThreeVariablesInOrderAndCaseSensitively) {
  const PathVariables variables{"D:\\Data", "C:\\WIN\\system32", "C:\\WIN"};
  const struct {
    const char* commandLine;
    const char* expanded;
  } cases[] = {
      {"%SYS32%\\cmd.exe /C %WINDIR%\\x.exe", "C:\\WIN\\system32\\cmd.exe /C C:\\WIN\\x.exe"},
      {"%sys32%\\cmd.exe %Windir%", "%sys32%\\cmd.exe %Windir%"},
      {"%KLAPPDATA%%KLAPPDATA%", "D:\\DataD:\\Data"},
      {"%KLAPPDATA%\\log %SYS32% %KLAPPDATA%", "D:\\Data\\log C:\\WIN\\system32 D:\\Data"},
      {"%%SYS32%%", "%C:\\WIN\\system32%"},
      {"%KLAPP%DATA%", "%KLAPP%DATA%"},
      {"%PATH% %TEMP%", "%PATH% %TEMP%"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.commandLine);
    EXPECT_EQ(ExpandPathVariables(c.commandLine, variables), c.expanded);
  }
}

TEST(TaskRunnerExpansion, EachStepWorksOnThePreviousResult) {
  // A data folder naming a later variable is expanded again; one naming an
  // earlier variable, or itself, is not.
  EXPECT_EQ(ExpandPathVariables("%KLAPPDATA%\\a", {"X%SYS32%Y", "S", "W"}), "XSY\\a");
  EXPECT_EQ(ExpandPathVariables("%WINDIR%", {"D", "S", "%SYS32%"}), "%SYS32%");
  EXPECT_EQ(ExpandPathVariables("%KLAPPDATA%!", {"<%KLAPPDATA%>", "S", "W"}), "<%KLAPPDATA%>!");
}

TEST(TaskRunnerLog, DurationShowsTheTimeOfDayPartOnly) {
  const struct {
    std::chrono::seconds duration;
    const char* text;
  } cases[] = {
      {0s, "00.00.00"},        {6s, "00.00.06"},          {3723s, "01.02.03"},
      {86399s, "23.59.59"},    {25h, "01.00.00"},         {48h + 1s, "00.00.01"},
      {-5s, "00.00.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatTaskDuration(c.duration), c.text);
  }
}

TEST(TaskRunnerLog, LineHoldsStartEndDurationAndCommand) {
  FakeZone zone{2h};
  ShellWaitInfo info;
  info.CommandLine = "C:\\WINDOWS\\system32\\cmd.exe /C cleanmgr.exe /d c: ";
  info.StartTime = Utc(2026, 12, 4, 20, 15, 3);
  info.EndTime = Utc(2026, 12, 4, 20, 15, 9);
  info.Duration = 6s;
  EXPECT_EQ(TaskLogLine(zone, info),
            "2026-12-04 22:15:03, 2026-12-04 22:15:09, 00.00.06 "
            "C:\\WINDOWS\\system32\\cmd.exe /C cleanmgr.exe /d c: \r\n");
  // Local midnight shows the date alone.
  info.StartTime = Utc(2026, 12, 4, 22, 0, 0);
  info.EndTime = Utc(2026, 12, 5, 23, 0, 0);
  info.Duration = 25h;
  EXPECT_EQ(TaskLogLine(zone, info), "2026-12-05, 2026-12-06 01:00:00, 01.00.00 " + info.CommandLine + "\r\n");
}

TEST_F(TaskRunnerTest, RunsEnabledTasksInOrderAndLogsEachRun) {
  Add(true, "%SYS32%\\first.exe");
  Add(false, "disabled.exe");
  Add(true, "");
  list.Tasks[4] = "garbage";
  ++list.TaskCount;
  Add(true, "%KLAPPDATA%\\third.exe %WINDIR%");
  list.Tasks[6] = "6\xC2\xA4" "1\xC2\xA4" "stale\xC2\xA4" "beyond.exe\xC2\xA4";
  fake.commands["C:\\WINDOWS\\system32\\first.exe"].timeouts = 2;
  runner.RunTasks(list);

  EXPECT_EQ(Starts(), (std::vector<std::string>{"C:\\WINDOWS\\system32\\first.exe",
                                                "C:\\Users\\u\\AppData\\Kelvane\\third.exe C:\\WINDOWS"}));
  EXPECT_EQ(fake.files[kLog],
            "2026-12-04 22:15:03, 2026-12-04 22:15:05, 00.00.02 C:\\WINDOWS\\system32\\first.exe\r\n"
            "2026-12-04 22:15:05, 2026-12-04 22:15:05, 00.00.00 "
            "C:\\Users\\u\\AppData\\Kelvane\\third.exe C:\\WINDOWS\r\n");
}

TEST_F(TaskRunnerTest, UnsetEnvironmentVariablesExpandToNothing) {
  fake.environment.clear();
  Add(true, "%SYS32%\\a.exe %WINDIR%\\b");
  runner.RunTasks(list);
  EXPECT_EQ(Starts(), std::vector<std::string>{"\\system32\\a.exe \\b"});
}

TEST_F(TaskRunnerTest, NothingToRunWritesNothing) {
  runner.RunTasks(list);
  Add(false, "a.exe");
  Add(true, "");
  runner.RunTasks(list);
  EXPECT_TRUE(fake.events.empty());
  EXPECT_TRUE(fake.files.empty());
}

TEST_F(TaskRunnerTest, AWaitThatTimesOutLetsMessagesThroughBeforeWaitingAgain) {
  fake.commands["long.exe"].timeouts = 3;
  EXPECT_TRUE(runner.RunTask("long.exe"));
  EXPECT_EQ(fake.events, (std::vector<std::string>{"start long.exe", "wait", "pump", "wait", "pump", "wait", "pump",
                                                   "wait", "close"}));
  for (const auto timeout : fake.waitTimeouts) EXPECT_EQ(timeout, 1000ms);
  EXPECT_NE(fake.files[kLog].find(", 00.00.03 long.exe\r\n"), std::string::npos);
}

TEST_F(TaskRunnerTest, WaitIntervalOfTheRecordIsHonoured) {
  fake.commands["a.exe"].timeouts = 1;
  for (const std::int32_t interval : {250, 0, -7}) {
    SCOPED_TRACE(interval);
    fake.waitTimeouts.clear();
    ShellWaitInfo info;
    info.CommandLine = "a.exe";
    info.WaitInterval = interval;
    runner.ShellAndWait(info);
    ASSERT_FALSE(fake.waitTimeouts.empty());
    EXPECT_EQ(fake.waitTimeouts.front(), std::chrono::milliseconds(interval > 0 ? interval : 1000));
  }
  EXPECT_TRUE(fake.files.empty()) << "a record without Log set is not logged";
}

TEST_F(TaskRunnerTest, CommandThatCannotStartIsLoggedAndTheListGoesOn) {
  fake.commands["missing.exe"].startable = false;
  Add(true, "missing.exe");
  Add(true, "next.exe");
  runner.RunTasks(list);
  EXPECT_EQ(Starts(), (std::vector<std::string>{"missing.exe", "next.exe"}));
  EXPECT_EQ(fake.files[kLog],
            "2026-12-04 22:15:03, 2026-12-04 22:15:03, 00.00.00 missing.exe\r\n"
            "2026-12-04 22:15:03, 2026-12-04 22:15:03, 00.00.00 next.exe\r\n");
  EXPECT_FALSE(runner.RunTask("missing.exe"));
}

TEST_F(TaskRunnerTest, LogLargerThanTheLimitIsDeletedBeforeTheLine) {
  const struct {
    std::int32_t maxLogSize;
    std::size_t existing;
    bool deleted;
  } cases[] = {{0, 20480, false}, {0, 20481, true}, {100, 100, false}, {100, 101, true}, {0, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.maxLogSize << " / " << c.existing);
    fake.files[kLog] = std::string(c.existing, 'x');
    ShellWaitInfo info;
    info.CommandLine = "a.exe";
    info.Log = true;
    info.LogFile = kLog;
    info.MaxLogSize = c.maxLogSize;
    runner.ShellAndWait(info);
    const std::string line = TaskLogLine(fake.zone, info);
    EXPECT_EQ(fake.files[kLog], (c.deleted ? "" : std::string(c.existing, 'x')) + line);
  }
}

TEST_F(TaskRunnerTest, LogThatCannotBeWrittenLosesOnlyItsLine) {
  Add(true, "a.exe");
  Add(true, "b.exe");
  fake.onPump = [this] { fake.appendFails = false; };
  fake.commands["b.exe"].timeouts = 1;
  fake.appendFails = true;
  runner.RunTasks(list);
  EXPECT_EQ(Starts(), (std::vector<std::string>{"a.exe", "b.exe"}));
  EXPECT_EQ(fake.files[kLog], "2026-12-04 22:15:03, 2026-12-04 22:15:04, 00.00.01 b.exe\r\n");
}

TEST_F(TaskRunnerTest, ListEditedWhileATaskRunsDoesNotChangeTheRun) {
  Add(true, "a.exe");
  Add(true, "b.exe");
  fake.commands["a.exe"].timeouts = 1;
  fake.onPump = [this] {
    SetTaskRecord(list, 2, {false, "name", "b.exe"});
    list.TaskCount = 1;
  };
  runner.RunTasks(list);
  EXPECT_EQ(Starts(), (std::vector<std::string>{"a.exe", "b.exe"}));
}

}  // namespace
}  // namespace kelvane
