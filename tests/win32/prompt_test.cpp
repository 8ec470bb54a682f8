// The prompt's window under Wine: its minutes box and spin, and its layout
// when it moves to a monitor of another DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/system_win32.h"
#include "base/window_layouts.h"
#include "prompt/frm_prompt_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::LaterSteps;

HWND PromptWindow() { return FindWindowW(kPromptWindowClass, nullptr); }
HWND Item(PromptControl id) { return GetDlgItem(PromptWindow(), static_cast<int>(id)); }
std::wstring MinutesText() { return WindowText(Item(PromptControl::txtSnooz)); }

RECT ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class PromptWin32Test : public ::testing::Test {
 protected:
  // Runs the prompt with the steps queued before; they end it.
  std::optional<PromptAnswer> Run() { return ShowPromptDialog(nullptr, "Shutdown", nullptr, 0); }
  void Press(WPARAM key) { PostMessageW(Item(PromptControl::txtSnooz), WM_KEYDOWN, key, 0); }
  LaterSteps steps;
};

TEST_F(PromptWin32Test, StepKeysAndTheUpArrowIncreaseTheMinutes) {
  steps.Add([&] {
    SetFocus(Item(PromptControl::txtSnooz));
    Press(VK_UP);
    Press(VK_PRIOR);
  });
  steps.Add([&] {
    EXPECT_EQ(MinutesText(), L"21");
    const HWND spin = Item(PromptControl::vsBlink);
    const RECT area = ClientRect(spin);
    const LPARAM upper = MAKELPARAM(area.right / 2, area.bottom / 4);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, upper);
    SendMessageW(spin, WM_LBUTTONUP, 0, upper);
  });
  steps.Add([&] {
    EXPECT_EQ(MinutesText(), L"22") << "the spin's up arrow";
    Press(VK_NEXT);
    Press(VK_NEXT);
    Press(VK_NEXT);
    Press(VK_DOWN);
  });
  steps.Add([&] {
    EXPECT_EQ(MinutesText(), L"1") << "stops at one minute";
    PostMessageW(Item(PromptControl::cmdSnooz), BM_CLICK, 0, 0);
  });
  const auto answer = Run();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Result, PromptResult::Snooze);
  EXPECT_EQ(answer->SnoozeMinutes, 1);
}

TEST_F(PromptWin32Test, ItsRowOfBoxesSharesOneHeightWithTheNumberInTheMiddle) {
  steps.Add([&] {
    const RECT box = ScreenRect(Item(PromptControl::txtSnooz));
    const RECT spin = ScreenRect(Item(PromptControl::vsBlink));
    const RECT label = ScreenRect(Item(PromptControl::Label4));
    EXPECT_EQ(box.top, spin.top);
    EXPECT_EQ(box.bottom, spin.bottom);
    EXPECT_EQ(box.top, label.top);
    EXPECT_EQ(spin.left, box.right) << "the spin touches its box";
    // The client area holds the one line of text; the bands above and below
    // it are equal, give or take a pixel.
    RECT client = ClientRect(Item(PromptControl::txtSnooz));
    MapWindowPoints(Item(PromptControl::txtSnooz), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_NEAR(client.top - box.top, box.bottom - client.bottom, 1);
    EXPECT_GT(client.top - box.top, 2) << "taller than its line";
    PostMessageW(PromptWindow(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(Run()->Result, PromptResult::Abort);
}

TEST_F(PromptWin32Test, MovedToAMonitorAtAnotherScaleItLaysItselfOutAgain) {
  const int dpi = MonitorDpi() * 3 / 2;
  steps.Add([&] {
    const HWND prompt = PromptWindow();
    const RECT before = ScreenRect(prompt);
    const int spinWidthBefore = ScreenRect(Item(PromptControl::vsBlink)).right -
                                ScreenRect(Item(PromptControl::vsBlink)).left;
    RECT suggested{before.left + 10, before.top + 20, before.left + 10 + 1, before.top + 20 + 1};
    SendMessageW(prompt, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = ScreenRect(prompt);
    const WindowLayout<PromptControl> expected = PromptLayout(dpi);
    EXPECT_EQ(after.left, suggested.left);
    EXPECT_EQ(after.top, suggested.top);
    EXPECT_EQ(after.right - after.left, expected.width);
    EXPECT_EQ(after.bottom - after.top, expected.height);
    const RECT spin = ScreenRect(Item(PromptControl::vsBlink));
    EXPECT_EQ(spin.right - spin.left, expected.at(PromptControl::vsBlink).width);
    EXPECT_GT(spin.right - spin.left, spinWidthBefore);
    EXPECT_EQ(ScreenRect(Item(PromptControl::txtSnooz)).bottom, spin.bottom);
    PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(Run()->Result, PromptResult::Abort);
}

}  // namespace
}  // namespace kelvane
