// What users of a timer ask for most, with the real program under Wine: one
// instance, the computer kept awake while armed, and a prompt that acts when
// nobody answers it.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

int CountMainWindows() {
  int count = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, kMainWindowClass, nullptr)) {
    ++count;
  }
  return count;
}

TEST_F(ProgramTest, ASecondStartBringsTheFirstWindowForward) {
  SetRegistryText(kConfig, L"TrayTips", L"False");
  ASSERT_TRUE(Start());
  ASSERT_TRUE(WaitFor([] { return TrayIcons().size() == 1; }));
  PostMessageW(GetDlgItem(main_, Id(MainControl::cmdTimer)), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main_); }));

  Program second(powerLog_);
  EXPECT_TRUE(second.Exited()) << "the second start ends at once";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main_) && GetForegroundWindow() == main_; }));
  EXPECT_FALSE(program_->Exited(0ms));
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_EQ(TrayIcons().size(), 1u);
}

TEST_F(ProgramTest, TheComputerIsKeptAwakeWhileArmedAndReleasedAfter) {
  const std::wstring awakeLog = TempFile(L"kelvane-awake.log");
  DeleteFileW(awakeLog.c_str());
  ASSERT_TRUE(Start(L"KELVANE_AWAKE_LOG", awakeLog.c_str()));
  ArmSeconds(main_, L"90");
  ASSERT_TRUE(WaitFor([&] { return Armed(main_); }));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog) == "awake\r\n"; })) << ReadFileText(awakeLog);
  Click(main_, Id(MainControl::cmdTimer));
  ASSERT_TRUE(WaitFor([&] { return !Armed(main_); }));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog) == "awake\r\nmay sleep\r\n"; })) << ReadFileText(awakeLog);
}

TEST_F(ProgramTest, WakeToActSetsAWakeTimerWhileArmedAndCancelsItOnDisarm) {
  const std::wstring awakeLog = TempFile(L"kelvane-wake.log");
  DeleteFileW(awakeLog.c_str());
  SetRegistryText(kConfig, L"WakeToAct", L"True");
  ASSERT_TRUE(Start(L"KELVANE_AWAKE_LOG", awakeLog.c_str()));
  const auto nowMs = [] {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<long long>(ticks.QuadPart / 10000) - 11644473600000LL;
  };
  const long long before = nowMs();
  ArmSeconds(main_, L"90");
  ASSERT_TRUE(WaitFor([&] { return ReadFileText(awakeLog).find("\r\nwake at ") != std::string::npos; }))
      << ReadFileText(awakeLog);
  const long long after = nowMs();
  // The target of the countdown, armed between the two readings.
  const std::string log = ReadFileText(awakeLog);
  const long long wakeMs = std::stoll(log.substr(log.find("\r\nwake at ") + 10));
  EXPECT_GE(wakeMs, before + 90000);
  EXPECT_LE(wakeMs, after + 90000);
  Click(main_, Id(MainControl::cmdTimer));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog).find("\r\nwake off\r\n") != std::string::npos; }))
      << ReadFileText(awakeLog);
}

TEST_F(ProgramTest, APromptLeftAloneExecutesWhenItsTimeRunsOut) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"3"}});
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(WaitFor([&] {
    return ControlText(prompt, Id(PromptControl::lblCountdown)).rfind(L"Executing in 0:0", 0) == 0;
  }));
  EXPECT_FALSE(PowerCalled("SetSuspendState"));
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 1 0"); }, 10s)) << PowerCalls();
  EXPECT_TRUE(Gone(prompt));
}

TEST_F(ProgramTest, AnAnsweredPromptWaitsForItsAnswer) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"2"}});
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  // The user clicks into the minutes box: somebody is there.
  ASSERT_TRUE(ClickScreen(CentreOf(prompt, Id(PromptControl::txtSnooz)), 1));
  EXPECT_TRUE(WaitFor([&] { return ControlText(prompt, Id(PromptControl::lblCountdown)).empty(); }));
  EXPECT_FALSE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 4s)) << "the count stopped";
  Click(prompt, Id(PromptControl::cmdAbort));
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
}

}  // namespace
}  // namespace kelvane::e2e
