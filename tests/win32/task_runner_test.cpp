#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/local_time.h"
#include "base/wide_text_win32.h"
#include "base/window_base_win32.h"
#include "tasks/task_runner_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

// The test program doubles as the task it starts: with this flag it sleeps
// for the given milliseconds, appends its tag to the given file and ends.
// GoogleTest owns main, so the check runs before it, at load time.
constexpr wchar_t kChildFlag[] = L"--kelvane-task-child";

bool RunAsTaskChildIfAsked() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr) return false;
  if (count == 5 && std::wstring_view(args[1]) == kChildFlag) {
    Sleep(static_cast<DWORD>(_wtoi(args[2])));
    std::ofstream(std::filesystem::path(args[3]), std::ios::app | std::ios::binary) << Narrow(args[4]) << '\n';
    ExitProcess(0);
  }
  LocalFree(args);
  return false;
}
[[maybe_unused]] const bool kIsTaskChild = RunAsTaskChildIfAsked();

std::string ThisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Narrow(path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "every line ends with CRLF";
  return lines;
}

class TaskRunnerWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = Narrow(temp) + "KelvaneTasks" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(Widen(folder_).c_str(), nullptr));
  }
  void TearDown() override {
    for (const char* name : {"\\TasksLog.txt", "\\order.txt"}) DeleteFileW(Widen(folder_ + name).c_str());
    RemoveDirectoryW(Widen(folder_).c_str());
  }

  // A task that runs the test program itself; it names the data folder.
  std::string ChildTask(int sleepMs, const std::string& tag) const {
    // Built by appending: GCC 12 misreads a chain of + on strings here.
    std::string command = "\"";
    command += ThisProgram();
    command += "\" --kelvane-task-child ";
    command += std::to_string(sleepMs);
    command += " \"%KLAPPDATA%\\order.txt\" ";
    command += tag;
    return command;
  }
  std::string Expanded(const std::string& command) const {
    return ExpandPathVariables(command, {folder_, "", ""});
  }
  // Checks that a log line reads "start, end, HH.NN.SS command" with both
  // times inside [from, to].
  void ExpectLogLine(const std::string& line, const std::string& command, Instant from, Instant to,
                     std::chrono::seconds maxDuration) const {
    SCOPED_TRACE(line);
    const std::string suffix = " " + command;
    ASSERT_GT(line.size(), suffix.size() + 10);
    ASSERT_EQ(line.substr(line.size() - suffix.size()), suffix);
    const std::string times = line.substr(0, line.size() - suffix.size() - 10);
    const std::string duration = line.substr(times.size(), 10);
    bool timesFound = false;
    for (Instant start = std::chrono::floor<std::chrono::seconds>(from); start <= to && !timesFound;
         start += std::chrono::seconds{1}) {
      for (Instant end = start; end <= to && end - start <= maxDuration && !timesFound;
           end += std::chrono::seconds{1}) {
        timesFound = times == FormatGeneralDate(zone_, start) + ", " + FormatGeneralDate(zone_, end) &&
                     duration == ", " + FormatTaskDuration(std::chrono::duration_cast<std::chrono::seconds>(end - start));
      }
    }
    EXPECT_TRUE(timesFound);
  }

  std::string folder_;
  SystemClock clock_;
  UserLocalTimeZone zone_;
};

