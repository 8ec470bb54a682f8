#pragma once
// Reading one registry value as text: how the task presets find installed
// maintenance tools.

#include <string>
#include <string_view>

namespace kelvane {

enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryValues {
 public:
  virtual ~RegistryValues() = default;
  // The text of a string value, or empty when the key or the value is
  // missing, cannot be read, or holds no text. An empty `valueName` reads the
  // key's default value.
  virtual std::string GetRegValue(RegistryRoot root, std::string_view subKey, std::string_view valueName) const = 0;
};

}  // namespace kelvane
