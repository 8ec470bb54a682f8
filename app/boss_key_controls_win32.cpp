#include "app/boss_key_controls_win32.h"

namespace kelvane {

BossKeyControls::BossKeyControls(HINSTANCE instance, SettingsStore& store)
    : module_(instance), boss_(module_, store, *this), alternative_(module_, store, *this) {}

void BossKeyControls::StopHotkeys() {
  for (HotKeyCtlWindow* control : {&boss_, &alternative_}) {
    control->Control().SetEnabled(false);
    control->Control().StopHotkey();
  }
}

void BossKeyControls::HotkeyPressed(HotKeyCtl& sender) {
  if (form_ == nullptr) return;
  if (&sender == &boss_.Control()) {
    form_->OnBossKeyPressed();
  } else {
    form_->OnAltBossKeyPressed();
  }
}

void BossKeyControls::ErrorOccured(HotKeyCtl& sender, const std::string& Message, const std::string&) {
  // Only the boss key's failures are shown; the alternative key's are quiet.
  if (form_ != nullptr && &sender == &boss_.Control()) form_->OnBossKeyError(Message);
}

}  // namespace kelvane
