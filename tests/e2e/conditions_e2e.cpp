// The "When" row of the main window with the real program under Wine: a
// program chosen from the list of running programs is waited for.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

std::wstring ListItem(HWND list, int index) {
  const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

TEST_F(ProgramTest, TheWhenRowWaitsForAProgramChosenFromTheList) {
  Configure({{L"TrayTips", L"False"}, {L"Prompt", L"False"}, {L"Action", L"3"}});
  Process owner(WindowOwnerCommand(L"Render"));
  ASSERT_TRUE(WaitFor([] { return OwnedWindow(L"Render", L" normal") != nullptr; }));
  ASSERT_TRUE(Start());
  const HWND list = GetDlgItem(main_, Id(MainControl::cmbProgram));
  const HWND minutes = GetDlgItem(main_, Id(MainControl::txtCondMinutes));
  EXPECT_FALSE(IsWindowVisible(list)) << "Idle for is the first condition";
  EXPECT_FALSE(IsWindowEnabled(minutes)) << "until When is chosen";

  Click(main_, Id(MainControl::optWhen));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(minutes) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main_, Id(MainControl::txtPeriod))));
  SelectComboIndex(main_, Id(MainControl::cmbCondition), 1);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(list) && !IsWindowVisible(minutes); }));

  // Dropping the list down fills it with what runs now.
  SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
  int found = -1;
  const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count && found < 0; ++i) {
    if (ListItem(list, i).rfind(L"kelvane_window_owner.exe: Render", 0) == 0) found = i;
  }
  ASSERT_GE(found, 0) << count << " items";
  SelectComboIndex(main_, Id(MainControl::cmbProgram), found);
  Click(main_, Id(MainControl::cmdTimer));
  ASSERT_TRUE(WaitFor([&] { return Armed(main_); }));
  // The caption changes first in the arming, the status line last.
  EXPECT_TRUE(WaitFor([&] {
    return ControlText(main_, Id(MainControl::lblStatus)) == L"Waiting for kelvane_window_owner.exe to end";
  }));
  EXPECT_EQ(RegistryText(kConfig, L"Method"), L"3");
  EXPECT_EQ(RegistryText(kConfig, L"ConditionProgram"), L"kelvane_window_owner.exe");
  EXPECT_FALSE(PowerCalled("SetSuspendState"));

  ASSERT_TRUE(owner.Kill());
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0"); })) << PowerCalls();
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
}

}  // namespace
}  // namespace kelvane::e2e
