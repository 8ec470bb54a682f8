#pragma once
// What a hotkey control offers for loading and saving its combination, and
// the two boss keys as the settings see them.

#include <string_view>

namespace kelvane {

class HotKeySettings {
 public:
  virtual ~HotKeySettings() = default;
  virtual void Init(std::string_view app, std::string_view section, std::string_view prefix) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void ReadSetting(std::string_view defaultHotKey) = 0;
  virtual void WriteSetting() = 0;
};

struct HotKeyPair {
  HotKeySettings* boss = nullptr;
  HotKeySettings* alternative = nullptr;
};

}  // namespace kelvane
