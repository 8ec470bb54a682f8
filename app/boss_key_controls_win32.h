#pragma once
// The main window's two hotkey controls, `HotKeyCtlBoss` ("Boss", default
// F1) and `HotKeyCtlAltB` ("Boss2", default F11), with their events routed
// to the main form, which decides what each means.
#include <windows.h>

#include "bosskeys/hotkey_ctl_win32.h"
#include "core/main_form.h"

namespace kelvane {

class BossKeyControls : public HotKeyControls, private HotKeyCtlListener {
 public:
  BossKeyControls(HINSTANCE instance, SettingsStore& store);
  // The form that receives the events; none until it is set.
  void Bind(MainForm* form) { form_ = form; }

  HotKeyPair HotKeys() override { return {&boss_.Control(), &alternative_.Control()}; }
  void StopHotkeys() override;
  HotKeyEditor& Editor(BossKey key) override { return key == BossKey::Boss ? boss_.Control() : alternative_.Control(); }

 private:
  void HotkeyPressed(HotKeyCtl& sender) override;
  void ErrorOccured(HotKeyCtl& sender, const std::string& Message, const std::string& Source) override;
  BossKey KeyOf(const HotKeyCtl& sender) const;

  HotKeyModule module_;
  HotKeyCtlWindow boss_;
  HotKeyCtlWindow alternative_;
  MainForm* form_ = nullptr;
};

}  // namespace kelvane
