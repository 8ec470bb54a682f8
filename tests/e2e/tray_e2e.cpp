// The tray icon of the real program under Wine, clicked in Wine's tray window.
#include <windows.h>

#include "e2e/support/program_test.h"
#include "version.h"

namespace kelvane::e2e {
namespace {

// The centre of the program's icon in Wine's stand-alone tray window.
std::optional<POINT> TrayIconCentre() {
  std::optional<POINT> centre;
  WaitFor([&] {
    const std::vector<HWND> icons = TrayIcons();
    if (icons.empty()) return false;
    RECT rect{};
    GetWindowRect(icons.front(), &rect);
    centre = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return true;
  });
  return centre;
}

class TrayTest : public ProgramTest {
 protected:
  // Wine draws balloons itself, below the tray icon and over part of it.
  void SetUp() override {
    ProgramTest::SetUp();
    SetRegistryText(kConfig, L"TrayTips", L"False");
  }
  // Right-clicks the tray icon and waits for the popup menu. Wine's tray
  // window, when it is not the active window, takes the first click only to
  // become active, so the click is repeated until the menu shows.
  bool OpenMenu() const {
    const auto icon = TrayIconCentre();
    if (!icon) return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!ClickScreen(*icon, 3)) return false;
      if (Menu(2s) != nullptr) return true;
    }
    return false;
  }
  HWND Menu(std::chrono::milliseconds timeout = 10s) const {
    return program_->FindWindowOf(L"#32768", nullptr, timeout);
  }
  // Keys for an open tray menu, posted to its thread: real keys go to the
  // window with the X focus, which after the click is the tray's, in another
  // process, and focusing a window of the program first may end the menu.
  static bool MenuKeys(HWND menu, std::initializer_list<UINT> keys) {
    for (const UINT key : keys) {
      if (!PostMessageW(menu, WM_KEYDOWN, key, 1) || !PostMessageW(menu, WM_KEYUP, key, 0xC0000001)) return false;
    }
    return true;
  }
  // A menu item's mnemonic, posted to the open menu as its letter.
  bool MenuChar(wchar_t letter) const {
    const HWND menu = Menu();
    return menu != nullptr && PostMessageW(menu, WM_CHAR, letter, 1);
  }
};

// Dark pixels on the screen inside a part of a window, given relative to
// its left and top edges and as a share of its width.
int DarkPixels(HWND window, int fromX, int toX) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return 0;
  const HDC screen = GetDC(nullptr);
  int dark = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left + fromX; x < rect.left + toX && x < rect.right; ++x) {
      const COLORREF colour = GetPixel(screen, x, y);
      if (colour != CLR_INVALID && GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 300) ++dark;
    }
  }
  ReleaseDC(nullptr, screen);
  return dark;
}

TEST_F(TrayTest, EnabledArmsAndDisarmsAndItsCheckFollows) {
  ASSERT_TRUE(Start());
  int checkColumn[2] = {};
  for (const bool arming : {true, false}) {
    SCOPED_TRACE(arming ? "arming" : "disarming");
    ASSERT_TRUE(OpenMenu());
    const HWND menu = Menu();
    // Once the captions are painted, the column left of them shows the
    // check mark of "Enabled" or nothing.
    ASSERT_TRUE(WaitFor([&] { return DarkPixels(menu, 0, 200) > 20; }));
    checkColumn[arming ? 0 : 1] = DarkPixels(menu, 2, 14);
    ASSERT_TRUE(MenuKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN}));  // "E&xit", then past the separator to "Enabled"
    EXPECT_TRUE(WaitFor([&] { return Armed(main_) == arming; }));
  }
  EXPECT_GT(checkColumn[1], checkColumn[0] + 4) << "the check mark shows while armed";
  EXPECT_FALSE(PowerCalled("ExitWindowsEx"));
}

TEST_F(TrayTest, AboutShowsTheVersionOfTheBuild) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenMenu());
  ASSERT_TRUE(MenuChar(L'a'));
  const HWND about = program_->FindWindowOf(nullptr, L"About");
  ASSERT_NE(about, nullptr);
  const std::string expected = std::string("Version: ") + KELVANE_VERSION_TEXT;
  EXPECT_EQ(ControlText(about, static_cast<int>(AboutControl::lblVersion)), std::wstring(expected.begin(), expected.end()));
  // A left click on the tray icon closes the about box and shows the main window.
  ASSERT_TRUE(ClickScreen(*TrayIconCentre(), 1));
  EXPECT_TRUE(Gone(about));
}

TEST_F(TrayTest, ExitAsksBeforeQuitting) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenMenu() && MenuChar(L'x'));
  HWND question = program_->Question();
  ASSERT_NE(question, nullptr);
  Answer(question, IDNO);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }));
  EXPECT_FALSE(program_->Exited(300ms));
  ASSERT_TRUE(TrayIconCentre().has_value()) << "declining leaves the tray icon";

  ASSERT_TRUE(OpenMenu() && MenuChar(L'x'));
  question = program_->Question();
  ASSERT_NE(question, nullptr);
  Answer(question, IDYES);
  EXPECT_TRUE(program_->Exited());
}

TEST_F(TrayTest, DecliningToQuitWhileThePromptIsOpenDoesNotPerformTheAction) {
  Configure({{L"Action", L"3"}, {L"PromptTimeout", L"3"}});
  ASSERT_TRUE(Start());
  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  // The user goes to the tray icon and picks "E&xit" while the prompt counts.
  ASSERT_TRUE(OpenMenu());
  const HWND menu = Menu();
  ASSERT_NE(menu, nullptr);
  RECT items{};
  GetWindowRect(menu, &items);
  ASSERT_TRUE(ClickScreen({items.left + 25, items.top + 10}, 1));
  const HWND question = program_->Question();
  ASSERT_NE(question, nullptr);
  // The user is there, at another of the program's windows: the prompt's
  // count stops, and the question may stay open longer than the count was.
  EXPECT_TRUE(WaitFor([&] { return ControlText(prompt, Id(PromptControl::lblCountdown)).empty(); }));
  Answer(question, IDNO);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
  EXPECT_FALSE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 3s))
      << "answering No to quitting performed the Suspend at once: " << PowerCalls();
  if (Armed(main_)) {
    if (IsWindow(prompt) && IsWindowVisible(prompt)) Click(prompt, Id(PromptControl::cmdAbort));
  }
}

}  // namespace
}  // namespace kelvane::e2e
