// The command line with the real program under Wine: a second start hands
// its arguments to the running program, /status reports through the
// standard output it was given, and a bad line changes nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

struct Outcome {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;
};

// Runs kelvane-recording.exe with `arguments` and its standard output in a
// file, as a script's redirection gives it, until it ends.
Outcome RunCommand(const std::wstring& arguments, const std::wstring& powerLog) {
  const std::wstring outputPath = TempFile(L"kelvane-command.out");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE output = CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    CREATE_ALWAYS, 0, nullptr);
  if (output == INVALID_HANDLE_VALUE) return {};
  SetEnvironmentVariableW(L"KELVANE_POWER_LOG", powerLog.c_str());
  std::wstring command = L"\"" + TestFolder() + L"\\kelvane-recording.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info{};
  Outcome outcome;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &outcome.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(output);
  outcome.output = ReadFileText(outputPath);
  return outcome;
}

class CommandLineTest : public ProgramTest {
 protected:
  Outcome Run(const std::wstring& arguments) { return RunCommand(arguments, powerLog_); }
};

TEST_F(CommandLineTest, ASecondStartArmsTheRunningProgramWhichThenActs) {
  SetRegistryText(kConfig, L"TrayTips", L"False");
  ASSERT_TRUE(Start());
  const Outcome armed = Run(L"/suspend /in 3s /noprompt");
  EXPECT_EQ(armed.exitCode, 0u);
  EXPECT_EQ(armed.output.rfind("Armed: Suspend at ", 0), 0u) << armed.output;
  EXPECT_TRUE(Armed(main_));
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbAction)), L"Suspend");
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtPeriod)), L"3");
  EXPECT_FALSE(IsChecked(main_, Id(MainControl::chkPrompt)));
  EXPECT_EQ(RegistryText(kConfig, L"Action"), L"3") << "saved as the Enable button saves";
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 0 0"); }, 15s)) << PowerCalls();
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
  EXPECT_FALSE(program_->Exited(0ms));
}

TEST_F(CommandLineTest, StatusTellsTheArmedStateAndSetsTheExitCode) {
  ASSERT_TRUE(Start());
  const Outcome idle = Run(L"-STATUS");
  EXPECT_EQ(idle.exitCode, 1u);
  EXPECT_EQ(idle.output, "Disabled\r\n");
  const Outcome armed = Run(L"/restart /at 23:30 /force");
  ASSERT_EQ(armed.exitCode, 0u) << armed.output;
  const Outcome status = Run(L"/status");
  EXPECT_EQ(status.exitCode, 0u);
  EXPECT_EQ(status.output.rfind("Armed: Restart at 23:30:00, ", 0), 0u) << status.output;
  EXPECT_NE(status.output.find(" s left\r\n"), std::string::npos) << status.output;
  EXPECT_EQ(Run(L"/disable").exitCode, 0u);
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
  EXPECT_EQ(Run(L"/status").output, "Disabled\r\n");
}

TEST_F(CommandLineTest, ABadLineGivesTheUsageAndChangesNothing) {
  ASSERT_TRUE(Start());
  const std::optional<std::wstring> before = RegistryText(kConfig, L"tPeriod");
  for (const wchar_t* line : {L"/shutdown /in 0s", L"/shutdown /at 25:00", L"/shutdown /restart /in 5m",
                              L"/suspend /in 5m /bogus", L"/lock"}) {
    SCOPED_TRACE(line);
    const Outcome bad = Run(line);
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_EQ(bad.output.rfind("Usage: kelvane.exe", 0), 0u) << bad.output;
  }
  EXPECT_FALSE(Armed(main_));
  EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), before);
  EXPECT_EQ(ControlText(main_, Id(MainControl::lblStatus)), L"Disabled");
}

TEST_F(CommandLineTest, WithNothingRunningTheProgramStartsArmedAndABadLineStartsNothing) {
  const Outcome bad = Run(L"/hibernate /in 1000m");
  EXPECT_EQ(bad.exitCode, 2u);
  EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
  EXPECT_FALSE(RegistryText(kConfig, L"Action").has_value()) << "nothing was written";
  const Outcome status = Run(L"/status");
  EXPECT_EQ(status.exitCode, 1u);
  EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr) << "asking starts nothing";

  SetRegistryText(kConfig, L"TrayTips", L"False");
  SetEnvironmentVariableW(L"KELVANE_POWER_LOG", powerLog_.c_str());
  Program started(L"\"" + TestFolder() + L"\\kelvane-recording.exe\" /suspend /in 3s /noprompt", {});
  const HWND main = started.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Armed(main); }));
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 0 0"); }, 15s)) << PowerCalls();
}

// A program the test ends when it likes (tests/e2e/helpers/task_waiter.cpp).
class Waiter {
 public:
  explicit Waiter(const std::wstring& name)
      : release_(Fresh(TempFile(name))),
        process_(L"\"" + TestFolder() + L"\\kelvane_task_waiter.exe\" \"" + release_ + L"\"") {}
  ~Waiter() { End(); }
  bool Started() const {
    return WaitFor([&] { return GetFileAttributesW((release_ + L".started").c_str()) != INVALID_FILE_ATTRIBUTES; });
  }
  bool End() {
    CloseHandle(CreateFileW(release_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return process_.Exited();
  }

 private:
  static std::wstring Fresh(const std::wstring& path) {
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".started").c_str());
    return path;
  }
  std::wstring release_;
  Process process_;
};

TEST_F(CommandLineTest, AProgramConditionFiresOnlyWhenEveryProcessOfItHasEnded) {
  SetRegistryText(kConfig, L"TrayTips", L"False");
  ASSERT_TRUE(Start());
  const Outcome refused = Run(L"/suspend /when program kelvane_task_waiter.exe /noprompt");
  EXPECT_EQ(refused.exitCode, 1u);
  EXPECT_EQ(refused.output, "kelvane_task_waiter.exe is not running\r\n");
  EXPECT_FALSE(Armed(main_));

  Waiter first(L"kelvane-waiter-1");
  Waiter second(L"kelvane-waiter-2");
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(second.Started());
  const Outcome armed = Run(L"/suspend /when program KELVANE_TASK_WAITER.EXE /noprompt");
  EXPECT_EQ(armed.exitCode, 0u) << armed.output;
  EXPECT_TRUE(Armed(main_));
  EXPECT_EQ(ControlText(main_, Id(MainControl::lblStatus)), L"Waiting for KELVANE_TASK_WAITER.EXE to end");
  ASSERT_TRUE(first.End());
  EXPECT_FALSE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 1500ms)) << "one of them still runs";
  EXPECT_TRUE(Armed(main_));
  ASSERT_TRUE(second.End());
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 0 0"); })) << PowerCalls();
}

}  // namespace
}  // namespace kelvane::e2e