TEST_F(TaskRunnerWin32Test, RunsEnabledTasksInOrderAndLogsEachRun) {
  TaskList list;
  const std::string missing = "C:\\no\\such\\folder\\program.exe /x";
  SetTaskRecord(list, 1, {true, "first", ChildTask(0, "A")});
  SetTaskRecord(list, 2, {false, "off", ChildTask(0, "X")});
  SetTaskRecord(list, 3, {true, "shell", "%SYS32%\\cmd.exe /c exit 3"});
  SetTaskRecord(list, 4, {true, "missing", missing});
  SetTaskRecord(list, 5, {true, "last", ChildTask(0, "B")});
  list.TaskCount = 5;
  TaskRunnerWin32 runner(folder_);

  const Instant from = clock_.Now();
  runner.RunTasks(list);
  const Instant to = clock_.Now();

  EXPECT_EQ(ReadFile(folder_ + "\\order.txt"), "A\nB\n");
  const std::vector<std::string> lines = Lines(ReadFile(runner.LogFilePath()));
  ASSERT_EQ(lines.size(), 4u);
  wchar_t systemRoot[MAX_PATH] = {};
  ASSERT_NE(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
  ExpectLogLine(lines[0], Expanded(ChildTask(0, "A")), from, to, std::chrono::seconds{30});
  ExpectLogLine(lines[1], Narrow(systemRoot) + "\\system32\\cmd.exe /c exit 3", from, to, std::chrono::seconds{30});
  // A command that cannot start takes no time to fail.
  ExpectLogLine(lines[2], missing, from, to, std::chrono::seconds{1});
  ExpectLogLine(lines[3], Expanded(ChildTask(0, "B")), from, to, std::chrono::seconds{30});
  EXPECT_EQ(runner.LogFilePath(), folder_ + "\\TasksLog.txt");
}

TEST_F(TaskRunnerWin32Test, LogOverTheLimitStartsAfresh) {
  TaskRunnerWin32 runner(folder_);
  std::ofstream(std::filesystem::path(Widen(runner.LogFilePath())), std::ios::binary) << std::string(20481, '#');
  ASSERT_TRUE(runner.RunTask("cmd.exe /c exit 0"));
  const std::string log = ReadFile(runner.LogFilePath());
  EXPECT_EQ(log.find('#'), std::string::npos) << "the old log was removed";
  EXPECT_EQ(Lines(log).size(), 1u);
}

TEST_F(TaskRunnerWin32Test, LogThatCannotBeWrittenDoesNotStopTheTask) {
  TaskRunnerWin32 runner(folder_ + "\\missing folder");
  TaskList list;
  // The marker goes to the test folder, the log to a folder that is not there.
  SetTaskRecord(list, 1, {true, "a", Expanded(ChildTask(0, "A"))});
  list.TaskCount = 1;
  runner.RunTasks(list);
  EXPECT_EQ(ReadFile(folder_ + "\\order.txt"), "A\n");
  EXPECT_EQ(GetFileAttributesW(Widen(runner.LogFilePath()).c_str()), INVALID_FILE_ATTRIBUTES);
}

// Counts the messages that reach a message-only window.
class CountingWindow : public WindowBase {
 public:
  static constexpr UINT kPing = WM_APP + 1;
  static constexpr UINT_PTR kTimerId = 1;

  CountingWindow() { CreateOf(L"KelvaneTaskRunnerTest", 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE); }

  HWND Handle() const { return hwnd(); }
  int pings = 0;
  int ticks = 0;

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    if (message == kPing) ++pings;
    if (message == WM_TIMER && wParam == kTimerId) ++ticks;
    return Default(message, wParam, lParam);
  }
};

TEST_F(TaskRunnerWin32Test, MessagesAreHandledWhileATaskRuns) {
  CountingWindow counter;
  ASSERT_NE(counter.Handle(), nullptr);
  ASSERT_NE(SetTimer(counter.Handle(), CountingWindow::kTimerId, 100, nullptr), 0u);
  ASSERT_TRUE(PostMessageW(counter.Handle(), CountingWindow::kPing, 0, 0));
  PostQuitMessage(7);
  TaskRunnerWin32 runner(folder_);

  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(runner.RunTask(Expanded(ChildTask(2500, "slow"))));
  const auto elapsed = std::chrono::steady_clock::now() - started;
  KillTimer(counter.Handle(), CountingWindow::kTimerId);

  EXPECT_EQ(ReadFile(folder_ + "\\order.txt"), "slow\n") << "the runner waited for the task to end";
  EXPECT_GE(elapsed, std::chrono::milliseconds{2500});
  EXPECT_EQ(counter.pings, 1);
  EXPECT_GE(counter.ticks, 1) << "timers behind a pending quit request still fire";
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request survives the run";
  EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
}  // namespace kelvane
