// Settings that outlive the program: what was armed is in the store the
// moment arming returns, so a kill right after (a crash, the task manager, a
// power cut) loses nothing; and a store that refuses a value is not taken
// for saved and stops nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"
#include "win32/support/read_only_key.h"

namespace kelvane::e2e {
namespace {

// Arms from the window and returns once the program has handled the click.
void ArmAndWait(HWND main) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(main, Id(MainControl::cmdTimer)), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
}

void EnterSchedule(HWND main) {
  SelectComboIndex(main, Id(MainControl::cmbUnit), 2);
  SetControlText(main, Id(MainControl::txtPeriod), L"97");
  SetControlText(main, Id(MainControl::txtBlink), L"12");
  SetChecked(main, Id(MainControl::chkForce), false);
}

TEST_F(ProgramTest, WhatWasArmedSurvivesAKillRightAfterArming) {
  SetRegistryText(kConfig, L"TrayTips", L"False");
  ASSERT_TRUE(Start());
  EnterSchedule(main_);
  ArmAndWait(main_);
  ASSERT_TRUE(Armed(main_));
  ASSERT_TRUE(program_->Kill());
  ASSERT_TRUE(Start());
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtPeriod)), L"97");
  EXPECT_EQ(ComboText(main_, Id(MainControl::cmbUnit)), L"Seconds");
  EXPECT_EQ(ControlText(main_, Id(MainControl::txtBlink)), L"12");
  EXPECT_FALSE(IsChecked(main_, Id(MainControl::chkForce)));
  EXPECT_FALSE(Armed(main_)) << "a restart does not arm by itself";
}

TEST_F(ProgramTest, AStoreThatRefusesValuesBreaksNothingAndIsNotTakenForSaved) {
  Configure({{L"TrayTips", L"False"}, {L"tPeriod", L"5"}});
  const testing::ReadOnlyKey readOnly(kConfig);
  ASSERT_TRUE(readOnly.made());
  const std::wstring log = AppData() + L"\\Kelvane\\TasksLog.txt";
  DeleteFileW(log.c_str());
  ASSERT_TRUE(Start());
  EnterSchedule(main_);
  ArmAndWait(main_);
  EXPECT_TRUE(Armed(main_)) << "the arming goes on";
  EXPECT_EQ(RegistryText(kConfig, L"tPeriod"), L"5") << "the value saved before stays";
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(log).find("Settings could not be saved") != std::string::npos; }))
      << ReadFileText(log);
  ArmAndWait(main_);
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); })) << "and disarms as ever";
}

}  // namespace
}  // namespace kelvane::e2e
