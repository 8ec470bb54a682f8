#include "bosskeys/hotkey_ctl.h"

#include <algorithm>

#include "base/value_codec.h"

namespace kelvane {
namespace {

struct NamedKey {
  std::string name;
  std::uint32_t code;
};

std::string Numbered(std::string_view prefix, std::uint32_t n) {
  std::string name(prefix);
  name += std::to_string(n);
  return name;
}

const std::vector<NamedKey>& NamedKeys() {
  static const std::vector<NamedKey> keys = [] {
    std::vector<NamedKey> table;
    const auto add = [&](std::string name, std::uint32_t code) { table.push_back({std::move(name), code}); };
    for (char c = '0'; c <= '9'; ++c) add(std::string(1, c), static_cast<std::uint32_t>(c));
    for (char c = 'A'; c <= 'Z'; ++c) add(std::string(1, c), static_cast<std::uint32_t>(c));
    for (std::uint32_t n = 0; n <= 9; ++n) add(Numbered("Num", n), 96 + n);
    add("Space", 32);
    for (std::uint32_t n = 1; n <= 16; ++n) add(Numbered("F", n), 111 + n);
    return table;
  }();
  return keys;
}

}  // namespace

HotKeyCtl::HotKeyCtl(WindowId window, HotKeyRegistrar& registrar, HotKeyHook& hook, SettingsStore& store,
                     HotKeyCtlListener& listener)
    : window_(window), hook_(hook), store_(store), listener_(listener),
      hotKey_(std::make_unique<HotKeyApi>(registrar)) {
  hotKey_->SetHwnd(window_);
  if (window_ == 0) return;
  hook_.HookHotkeyWindow(window_);
  hooked_ = true;
  hook_.AddControl(*this);
}

HotKeyCtl::~HotKeyCtl() {
  SetEnabled(false);
  StopHotkey();
}

void HotKeyCtl::SetEnabled(bool enabled) {
  if (!hotKey_ || enabled == enabled_) return;
  enabled_ = enabled;
  heldKey_.reset();
  if (!enabled) {
    hotKey_->Unregister();
    return;
  }
  RegisterHotKey();
}

template <typename Value>
void HotKeyCtl::Change(void (KeyCombination::*put)(Value), Value value) {
  KeyCombination changed = combination_;
  (changed.*put)(value);
  if (changed.Modifier() == combination_.Modifier() && changed.VKey() == combination_.VKey()) return;
  combination_ = changed;
  // Only a hotkey that is registered (or was refused) since it was last
  // switched on follows the change; a switched-off one takes the whole
  // combination when it is switched on again.
  if (!hotKey_ || !hotKey_->HoldsAtom()) return;
  hotKey_->Unregister();
  RegisterHotKey();
}

void HotKeyCtl::SetAltKey(bool on) { Change(&KeyCombination::SetAltKey, on); }
void HotKeyCtl::SetShiftKey(bool on) { Change(&KeyCombination::SetShiftKey, on); }
void HotKeyCtl::SetCtrlKey(bool on) { Change(&KeyCombination::SetControlKey, on); }
void HotKeyCtl::SetWinKey(bool on) { Change(&KeyCombination::SetWinKey, on); }
void HotKeyCtl::SetVKey(std::uint32_t vkey) { Change(&KeyCombination::SetVKey, vkey); }

void HotKeyCtl::SetHotKey(std::string_view name) {
  hotKeyName_ = std::string(name);
  SetVKey(GetPgmHotKeyFromStr(hotKeyName_));
}

void HotKeyCtl::RegisterHotKey() {
  hotKey_->SetModifier(combination_.Modifier());
  hotKey_->SetVKey(combination_.VKey());
  if (const auto error = hotKey_->Register()) listener_.ErrorOccured(*this, *error, kRegisterSource);
}

std::uint32_t HotKeyCtl::GetPgmHotKeyFromStr(std::string_view ahotkey) {
  if (ahotkey.size() == 1) return static_cast<unsigned char>(ahotkey[0]);
  const auto& keys = NamedKeys();
  const auto it = std::find_if(keys.begin(), keys.end(),
                               [&](const NamedKey& key) { return EqualsIgnoreCase(key.name, ahotkey); });
  return it == keys.end() ? 0 : it->code;
}

const std::vector<std::string>& HotKeyCtl::LoadHotKeyCombo() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const auto& key : NamedKeys()) list.push_back(key.name);
    return list;
  }();
  return names;
}

