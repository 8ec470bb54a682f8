#include "bosskeys/hotkey_ctl.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "bosskeys/bosskeys_fakes.h"
#include "fakes/memory_settings_store.h"

namespace kelvane {
namespace {

using testing::FakeRegistrar;
using testing::FakeWindowProcs;
using testing::MemorySettingsStore;

using Log = std::vector<std::string>;

constexpr WindowId kWindow = 0x2A0;
constexpr std::uint32_t kF1 = 112;

class RecordingListener : public HotKeyCtlListener {
 public:
  void HotkeyPressed(HotKeyCtl& sender) override { events.push_back("pressed " + sender.UniqueKey()); }
  void ErrorOccured(HotKeyCtl&, const std::string& Message, const std::string& Source) override {
    events.push_back(Source + ": " + Message);
  }
  Log events;
};

// Keeps the order in which keys are written.
class OrderedStore : public MemorySettingsStore {
 public:
  bool SaveValue(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) override {
    written.push_back(std::string(key) + "=" + std::string(value));
    return MemorySettingsStore::SaveValue(app, section, key, value);
  }
  Log written;
};

// The id under which the system sends a control's hotkey: its atom.
std::uintptr_t IdOf(const HotKeyCtl& control) { return static_cast<std::uint16_t>(control.hAtom()); }

class HotKeyCtlTest : public ::testing::Test {
 protected:
  HotKeyCtlTest() { control.Init(kAppName, "CONFIG", "Boss"); }

  // Control+F1, enabled, with the registrar's log cleared.
  void EnableControlF1() {
    control.SetHotKey("F1");
    control.SetEnabled(true);
    ASSERT_NE(control.hKey(), 0);
    registrar.log.clear();
  }

  FakeRegistrar registrar;
  FakeWindowProcs procs;
  HotKeyHook hook{procs};
  OrderedStore store;
  RecordingListener listener;
  HotKeyCtl control{kWindow, registrar, hook, store, listener};
};

TEST(HotKeyCtlKeys, NamesGiveTheirCodes) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"f1", 112}, {"F1", 112},  {"F16", 127}, {"f10", 121}, {"num5", 101}, {"Num0", 96},
      {"SPACE", 32}, {"a", 97},  {"A", 65},    {"0", 48},    {"F17", 0},    {"F0", 0},
      {"Num10", 0},  {"Ctrl", 0}, {"", 0},     {" F1", 0},
  };
  for (const auto& [name, code] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(HotKeyCtl::GetPgmHotKeyFromStr(name), code);
  }
}

TEST(HotKeyCtlKeys, EveryNameOfTheListNamesADistinctKey) {
  const auto& names = HotKeyCtl::LoadHotKeyCombo();
  std::set<std::uint32_t> codes;
  for (const auto& name : names) {
    const std::uint32_t code = HotKeyCtl::GetPgmHotKeyFromStr(name);
    EXPECT_NE(code, 0u) << name;
    codes.insert(code);
  }
  EXPECT_EQ(codes.size(), names.size());
}

TEST_F(HotKeyCtlTest, LoadingHooksTheWindowAndRegistersNothingUntilEnabled) {
  EXPECT_EQ(procs.hooked.count(kWindow), 1u);
  control.ReadSetting("F1");
  EXPECT_TRUE(registrar.log.empty());
  EXPECT_FALSE(control.Enabled());
  EXPECT_EQ(store.writes(), 0);
}

TEST_F(HotKeyCtlTest, ReadSettingTakesStoredValuesAndRegistersOnceWhenSwitchedOn) {
  store.Set("CONFIG", "BossKeyCtrl", "False");
  store.Set("CONFIG", "BossKeyShift", "True");
  store.Set("CONFIG", "BossKeyWin", "True");
  store.Set("CONFIG", "BossKeyHot", "Num3");
  store.Set("CONFIG", "BossKeyHotOn", "True");
  control.ReadSetting("F1");
  EXPECT_EQ(registrar.log, (Log{"add WIN+SHIFT+099", "register WIN+SHIFT+099"}));
  EXPECT_TRUE(control.Enabled());
  EXPECT_EQ(control.HotKey(), "Num3");
}

