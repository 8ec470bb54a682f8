// The real program under Wine ends when the user or the session says so, and
// then performs nothing more: no further task, no power call.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program armed to run a task that waits for the test before its
// suspend, and quit with the close image and "Yes" while the task runs.
class EndingTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (const std::wstring& file : {release_, release_ + L".started"}) DeleteFileW(file.c_str());
    Configure({{L"DoTaskRun", L"True"}, {L"Prompt", L"False"}, {L"Action", L"3"}, {L"TrayTips", L"False"}});
  }
  Task Waiter() const {
    return {true, L"long", L"\"" + TestFolder() + L"\\kelvane_task_waiter.exe\" \"" + release_ + L"\""};
  }
  void QuitWhileTheTaskRuns() {
    ASSERT_TRUE(Start());
    ArmSeconds(main_, L"1");
    ASSERT_TRUE(WaitFor([&] { return Exists(release_ + L".started"); }, 20s)) << "the task runs";
    ClickCloseImage(main_);
    const HWND question = program_->Question();
    ASSERT_NE(question, nullptr);
    Answer(question, IDYES);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
  }
  bool ReleaseTheTask() const {
    const HANDLE file = CreateFileW(release_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
  }

  const std::wstring folder_ = AppData() + L"\\Kelvane";
  const std::wstring release_ = folder_ + L"\\release-task";
};

TEST_F(EndingTest, QuittingWhileATaskRunsEndsWithoutThePowerCall) {
  const std::wstring second = folder_ + L"\\second-task.txt";
  DeleteFileW(second.c_str());
  StoreTasks({Waiter(), {true, L"second", L"cmd.exe /c echo second>\"" + second + L"\""}});
  ASSERT_NO_FATAL_FAILURE(QuitWhileTheTaskRuns());
  // The task already running finishes on its own; then the program ends.
  ASSERT_TRUE(ReleaseTheTask());
  EXPECT_TRUE(program_->Exited(20s));
  EXPECT_FALSE(Exists(second)) << "no task starts after the quit";
  EXPECT_EQ(PowerCalls(), "");
  EXPECT_NE(ReadFileText(folder_ + L"\\TasksLog.txt").find("kelvane_task_waiter.exe"), std::string::npos)
      << "the finished task is logged";
}

TEST_F(EndingTest, StartingAgainWhileTheQuitProgramWaitsForItsTaskOpensAWindow) {
  StoreTasks({Waiter()});
  ASSERT_NO_FATAL_FAILURE(QuitWhileTheTaskRuns());
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(main_); })) << "the window has gone";

  // The user starts Kelvane again; the quit one still waits for its task
  // (a defragmenter, say) and has no window left to bring forward.
  Program again(powerLog_);
  EXPECT_NE(again.MainWindow(15s), nullptr) << "the new start shows a main window";
  EXPECT_FALSE(again.Exited(0ms));

  ASSERT_TRUE(ReleaseTheTask());
  EXPECT_TRUE(program_->Exited(20s));
}

TEST_F(ProgramTest, TheEndOfTheSessionEndsAnArmedProgram) {
  Configure({{L"Prompt", L"False"}, {L"Action", L"3"}});
  ASSERT_TRUE(Start());
  ArmSeconds(main_, L"4");
  ASSERT_TRUE(WaitFor([&] { return Armed(main_); }));
  SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr);
  SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_TRUE(program_->Exited(5s));
  EXPECT_EQ(PowerCalls(), "");
}

TEST_F(ProgramTest, ARefusedShutdownLeavesTheProgramRunningAndSaysSo) {
  const std::wstring log = AppData() + L"\\Kelvane\\TasksLog.txt";
  DeleteFileW(log.c_str());
  SetRegistryText(kConfig, L"Prompt", L"False");
  ASSERT_TRUE(Start(L"KELVANE_POWER_REFUSE", L"1"));
  ArmSeconds(main_, L"1");
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 12"); }, 15s)) << PowerCalls();
  EXPECT_TRUE(WaitFor([&] { return ControlText(main_, Id(MainControl::lblStatus)) == L"Shutdown failed"; }));
  EXPECT_FALSE(program_->Exited(1s)) << "the session goes on, and so does the program";
  EXPECT_FALSE(Armed(main_));
  EXPECT_NE(ReadFileText(log).find(", Shutdown failed"), std::string::npos) << ReadFileText(log);
}

TEST_F(ProgramTest, AShutdownThatDoesNotCompleteIsReportedAndAskedForAgainForced) {
  const std::wstring log = AppData() + L"\\Kelvane\\TasksLog.txt";
  DeleteFileW(log.c_str());
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Force", L"False");
  SetRegistryText(kConfig, L"PromptTimeout", L"0");
  // The recording build ends no session: the request is never answered, and
  // the wait for it is shortened rather than slept through.
  SetEnvironmentVariableW(L"KELVANE_SESSION_WAIT", L"5");
  Program program(powerLog_);
  SetEnvironmentVariableW(L"KELVANE_SESSION_WAIT", nullptr);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 8"); }, 15s)) << PowerCalls();
  const auto status = [&] { return ControlText(main, Id(MainControl::lblStatus)); };
  EXPECT_TRUE(WaitFor([&] { return status() == L"Waiting for Windows to shut down"; })) << status().c_str();
  EXPECT_FALSE(program.Exited(0ms)) << "the program stays to see whether the session ends";

  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 20s);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(ControlText(prompt, Id(PromptControl::lblAction)), L"Shutdown");
  EXPECT_NE(ReadFileText(log).find(", Shutdown did not complete"), std::string::npos) << ReadFileText(log);
  Click(prompt, Id(PromptControl::cmdExecute));
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 12"); }, 15s)) << PowerCalls();
  EXPECT_EQ(PowerCalls(), "privilege on\r\nExitWindowsEx 8\r\nprivilege off\r\n"
                         "privilege on\r\nExitWindowsEx 12\r\nprivilege off\r\n");
  EXPECT_TRUE(program.Exited());
}

}  // namespace
}  // namespace kelvane::e2e