void HotKeyCtl::Init(std::string_view app, std::string_view section, std::string_view prefix) {
  app_ = std::string(app);
  section_ = std::string(section);
  prefix_ = std::string(prefix);
}

void HotKeyCtl::ReadSetting(std::string_view defaultHotKey) {
  ReadBoolean("KeyCtrl", true, &HotKeyCtl::SetCtrlKey);
  ReadBoolean("KeyShift", false, &HotKeyCtl::SetShiftKey);
  ReadBoolean("KeyAlt", false, &HotKeyCtl::SetAltKey);
  ReadBoolean("KeyWin", false, &HotKeyCtl::SetWinKey);
  std::string name = store_.GetValue(app_, section_, SettingKey("KeyHot"), defaultHotKey);
  SetHotKey(name.empty() ? defaultHotKey : name);
  ReadBoolean("KeyHotOn", false, &HotKeyCtl::SetEnabled);
}

bool HotKeyCtl::WriteSetting() {
  // Each value is tried, whatever became of the one before.
  bool written = WriteBoolean("KeyHotOn", enabled_);
  written = store_.SaveValue(app_, section_, SettingKey("KeyHot"), hotKeyName_) && written;
  written = WriteBoolean("KeyCtrl", CtrlKey()) && written;
  written = WriteBoolean("KeyShift", ShiftKey()) && written;
  written = WriteBoolean("KeyAlt", AltKey()) && written;
  return WriteBoolean("KeyWin", WinKey()) && written;
}

void HotKeyCtl::StopHotkey() {
  if (hooked_) hook_.UnhookHotkeyWindow(window_);
  hooked_ = false;
  hotKey_.reset();
  heldKey_.reset();
}

void HotKeyCtl::RaiseKeyPressEvent(std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) {
  if (!hotKey_ || !enabled_) return;
  // Any program can post a hotkey message to this window; only the system's,
  // sent under the id registered, is a press.
  if (!hotKey_->RegisteredAs(id) || !hotKey_->MatchedKey(KeyCombination(modifiers, keyCode))) return;
  // Where the system ignores the request not to repeat, a held combination
  // keeps sending messages at the keyboard's repeat rate. A message handled
  // late (a task run pumps once a second) may belong to a new press whose
  // key is up again by now: the release the poll has not seen yet ends the
  // hold.
  if (heldKey_ && hook_.IsKeyDown(*heldKey_)) return;
  // Without a poll the release could never be seen; repeats are then better
  // than a key that acts once and never again.
  if (hook_.WatchKeyRelease(window_)) heldKey_ = keyCode;
  listener_.HotkeyPressed(*this);
}

bool HotKeyCtl::PollKeyRelease() {
  if (heldKey_ && !hook_.IsKeyDown(*heldKey_)) heldKey_.reset();
  return heldKey_.has_value();
}

std::string HotKeyCtl::SettingKey(std::string_view name) const { return prefix_ + std::string(name); }

void HotKeyCtl::ReadBoolean(std::string_view name, bool defaultValue, void (HotKeyCtl::*put)(bool)) {
  // A stored text that is not a boolean leaves the property as it was.
  const auto value = DecodeBoolean(store_.GetValue(app_, section_, SettingKey(name), EncodeBoolean(defaultValue)));
  if (value) (this->*put)(*value);
}

bool HotKeyCtl::WriteBoolean(std::string_view name, bool value) {
  return store_.SaveValue(app_, section_, SettingKey(name), EncodeBoolean(value));
}

}  // namespace kelvane
