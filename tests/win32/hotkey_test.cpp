#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bosskeys/hotkey_ctl_win32.h"
#include "base/wide_text_win32.h"
#include "fakes/memory_settings_store.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::MemorySettingsStore;
using testing::PumpUntil;
using testing::RegisterTestWindowClass;

class Events : public HotKeyCtlListener {
 public:
  void HotkeyPressed(HotKeyCtl&) override { ++presses; }
  void ErrorOccured(HotKeyCtl&, const std::string& Message, const std::string& Source) override {
    errors.push_back(Source + ": " + Message);
  }
  int presses = 0;
  std::vector<std::string> errors;
};

// A window of the test that counts the hotkey messages its own procedure sees.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_HOTKEY) ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow CountingWindow(int& count) {
  RegisterTestWindowClass(L"KelvaneHotKeyProbe", CountingProc);
  UniqueWindow window(CreateWindowExW(0, L"KelvaneHotKeyProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
  SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
  return window;
}

LPARAM HotKeyParam(UINT modifiers, UINT vkey) { return MAKELPARAM(modifiers, vkey); }
// The id the system sends a control's hotkey under: its atom.
WPARAM IdOf(const HotKeyCtl& control) { return static_cast<ATOM>(control.hAtom()); }

class HotKeyWin32 : public ::testing::Test {
 protected:
  HotKeyModule module{GetModuleHandleW(nullptr)};
  MemorySettingsStore store;
  Events events;
};

TEST_F(HotKeyWin32, AnEnabledControlHoldsItsCombinationUnderItsAtomUntilSwitchedOff) {
  HotKeyCtlWindow boss(module, store, events);
  ASSERT_NE(boss.Window(), nullptr);
  HotKeyCtl& control = boss.Control();
  control.SetHotKey("F9");
  control.SetEnabled(true);
  ASSERT_NE(control.hKey(), 0);
  EXPECT_TRUE(events.errors.empty());

  const auto atom = static_cast<ATOM>(control.hAtom());
  wchar_t name[64] = {};
  ASSERT_GT(GlobalGetAtomNameW(atom, name, 64), 0u);
  EXPECT_STREQ(name, L"CONTROL+120");

  int count = 0;
  UniqueWindow probe = CountingWindow(count);
  EXPECT_FALSE(RegisterHotKey(probe.get(), 1, MOD_CONTROL, VK_F9)) << "the combination should be taken";

  control.SetEnabled(false);
  EXPECT_EQ(GlobalGetAtomNameW(atom, name, 64), 0u) << "the atom should be released";
  EXPECT_TRUE(RegisterHotKey(probe.get(), 1, MOD_CONTROL, VK_F9)) << "the combination should be free";
  UnregisterHotKey(probe.get(), 1);
}

TEST_F(HotKeyWin32, TheRegisteredHotKeyReachesHotkeyPressedAgainOnceTheKeyIsSeenUp) {
  HotKeyCtlWindow boss(module, store, events);
  boss.Control().SetHotKey("F8");
  boss.Control().SetEnabled(true);
  const HWND window = boss.Window();
  const auto press = [&](WPARAM id) { return PostMessageW(window, WM_HOTKEY, id, HotKeyParam(MOD_CONTROL, VK_F8)); };
  // Any program can post a hotkey message; this one is not the system's.
  ASSERT_TRUE(press(0));
  EXPECT_FALSE(PumpUntil([&] { return events.presses > 0; }, std::chrono::milliseconds{200}));

  ASSERT_TRUE(press(IdOf(boss.Control())));
  ASSERT_TRUE(PumpUntil([&] { return events.presses == 1; }));
  // Nobody holds F8: the poll on the control's window sees it up, and a
  // press after that is a new one.
  EXPECT_TRUE(PumpUntil([&] { return press(IdOf(boss.Control())) && events.presses >= 2; }));
}

TEST_F(HotKeyWin32, HookedWindowStillGetsEveryMessageOnceAndGetsItsProcedureBack) {
  int passedOn = 0;
  UniqueWindow window = CountingWindow(passedOn);
  const LONG_PTR original = GetWindowLongPtrW(window.get(), GWLP_WNDPROC);
  {
    HotKeyCtl control(ToWindowId(window.get()), module.Registrar(), module.Hook(), store, events);
    module.Hook().HookHotkeyWindow(ToWindowId(window.get()));  // a second hook changes nothing
    control.SetEnabled(true);  // Control+F11
    ASSERT_TRUE(PostMessageW(window.get(), WM_HOTKEY, IdOf(control), HotKeyParam(MOD_CONTROL, VK_F11)));
    ASSERT_TRUE(PumpUntil([&] { return passedOn == 1 && events.presses == 1; }));
    EXPECT_FALSE(PumpUntil([&] { return passedOn > 1 || events.presses > 1; }, std::chrono::milliseconds{200}));
  }
  EXPECT_EQ(GetWindowLongPtrW(window.get(), GWLP_WNDPROC), original);
}

TEST_F(HotKeyWin32, ACombinationHeldElsewhereIsReportedWithTheSystemText) {
  int count = 0;
  UniqueWindow other = CountingWindow(count);
  ASSERT_TRUE(RegisterHotKey(other.get(), 7, MOD_CONTROL | MOD_ALT, VK_F7));

  HotKeyCtlWindow boss(module, store, events);
  boss.Control().SetAltKey(true);
  boss.Control().SetHotKey("F7");
  SetLastError(ERROR_ACCESS_DENIED);  // left over from an unrelated call
  boss.Control().SetEnabled(true);
  const std::string expected = SystemErrorText(ERROR_HOTKEY_ALREADY_REGISTERED);
  EXPECT_NE(expected, "Error 1409");
  EXPECT_EQ(events.errors, (std::vector<std::string>{"HotKeyApi:Register: " + expected}));
  EXPECT_TRUE(boss.Control().Enabled());

  // Moving to a free key registers it without a report, whatever error the
  // system still holds from before.
  events.errors.clear();
  SetLastError(ERROR_ACCESS_DENIED);
  boss.Control().SetHotKey("F6");
  EXPECT_TRUE(events.errors.empty());
  EXPECT_NE(boss.Control().hKey(), 0);
  UnregisterHotKey(other.get(), 7);
}

}  // namespace
}  // namespace kelvane
