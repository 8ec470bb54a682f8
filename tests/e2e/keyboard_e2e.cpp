// The real program under Wine, used from the keyboard the way people expect
// of any Windows program: Enter presses the focused button, and what is
// typed into a box stays as typed.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

TEST_F(ProgramTest, EnterInThePromptPressesTheButtonThatHasTheFocus) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"0"}});
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == prompt; }));
  // The prompt opens with the focus on Snooze, drawn with the focus frame.
  ASSERT_TRUE(TypeIntoFocus("Return"));
  EXPECT_TRUE(Gone(prompt, 3s)) << "Enter on the focused Snooze button left the prompt open";
  EXPECT_TRUE(WaitFor([&] {
    return ControlText(main_, Id(MainControl::lblStatus)).find(L"600 Seconds") != std::wstring::npos ||
           ControlText(main_, Id(MainControl::lblStatus)).find(L"599 Seconds") != std::wstring::npos;
  }, 3s)) << "snoozed for the ten minutes the prompt offered";
  EXPECT_FALSE(PowerCalled("SetSuspendState"));
  Click(main_, Id(MainControl::cmdTimer));
}

TEST_F(ProgramTest, EnterOnTheFocusedOptionsButtonDoesNotArm) {
  ASSERT_TRUE(Start());
  SelectComboIndex(main_, Id(MainControl::cmbUnit), 2);
  SetControlText(main_, Id(MainControl::txtPeriod), L"3");
  // The user presses the mouse on "&Options", thinks again and lets go
  // beside it: the button keeps the focus and nothing was clicked.
  const POINT options = CentreOf(main_, Id(MainControl::cmdAdv));
  ASSERT_TRUE(RealInput("mousemove " + std::to_string(options.x) + " " + std::to_string(options.y) +
                        " mousedown 1 mousemove " + std::to_string(options.x) + " " + std::to_string(options.y + 60) +
                        " mouseup 1"));
  ASSERT_TRUE(WaitFor([&] {
    return (SendMessageW(GetDlgItem(main_, Id(MainControl::cmdAdv)), BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
  }, 3s)) << "the focus is on Options";
  ASSERT_TRUE(TypeIntoFocus("Return"));
  EXPECT_FALSE(WaitFor([&] { return Armed(main_); }, 2s))
      << "Enter with the focus on Options armed the schedule: a power action nobody asked for";
  if (Armed(main_)) Click(main_, Id(MainControl::cmdTimer));
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(ProgramTest, ASecondStartWhileThePromptIsOpenBringsThePromptForwardReadyForKeys) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"0"}});
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  // The user, not seeing the prompt, starts the program again from its icon.
  Program second(powerLog_);
  ASSERT_TRUE(second.Exited());
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == prompt; }, 3s))
      << "the window brought forward is the main window, which the prompt has disabled; keys go nowhere";
  // The space bar presses the focused button, Snooze, as it did when the prompt opened.
  ASSERT_TRUE(TypeIntoFocus("space"));
  EXPECT_TRUE(Gone(prompt, 3s)) << "the prompt does not take the space bar after coming back to the front";
  if (IsWindow(prompt) && IsWindowVisible(prompt)) Click(prompt, Id(PromptControl::cmdAbort));
  EXPECT_FALSE(PowerCalled("SetSuspendState"));
}

}  // namespace
}  // namespace kelvane::e2e
