// The real program under Wine ends when the user or the session says so, and
// then performs nothing more: no further task, no power call.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(ProgramTest, QuittingWhileATaskRunsEndsWithoutThePowerCall) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  const std::wstring release = folder + L"\\release-task";
  const std::wstring second = folder + L"\\second-task.txt";
  for (const std::wstring& file : {release, release + L".started", second}) DeleteFileW(file.c_str());
  SetRegistryText(kConfig, L"DoTaskRun", L"True");
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kTasks, L"TaskCount", L"2");
  StoreTask(1, true, L"long", L"\"" + TestFolder() + L"\\kelvane_task_waiter.exe\" \"" + release + L"\"");
  StoreTask(2, true, L"second", L"cmd.exe /c echo second>\"" + second + L"\"");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  ASSERT_TRUE(WaitFor([&] { return Exists(release + L".started"); }, 20s)) << "the first task runs";

  // The close image and "Yes", as the user quits.
  RECT client;
  GetClientRect(main, &client);
  ClickAt(main, client.right - 8, 8);
  const HWND question = program.FindWindowOf(L"#32770", L"Kelvane");
  ASSERT_NE(question, nullptr);
  PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));

  // The task already running finishes on its own; then the program ends.
  HANDLE file = CreateFileW(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(program.Exited(20s));
  EXPECT_FALSE(Exists(second)) << "no task starts after the quit";
  EXPECT_EQ(PowerCalls(), "");
  EXPECT_NE(ReadFileText(folder + L"\\TasksLog.txt").find("kelvane_task_waiter.exe"), std::string::npos)
      << "the finished task is logged";
}

TEST_F(ProgramTest, StartingAgainWhileTheQuitProgramWaitsForItsTaskOpensAWindow) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  const std::wstring release = folder + L"\\release-task";
  for (const std::wstring& file : {release, release + L".started"}) DeleteFileW(file.c_str());
  SetRegistryText(kConfig, L"DoTaskRun", L"True");
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kConfig, L"TrayTips", L"False");
  SetRegistryText(kTasks, L"TaskCount", L"1");
  StoreTask(1, true, L"long", L"\"" + TestFolder() + L"\\kelvane_task_waiter.exe\" \"" + release + L"\"");
  Program first(powerLog_);
  const HWND main = first.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  ASSERT_TRUE(WaitFor([&] { return Exists(release + L".started"); }, 20s)) << "the task runs";
  RECT client;
  GetClientRect(main, &client);
  ClickAt(main, client.right - 8, 8);
  const HWND question = first.FindWindowOf(L"#32770", L"Kelvane");
  ASSERT_NE(question, nullptr);
  PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(main); })) << "the window has gone";

  // The user starts Kelvane again; the quit one still waits for its task
  // (a defragmenter, say) and has no window left to bring forward.
  Program again(powerLog_);
  EXPECT_NE(again.MainWindow(15s), nullptr) << "the new start shows a main window";
  EXPECT_FALSE(again.Exited(0ms));

  HANDLE file = CreateFileW(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(first.Exited(20s));
}

TEST_F(ProgramTest, TheEndOfTheSessionEndsAnArmedProgram) {
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"4");
  ASSERT_TRUE(WaitFor([&] { return Armed(main); }));
  SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr);
  SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_TRUE(program.Exited(5s));
  EXPECT_EQ(PowerCalls(), "");
}

TEST_F(ProgramTest, ARefusedShutdownLeavesTheProgramRunningAndSaysSo) {
  const std::wstring log = AppData() + L"\\Kelvane\\TasksLog.txt";
  DeleteFileW(log.c_str());
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetEnvironmentVariableW(L"KELVANE_POWER_REFUSE", L"1");
  Program program(powerLog_);
  SetEnvironmentVariableW(L"KELVANE_POWER_REFUSE", nullptr);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 12"); }, 15s)) << PowerCalls();
  EXPECT_TRUE(WaitFor([&] { return ControlText(main, Id(MainControl::lblStatus)) == L"Shutdown failed"; }));
  EXPECT_FALSE(program.Exited(1s)) << "the session goes on, and so does the program";
  EXPECT_FALSE(Armed(main));
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
