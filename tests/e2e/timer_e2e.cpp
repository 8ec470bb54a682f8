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

int CountTrayIcons() {
  const HWND tray = FindWindowW(nullptr, L"Wine System Tray");
  if (tray == nullptr) return 0;
  int count = 0;
  EnumChildWindows(
      tray,
      [](HWND child, LPARAM total) -> BOOL {
        if (IsWindowVisible(child)) ++*reinterpret_cast<int*>(total);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(ProgramTest, ASecondStartBringsTheFirstWindowForward) {
  SetRegistryText(kConfig, L"TrayTips", L"False");
  Program first(powerLog_);
  const HWND main = first.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([] { return CountTrayIcons() == 1; }));
  PostMessageW(GetDlgItem(main, Id(MainControl::cmdTimer)), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));

  Program second(powerLog_);
  EXPECT_TRUE(second.Exited()) << "the second start ends at once";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }));
  EXPECT_FALSE(first.Exited(0ms));
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_EQ(CountTrayIcons(), 1);
}

TEST_F(ProgramTest, TheComputerIsKeptAwakeWhileArmedAndReleasedAfter) {
  const std::wstring awakeLog = TempFile(L"kelvane-awake.log");
  DeleteFileW(awakeLog.c_str());
  SetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", awakeLog.c_str());
  Program program(powerLog_);
  SetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", nullptr);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"90");
  ASSERT_TRUE(WaitFor([&] { return Armed(main); }));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog) == "awake\r\n"; })) << ReadFileText(awakeLog);
  Click(main, Id(MainControl::cmdTimer));
  ASSERT_TRUE(WaitFor([&] { return !Armed(main); }));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog) == "awake\r\nmay sleep\r\n"; })) << ReadFileText(awakeLog);
}

TEST_F(ProgramTest, WakeToActSetsAWakeTimerWhileArmedAndCancelsItOnDisarm) {
  const std::wstring awakeLog = TempFile(L"kelvane-wake.log");
  DeleteFileW(awakeLog.c_str());
  SetRegistryText(kConfig, L"WakeToAct", L"True");
  SetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", awakeLog.c_str());
  Program program(powerLog_);
  SetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", nullptr);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const auto nowMs = [] {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<long long>(ticks.QuadPart / 10000) - 11644473600000LL;
  };
  const long long before = nowMs();
  ArmSeconds(main, L"90");
  ASSERT_TRUE(WaitFor([&] { return ReadFileText(awakeLog).find("\r\nwake at ") != std::string::npos; }))
      << ReadFileText(awakeLog);
  const long long after = nowMs();
  // The target of the countdown, armed between the two readings.
  const std::string log = ReadFileText(awakeLog);
  const long long wakeMs = std::stoll(log.substr(log.find("\r\nwake at ") + 10));
  EXPECT_GE(wakeMs, before + 90000);
  EXPECT_LE(wakeMs, after + 90000);
  Click(main, Id(MainControl::cmdTimer));
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(awakeLog).find("\r\nwake off\r\n") != std::string::npos; }))
      << ReadFileText(awakeLog);
}

TEST_F(ProgramTest, APromptLeftAloneExecutesWhenItsTimeRunsOut) {
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kConfig, L"PromptTimeout", L"3");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(WaitFor([&] {
    return ControlText(prompt, Id(PromptControl::lblCountdown)).rfind(L"Executing in 0:0", 0) == 0;
  }));
  EXPECT_FALSE(PowerCalled("SetSuspendState"));
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 1 0"); }, 10s)) << PowerCalls();
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(prompt) || !IsWindowVisible(prompt); }));
}

TEST_F(ProgramTest, AnAnsweredPromptWaitsForItsAnswer) {
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kConfig, L"PromptTimeout", L"2");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ArmSeconds(main, L"1");
  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
  ASSERT_NE(prompt, nullptr);
  // The user clicks into the minutes box: somebody is there.
  const HWND minutes = GetDlgItem(prompt, Id(PromptControl::txtSnooz));
  RECT box;
  GetWindowRect(minutes, &box);
  ASSERT_TRUE(ClickScreen({(box.left + box.right) / 2, (box.top + box.bottom) / 2}, 1));
  EXPECT_TRUE(WaitFor([&] { return ControlText(prompt, Id(PromptControl::lblCountdown)).empty(); }));
  EXPECT_FALSE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 4s)) << "the count stopped";
  Click(prompt, Id(PromptControl::cmdAbort));
  EXPECT_TRUE(WaitFor([&] { return !Armed(main); }));
}

}  // namespace
}  // namespace kelvane::e2e
