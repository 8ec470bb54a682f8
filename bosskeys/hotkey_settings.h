#pragma once
// What a hotkey control offers for loading and saving its combination, and
// the two boss keys as the settings see them.

#include <string>
#include <string_view>

namespace kelvane {

class HotKeySettings {
 public:
  virtual ~HotKeySettings() = default;
  virtual void Init(std::string_view app, std::string_view section, std::string_view prefix) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void ReadSetting(std::string_view defaultHotKey) = 0;
  // False when the store refused any of the values.
  virtual bool WriteSetting() = 0;
};

// What the options dialog reads and changes of a hotkey control.
class HotKeyEditor {
 public:
  virtual ~HotKeyEditor() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool CtrlKey() const = 0;
  virtual void SetCtrlKey(bool on) = 0;
  virtual bool ShiftKey() const = 0;
  virtual void SetShiftKey(bool on) = 0;
  virtual bool AltKey() const = 0;
  virtual void SetAltKey(bool on) = 0;
  virtual bool WinKey() const = 0;
  virtual void SetWinKey(bool on) = 0;
  // The key's name, as the key list shows it.
  virtual const std::string& HotKey() const = 0;
  virtual void SetHotKey(std::string_view name) = 0;
};

struct HotKeyPair {
  HotKeySettings* boss = nullptr;
  HotKeySettings* alternative = nullptr;
};

}  // namespace kelvane
