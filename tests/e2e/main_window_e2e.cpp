// The real program under Wine, driven through its windows: start-up, arming,
// firing, the prompt, tasks, quitting and settings that survive a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

TEST_F(ProgramTest, FirstStartShowsTheDefaultsAndRegistersAutostart) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbAction)), L"Shutdown");
  EXPECT_TRUE(IsChecked(main_, Id(MainControl::optIn)));
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtPeriod)), L"1");
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbUnit)), L"Hours");
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtHour)), L"1");
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtMin)), L"00");
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbT)), L"AM");
  EXPECT_TRUE(IsChecked(main_, Id(MainControl::chkPrompt)));
  EXPECT_TRUE(IsChecked(main_, Id(MainControl::chkBlink)));
  EXPECT_TRUE(IsChecked(main_, Id(MainControl::chkForce)));
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtBlink)), L"30");
  EXPECT_EQ(ControlText(main_, Id(MainControl::cmdTimer)), L"&Enable");
  EXPECT_EQ(ControlText(main_, Id(MainControl::lblStatus)), L"Disabled");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main_, Id(MainControl::txtHour))));

  EXPECT_EQ(RegistryText(kConfig, L"StartUp"), L"1");
  EXPECT_EQ(RegistryText(kRun, L"kelvane-recording.Exe"), L"\"" + TestFolder() + L"\\kelvane-recording.Exe\"");
  const DWORD attributes = GetFileAttributesW((AppData() + L"\\Kelvane").c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ProgramTest, CountdownFiresTheShutdownWithItsFlags) {
  ASSERT_TRUE(Start());
  SetChecked(main_, Id(MainControl::chkPrompt), false);
  ArmSeconds(main_, L"2");
  EXPECT_TRUE(WaitFor([&] { return Armed(main_); }));
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("ExitWindowsEx 12"); }, 15s)) << PowerCalls();
  EXPECT_EQ(PowerCalls(), "privilege on\r\nExitWindowsEx 12\r\nprivilege off\r\n");
  // After a shutdown request the program saves and closes.
  EXPECT_TRUE(program_->Exited());
  EXPECT_EQ(RegistryText(kConfig, L"tUnit"), L"2");
  EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), L"2");
  EXPECT_EQ(RegistryText(kConfig, L"Prompt"), L"False");
}

TEST_F(ProgramTest, PromptStaysOnTopAndSnoozeReArms) {
  ASSERT_TRUE(Start());
  SelectComboIndex(main_, Id(MainControl::cmbAction), 1);
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(GetWindowLongW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(ControlText(prompt, Id(PromptControl::lblAction)), L"Restart");
  EXPECT_EQ(ControlText(prompt, Id(PromptControl::txtSnooz)), L"10");
  SetControlText(prompt, Id(PromptControl::txtSnooz), L"2");
  Click(prompt, Id(PromptControl::cmdSnooz));
  ASSERT_TRUE(Gone(prompt));
  ASSERT_TRUE(WaitFor([&] {
    const std::wstring status = ControlText(main_, Id(MainControl::lblStatus));
    const int seconds = _wtoi(status.c_str());
    return status.find(L" Seconds to Execution") != std::wstring::npos && seconds > 100 && seconds <= 120;
  })) << ControlText(main_, Id(MainControl::lblStatus)).c_str();
  EXPECT_TRUE(Armed(main_));
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(ProgramTest, ALetterTypedAfterComingBackToThePromptPerformsNothing) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"0"}, {L"TrayTips", L"False"}});
  Process other(WindowOwnerCommand(L"KelvaneElsewhere"));
  HWND elsewhere = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (elsewhere = OwnedWindow(L"KelvaneElsewhere", L" normal")) != nullptr; }));
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
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
  ASSERT_TRUE(Start());
  for (const bool useEscape : {false, true}) {
    SCOPED_TRACE(useEscape ? "Esc" : "Abort");
    const HWND prompt = ArmToPrompt();
    ASSERT_NE(prompt, nullptr);
    if (useEscape) {
      PostMessageW(GetDlgItem(prompt, Id(PromptControl::cmdExecute)), WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
      Click(prompt, Id(PromptControl::cmdAbort));
    }
    ASSERT_TRUE(WaitFor([&] { return !Armed(main_); }));
    EXPECT_EQ(ControlText(main_, Id(MainControl::lblStatus)), L"Disabled");
    EXPECT_TRUE(Gone(prompt));
  }
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(ProgramTest, EnabledTasksRunInOrderBeforeTheActionAndAreLogged) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  DeleteFileW((folder + L"\\TasksLog.txt").c_str());
  DeleteFileW((folder + L"\\order.txt").c_str());
  Configure({{L"DoTaskRun", L"True"}, {L"Prompt", L"False"}, {L"Action", L"3"}});
  StoreTasks({{true, L"first", L"cmd.exe /c echo first>\"%KLAPPDATA%\\order.txt\""},
              {false, L"skipped", L"cmd.exe /c echo skipped>>\"%KLAPPDATA%\\order.txt\""},
              {true, L"second", L"cmd.exe /c echo second>>\"%KLAPPDATA%\\order.txt\""}});
  ASSERT_TRUE(Start());
  ArmSeconds(main_, L"1");
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
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
  EXPECT_FALSE(program_->Exited(0ms));
}

TEST_F(ProgramTest, CloseButtonAsksThenSavesAndSettingsSurviveARestart) {
  ASSERT_TRUE(Start());
  SetControlText(main_, Id(MainControl::txtPeriod), L"42");
  SelectComboIndex(main_, Id(MainControl::cmbUnit), 1);
  ClickCloseImage(main_);
  HWND question = program_->Question();
  ASSERT_NE(question, nullptr);
  EXPECT_TRUE(HasChildText(question, L"Do you want to quit Kelvane?"));
  Answer(question, IDNO);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }));
  EXPECT_FALSE(program_->Exited(500ms));

  ClickCloseImage(main_);
  question = program_->Question();
  ASSERT_NE(question, nullptr);
  Answer(question, IDYES);
  ASSERT_TRUE(program_->Exited());
  EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), L"42");

  ASSERT_TRUE(Start());
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtPeriod)), L"42");
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbUnit)), L"Minutes");
}

TEST_F(ProgramTest, EscapeAndTheMinimiseButtonHideWithoutAsking) {
  ASSERT_TRUE(Start());
  PostMessageW(GetDlgItem(main_, Id(MainControl::cmdTimer)), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main_); }));
  EXPECT_FALSE(program_->Exited(200ms));
}

}  // namespace
}  // namespace kelvane::e2e
