#pragma once
// The per-user key/value store that holds every setting of the program.

#include <string>
#include <string_view>

#include "base/product.h"

namespace kelvane {

inline constexpr std::string_view kAppName = kProductName;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `defaultValue` when the key is absent. Section and
  // key names are matched without regard to case.
  virtual std::string GetValue(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view defaultValue) const = 0;
  // Creates or overwrites the key; a section is created on its first write.
  // False when the value could not be written (a key the user may only
  // read); the value stored before, if any, stays.
  [[nodiscard]] virtual bool SaveValue(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view value) = 0;
};

}  // namespace kelvane
