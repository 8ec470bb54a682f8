#pragma once
#include <string>

#include "base/settings_store.h"

namespace kelvane {

// Keeps each section as a key under HKEY_CURRENT_USER\Software\<app>, one
// string value per setting. The registry already matches names without
// regard to case.
class RegistrySettingsStore : public SettingsStore {
 public:
  // `root` below HKEY_CURRENT_USER; tests use their own.
  explicit RegistrySettingsStore(std::string root = "Software");
  std::string GetValue(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) const override;
  bool SaveValue(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) override;

 private:
  std::string root_;
};

}  // namespace kelvane
