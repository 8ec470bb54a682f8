// The real program under Wine, driven through its windows: start-up, arming,
// firing, the prompt, tasks, quitting and settings that survive a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

TEST_F(ProgramTest, FirstStartShowsTheDefaultsAndRegistersAutostart) {
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ComboText(main, Id(MainControl::cmbAction)), L"Shutdown");
  EXPECT_TRUE(IsChecked(main, Id(MainControl::optIn)));
  EXPECT_EQ(ControlText(main, Id(MainControl::txtPeriod)), L"1");
  EXPECT_EQ(ComboText(main, Id(MainControl::cmbUnit)), L"Hours");
  EXPECT_EQ(ControlText(main, Id(MainControl::txtHour)), L"1");
  EXPECT_EQ(ControlText(main, Id(MainControl::txtMin)), L"00");
  EXPECT_EQ(ComboText(main, Id(MainControl::cmbT)), L"AM");
  EXPECT_TRUE(IsChecked(main, Id(MainControl::chkPrompt)));
  EXPECT_TRUE(IsChecked(main, Id(MainControl::chkBlink)));
  EXPECT_TRUE(IsChecked(main, Id(MainControl::chkForce)));
  EXPECT_EQ(ControlText(main, Id(MainControl::txtBlink)), L"30");
  EXPECT_EQ(ControlText(main, Id(MainControl::cmdTimer)), L"&Enable");
  EXPECT_EQ(ControlText(main, Id(MainControl::lblStatus)), L"Disabled");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, Id(MainControl::txtHour))));

  EXPECT_EQ(RegistryText(kConfig, L"StartUp"), L"1");
  EXPECT_EQ(RegistryText(kRun, L"kelvane-recording.Exe"), L"\"" + TestFolder() + L"\\kelvane-recording.Exe\"");
  const DWORD attributes = GetFileAttributesW((AppData() + L"\\Kelvane").c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ProgramTest, CountdownFiresTheShutdownWithItsFlags) {
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SetChecked(main, Id(MainControl::chkPrompt), false);
  ArmSeconds(main, L"2");
  EXPECT_TRUE(WaitFor([&] { return Armed(main); }));
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 12"); }, 15s)) << PowerCalls();
  EXPECT_EQ(PowerCalls(), "privilege on\r\nExitWindowsEx 12\r\nprivilege off\r\n");
  // After a shutdown request the program saves and closes.
  EXPECT_TRUE(program.Exited());
  EXPECT_EQ(RegistryText(kConfig, L"tUnit"), L"2");
  EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), L"2");
  EXPECT_EQ(RegistryText(kConfig, L"Prompt"), L"False");
}

TEST_F(ProgramTest, PromptStaysOnTopAndSnoozeReArms) {
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SelectComboIndex(main, Id(MainControl::cmbAction), 1);
  ArmSeconds(main, L"1");
  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(GetWindowLongW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(ControlText(prompt, Id(PromptControl::lblAction)), L"Restart");
  EXPECT_EQ(ControlText(prompt, Id(PromptControl::txtSnooz)), L"10");
  SetControlText(prompt, Id(PromptControl::txtSnooz), L"2");
  Click(prompt, Id(PromptControl::cmdSnooz));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt) || !IsWindowVisible(prompt); }));
  ASSERT_TRUE(WaitFor([&] {
    const std::wstring status = ControlText(main, Id(MainControl::lblStatus));
    const int seconds = _wtoi(status.c_str());
    return status.find(L" Seconds to Execution") != std::wstring::npos && seconds > 100 && seconds <= 120;
  })) << ControlText(main, Id(MainControl::lblStatus)).c_str();
  EXPECT_TRUE(Armed(main));
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(ProgramTest, ALetterTypedAfterComingBackToThePromptPerformsNothing) {
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kConfig, L"PromptTimeout", L"0");
  SetRegistryText(kConfig, L"TrayTips", L"False");
  Process other(WindowOwnerCommand(L"KelvaneElsewhere"));
  HWND elsewhere = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (elsewhere = OwnedWindow(L"KelvaneElsewhere", L" normal")) != nullptr; }));
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
  ASSERT_NE(prompt, nullptr);

  // The prompt stays on top while the user works in the other program, then
  // switches back to it (Alt+Tab, or a click on its text) and, typing on,
  // hits a plain "e".
  SetForegroundWindow(elsewhere);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == elsewhere; }));
  SetForegroundWindow(prompt);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == prompt; }));
  ASSERT_TRUE(RealInput("type e"));
  EXPECT_FALSE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 3s)) << "a stray letter performed the action";
  EXPECT_TRUE(IsWindowVisible(prompt));

  // Alt+E is the way to Execute from the keyboard.
  ASSERT_TRUE(RealInput("sleep 0.1 key alt+e"));
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState"); }));
}

