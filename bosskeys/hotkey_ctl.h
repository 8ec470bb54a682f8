#pragma once
// The hotkey control: one key combination kept registered as a system-wide
// hotkey while enabled, loaded from and saved to the settings store under a
// prefix of its own.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bosskeys/hotkey_api.h"
#include "bosskeys/hotkey_hook.h"
#include "base/settings_store.h"
#include "bosskeys/hotkey_settings.h"

namespace kelvane {

class HotKeyCtl;

// The control's events.
class HotKeyCtlListener {
 public:
  virtual ~HotKeyCtlListener() = default;
  virtual void HotkeyPressed(HotKeyCtl& sender) = 0;
  // A registration the system refused: its text and "HotKeyApi:Register".
  virtual void ErrorOccured(HotKeyCtl& sender, const std::string& Message, const std::string& Source) = 0;
};

class HotKeyCtl : public HotKeySettings, public HotKeyEditor, public HotKeyTarget {
 public:
  // `window` is the control's own window; the control hooks it and takes
  // its hotkey messages. With 0 no messages reach the control.
  HotKeyCtl(WindowId window, HotKeyRegistrar& registrar, HotKeyHook& hook, SettingsStore& store,
            HotKeyCtlListener& listener);
  // Disables, then stops.
  ~HotKeyCtl() override;
  HotKeyCtl(const HotKeyCtl&) = delete;
  HotKeyCtl& operator=(const HotKeyCtl&) = delete;

  // Registers the hotkey when switched on, unregisters it when switched off.
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;

  // Each change of the combination re-registers a registered hotkey.
  bool AltKey() const override { return combination_.AltKey(); }
  void SetAltKey(bool on) override;
  bool ShiftKey() const override { return combination_.ShiftKey(); }
  void SetShiftKey(bool on) override;
  bool CtrlKey() const override { return combination_.ControlKey(); }
  void SetCtrlKey(bool on) override;
  bool WinKey() const override { return combination_.WinKey(); }
  void SetWinKey(bool on) override;
  std::uint32_t VKey() const { return combination_.VKey(); }
  void SetVKey(std::uint32_t vkey);
  // The key's name; setting it also sets VKey from the name.
  const std::string& HotKey() const override { return hotKeyName_; }
  void SetHotKey(std::string_view name) override;

  std::int32_t hAtom() const { return hotKey_ ? hotKey_->hAtom() : 0; }
  std::int32_t hKey() const { return hotKey_ ? hotKey_->hKey() : 0; }
  std::string UniqueKey() const override { return WindowKey(window_); }
  WindowId Window() const override { return window_; }

  // A key name to its virtual-key code: one character gives its own code,
  // "F1".."F16", "Num0".."Num9" and "Space" are matched ignoring case, any
  // other name gives 0.
  static std::uint32_t GetPgmHotKeyFromStr(std::string_view ahotkey);
  // The 63 key names a user can choose, in list order.
  static const std::vector<std::string>& LoadHotKeyCombo();

  void Init(std::string_view app, std::string_view section, std::string_view prefix) override;
  void ReadSetting(std::string_view defaultHotKey) override;
  bool WriteSetting() override;

  // Unhooks the window and drops the hotkey; later changes register nothing.
  void StopHotkey();
  // A hotkey message of the control's window. One press of the combination
  // raises HotkeyPressed once: while its key stays down since the last
  // accepted press, further messages are repeats and change nothing.
  void RaiseKeyPressEvent(std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) override;
  bool PollKeyRelease() override;

 private:
  template <typename Value>
  void Change(void (KeyCombination::*put)(Value), Value value);
  void RegisterHotKey();
  std::string SettingKey(std::string_view name) const;
  void ReadBoolean(std::string_view name, bool defaultValue, void (HotKeyCtl::*put)(bool));
  bool WriteBoolean(std::string_view name, bool value);

  WindowId window_;
  HotKeyHook& hook_;
  SettingsStore& store_;
  HotKeyCtlListener& listener_;
  std::unique_ptr<HotKeyApi> hotKey_;
  bool hooked_ = false;
  bool enabled_ = false;
  // The key of the last accepted press while it has not been seen released.
  std::optional<std::uint32_t> heldKey_;
  KeyCombination combination_{kModControl, 122};
  std::string hotKeyName_;
  std::string app_;
  std::string section_;
  std::string prefix_;
};

}  // namespace kelvane
