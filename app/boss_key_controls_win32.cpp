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

BossKey BossKeyControls::KeyOf(const HotKeyCtl& sender) const {
  return &sender == &boss_.Control() ? BossKey::Boss : BossKey::Alternative;
}

void BossKeyControls::HotkeyPressed(HotKeyCtl& sender) {
  if (form_ != nullptr) form_->OnHotKeyPressed(KeyOf(sender));
}

void BossKeyControls::ErrorOccured(HotKeyCtl& sender, const std::string& Message, const std::string&) {
  if (form_ != nullptr) form_->OnHotKeyError(KeyOf(sender), Message);
}

}  // namespace kelvane