TEST_F(HotKeyCtlTest, EmptyStoredKeyFallsBackToTheDefaultAndJunkBooleansChangeNothing) {
  store.Set("CONFIG", "BossKeyHot", "");
  store.Set("CONFIG", "BossKeyCtrl", "maybe");
  store.Set("CONFIG", "BossKeyAlt", "1");
  control.ReadSetting("F11");
  EXPECT_EQ(control.HotKey(), "F11");
  EXPECT_EQ(control.VKey(), 122u);
  EXPECT_TRUE(control.CtrlKey());
  EXPECT_TRUE(control.AltKey());
}

TEST_F(HotKeyCtlTest, WriteSettingStoresInItsOrderAsWords) {
  control.SetHotKey("Space");
  control.SetCtrlKey(false);
  control.SetWinKey(true);
  control.SetEnabled(true);
  control.WriteSetting();
  EXPECT_EQ(store.written, (Log{"BossKeyHotOn=True", "BossKeyHot=Space", "BossKeyCtrl=False", "BossKeyShift=False",
                                "BossKeyAlt=False", "BossKeyWin=True"}));
}

TEST_F(HotKeyCtlTest, EachPropertyChangeReRegistersAnEnabledHotKey) {
  struct Case {
    const char* what;
    std::function<void(HotKeyCtl&)> change;
    const char* newName;
  };
  const Case cases[] = {
      {"Alt", [](HotKeyCtl& c) { c.SetAltKey(true); }, "CONTROL+ALT+112"},
      {"Shift", [](HotKeyCtl& c) { c.SetShiftKey(true); }, "SHIFT+CONTROL+112"},
      {"Ctrl", [](HotKeyCtl& c) { c.SetCtrlKey(false); }, "112"},
      {"Win", [](HotKeyCtl& c) { c.SetWinKey(true); }, "WIN+CONTROL+112"},
      {"VKey", [](HotKeyCtl& c) { c.SetVKey(65); }, "CONTROL+065"},
      {"HotKey", [](HotKeyCtl& c) { c.SetHotKey("f2"); }, "CONTROL+113"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistrar fresh;
    RecordingListener events;
    HotKeyCtl ctl(0x500, fresh, hook, store, events);
    ctl.SetHotKey("F1");
    ctl.SetEnabled(true);
    fresh.log.clear();
    c.change(ctl);
    const std::string name = c.newName;
    EXPECT_EQ(fresh.log, (Log{"unregister CONTROL+112", "delete CONTROL+112", "add " + name, "register " + name}));
    EXPECT_TRUE(events.events.empty());
  }
}

TEST_F(HotKeyCtlTest, SettingTheSameValueDoesNotReRegister) {
  EnableControlF1();
  control.SetCtrlKey(true);
  control.SetHotKey("f1");
  control.SetEnabled(true);
  EXPECT_TRUE(registrar.log.empty());
}

TEST_F(HotKeyCtlTest, ASwitchedOffHotKeyHoldsNoCombinationAndTakesChangesWhenSwitchedOn) {
  EnableControlF1();
  control.SetEnabled(false);
  EXPECT_EQ(registrar.log, (Log{"unregister CONTROL+112", "delete CONTROL+112"}));
  registrar.log.clear();
  control.SetShiftKey(true);
  control.SetHotKey("B");
  EXPECT_TRUE(registrar.log.empty());
  EXPECT_TRUE(registrar.registrations.empty());
  control.SetEnabled(true);
  EXPECT_EQ(registrar.log, (Log{"add SHIFT+CONTROL+066", "register SHIFT+CONTROL+066"}));
}

TEST_F(HotKeyCtlTest, ARefusedCombinationIsReportedWithTheSystemTextAndRetriedOnChange) {
  registrar.heldElsewhere.insert("CONTROL+112");
  control.SetHotKey("F1");
  control.SetEnabled(true);
  EXPECT_EQ(listener.events, (Log{std::string("HotKeyApi:Register: ") + FakeRegistrar::kRefusal}));
  EXPECT_TRUE(control.Enabled());
  EXPECT_EQ(control.hKey(), 0);

  listener.events.clear();
  registrar.log.clear();
  control.SetHotKey("F2");
  EXPECT_TRUE(listener.events.empty());
  EXPECT_NE(control.hKey(), 0);
  // The refused registration is not undone; its atom is released once.
  EXPECT_EQ(registrar.log, (Log{"delete CONTROL+112", "add CONTROL+113", "register CONTROL+113"}));
}

TEST_F(HotKeyCtlTest, EveryAtomIsReleasedExactlyOnceOverALifetime) {
  {
    FakeRegistrar own;
    {
      HotKeyCtl ctl(0x500, own, hook, store, listener);
      ctl.SetEnabled(true);
      ctl.SetShiftKey(true);
      ctl.SetEnabled(false);
      ctl.SetAltKey(true);
      ctl.SetEnabled(true);
      ctl.SetVKey(90);
      ctl.SetEnabled(false);
      ctl.SetEnabled(true);
    }
    EXPECT_EQ(own.OutstandingUses(), 0);
    EXPECT_EQ(own.overReleases, 0);
    EXPECT_TRUE(own.registrations.empty());
  }
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(HotKeyCtlTest, HotkeyPressedOnlyForItsOwnCombinationWhileEnabled) {
  EnableControlF1();
  const std::uintptr_t id = IdOf(control);
  control.SetEnabled(false);
  procs.Press(kWindow, id, kModControl, kF1);
  EXPECT_TRUE(listener.events.empty()) << "raised while disabled";

  control.SetEnabled(true);
  procs.Press(kWindow, IdOf(control), kModControl | kModShift, kF1);
  procs.Press(kWindow, IdOf(control), kModControl, kF1 + 1);
  EXPECT_TRUE(listener.events.empty());
  procs.Press(kWindow, IdOf(control), kModControl, kF1);
  EXPECT_EQ(listener.events, (Log{"pressed hwnd:672"}));
}

TEST_F(HotKeyCtlTest, AMessageUnderAnIdItDidNotRegisterIsNoPress) {
  EnableControlF1();
  const std::uintptr_t before = IdOf(control);
  control.SetShiftKey(true);  // registered again, under another atom
  const std::uintptr_t registered = IdOf(control);
  ASSERT_NE(before, registered);
  const std::pair<const char*, std::uintptr_t> foreign[] = {
      {"posted by any program with id 0", 0},
      {"posted with a small id", 1},
      {"left in the queue from the registration before", before},
      {"beyond the atoms", registered + 0x10000},
  };
  for (const auto& [what, id] : foreign) {
    SCOPED_TRACE(what);
    procs.Press(kWindow, id, kModControl | kModShift, kF1);
    EXPECT_TRUE(listener.events.empty());
  }
  procs.Press(kWindow, registered, kModControl | kModShift, kF1);
  EXPECT_EQ(listener.events, (Log{"pressed hwnd:672"}));
}

TEST_F(HotKeyCtlTest, HoldingTheCombinationActsOnceAndAgainOnlyAfterTheKeyIsReleased) {
  EnableControlF1();
  EXPECT_NE(registrar.lastModifiers & kModNoRepeat, 0u) << "the system is not asked to hold back repeats";
  const std::uintptr_t id = IdOf(control);
  // Held down: the keyboard repeats, and the poll keeps seeing the key down.
  procs.keysDown.insert(kF1);
  for (int repeat = 0; repeat < 5; ++repeat) {
    procs.Press(kWindow, id, kModControl, kF1);
    procs.Tick(kWindow);
  }
  EXPECT_EQ(listener.events.size(), 1u);

  procs.keysDown.erase(kF1);
  procs.Tick(kWindow);
  EXPECT_TRUE(procs.polled.empty()) << "the poll runs on after the release";
  procs.Press(kWindow, id, kModControl, kF1);
  procs.keysDown.insert(kF1);  // a second press, and held again
  procs.Press(kWindow, id, kModControl, kF1);
  EXPECT_EQ(listener.events.size(), 2u);
}

TEST_F(HotKeyCtlTest, APressMadeAfterTheKeyWasLetGoActsBeforeThePollHasSeenTheRelease) {
  EnableControlF1();
  const std::uintptr_t id = IdOf(control);
  procs.keysDown.insert(kF1);
  procs.Press(kWindow, id, kModControl, kF1);
  // The program is busy (the alternative key's task run handles messages
  // once a second): the user lets go and taps the combination again to
  // bring the windows back. The second press's message is handled before
  // any tick of the poll, with the key up again, so it is no repeat.
  procs.keysDown.erase(kF1);
  procs.Press(kWindow, id, kModControl, kF1);
  EXPECT_EQ(listener.events.size(), 2u) << "the second press was taken for a repeat of the first";
}

TEST_F(HotKeyCtlTest, WithoutAPollEveryPressActsRatherThanTheKeyGoingDead) {
  procs.noTimers = true;
  EnableControlF1();
  procs.keysDown.insert(kF1);
  procs.Press(kWindow, IdOf(control), kModControl, kF1);
  procs.Press(kWindow, IdOf(control), kModControl, kF1);
  EXPECT_EQ(listener.events.size(), 2u);
}

TEST_F(HotKeyCtlTest, TwoControlsOnTwoWindowsEachTakeOnlyTheirOwnHotKeys) {
  RecordingListener otherListener;
  HotKeyCtl other(0x300, registrar, hook, store, otherListener);
  control.SetHotKey("F1");
  other.SetHotKey("F1");
  control.SetEnabled(true);
  other.SetEnabled(true);
  procs.Press(0x300, IdOf(other), kModControl, kF1);
  EXPECT_TRUE(listener.events.empty());
  EXPECT_EQ(otherListener.events, (Log{"pressed hwnd:768"}));
}

TEST_F(HotKeyCtlTest, StopHotkeyUnhooksForgetsAndReleases) {
  EnableControlF1();
  const std::uintptr_t id = IdOf(control);
  control.StopHotkey();
  EXPECT_EQ(procs.hooked.count(kWindow), 0u);
  EXPECT_EQ(registrar.OutstandingUses(), 0);
  EXPECT_TRUE(registrar.registrations.empty());
  // The module forgot the control: a message for its window reaches nobody.
  hook.OnHotKey(kWindow, id, kF1, kModControl);
  EXPECT_TRUE(listener.events.empty());
  registrar.log.clear();
  control.SetEnabled(false);
  control.SetEnabled(true);
  control.SetShiftKey(true);
  EXPECT_TRUE(registrar.log.empty());
}

TEST_F(HotKeyCtlTest, AHandlerThatStopsTheControlEndsTheDispatchSafely) {
  class Stopper : public HotKeyCtlListener {
   public:
    void HotkeyPressed(HotKeyCtl& sender) override {
      ++presses;
      sender.StopHotkey();
    }
    void ErrorOccured(HotKeyCtl&, const std::string&, const std::string&) override {}
    int presses = 0;
  } stopper;
  HotKeyCtl ctl(0x400, registrar, hook, store, stopper);
  ctl.SetEnabled(true);
  const std::uintptr_t id = IdOf(ctl);
  hook.OnHotKey(0x400, id, 122, kModControl);
  hook.OnHotKey(0x400, id, 122, kModControl);
  EXPECT_EQ(stopper.presses, 1);
}

}  // namespace
}  // namespace kelvane