TEST_F(ProgramTest, AbortAndEscapeDisarmWithoutActing) {
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  for (const bool useEscape : {false, true}) {
    SCOPED_TRACE(useEscape ? "Esc" : "Abort");
    ArmSeconds(main, L"1");
    const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
    ASSERT_NE(prompt, nullptr);
    if (useEscape) {
      PostMessageW(GetDlgItem(prompt, Id(PromptControl::cmdExecute)), WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
      Click(prompt, Id(PromptControl::cmdAbort));
    }
    ASSERT_TRUE(WaitFor([&] { return !Armed(main); }));
    EXPECT_EQ(ControlText(main, Id(MainControl::lblStatus)), L"Disabled");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(prompt) || !IsWindowVisible(prompt); }));
  }
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(ProgramTest, EnabledTasksRunInOrderBeforeTheActionAndAreLogged) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  DeleteFileW((folder + L"\\TasksLog.txt").c_str());
  DeleteFileW((folder + L"\\order.txt").c_str());
  SetRegistryText(kConfig, L"DoTaskRun", L"True");
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kTasks, L"TaskCount", L"3");
  StoreTask(1, true, L"first", L"cmd.exe /c echo first>\"%KLAPPDATA%\\order.txt\"");
  StoreTask(2, false, L"skipped", L"cmd.exe /c echo skipped>>\"%KLAPPDATA%\\order.txt\"");
  StoreTask(3, true, L"second", L"cmd.exe /c echo second>>\"%KLAPPDATA%\\order.txt\"");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 1 0"); }, 30s)) << PowerCalls();
  EXPECT_EQ(ReadFileText(folder + L"\\order.txt"), "first\r\nsecond\r\n");
  const std::string log = ReadFileText(folder + L"\\TasksLog.txt");
  const std::size_t firstLine = log.find("echo first>");
  const std::size_t secondLine = log.find("echo second>>");
  EXPECT_NE(firstLine, std::string::npos) << log;
  EXPECT_NE(secondLine, std::string::npos) << log;
  EXPECT_LT(firstLine, secondLine);
  EXPECT_EQ(log.find("skipped"), std::string::npos);
  EXPECT_NE(log.find("\\Kelvane\\order.txt"), std::string::npos) << "the data folder is expanded";
  // Suspending leaves the program running, disarmed.
  EXPECT_TRUE(WaitFor([&] { return !Armed(main); }));
  EXPECT_FALSE(program.Exited(0ms));
}

HWND FindQuestion(const Program& program) { return program.FindWindowOf(L"#32770", L"Kelvane"); }

TEST_F(ProgramTest, CloseButtonAsksThenSavesAndSettingsSurviveARestart) {
  {
    Program program(powerLog_);
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    SetControlText(main, Id(MainControl::txtPeriod), L"42");
    SelectComboIndex(main, Id(MainControl::cmbUnit), 1);
    RECT client;
    GetClientRect(main, &client);
    const int closeX = client.right - 8;
    const int closeY = 8;

    ClickAt(main, closeX, closeY);
    HWND question = FindQuestion(program);
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(HasChildText(question, L"Do you want to quit Kelvane?"));
    PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    EXPECT_FALSE(program.Exited(500ms));

    ClickAt(main, closeX, closeY);
    question = FindQuestion(program);
    ASSERT_NE(question, nullptr);
    PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    ASSERT_TRUE(program.Exited());
    EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), L"42");
  }
  Program again(powerLog_);
  const HWND main = again.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ControlText(main, Id(MainControl::txtPeriod)), L"42");
  EXPECT_EQ(ComboText(main, Id(MainControl::cmbUnit)), L"Minutes");
}

TEST_F(ProgramTest, EscapeAndTheMinimiseButtonHideWithoutAsking) {
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  PostMessageW(GetDlgItem(main, Id(MainControl::cmdTimer)), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
  EXPECT_FALSE(program.Exited(200ms));
}

}  // namespace
}  // namespace kelvane::e2e
