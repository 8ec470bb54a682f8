#pragma once
#include "options/registry_values.h"

namespace kelvane {

// Reads through the 64-bit view, as a 64-bit program sees the registry, and
// opens keys for querying only, which a standard user is granted under
// HKEY_LOCAL_MACHINE too.
class Win32RegistryValues : public RegistryValues {
 public:
  std::string GetRegValue(RegistryRoot root, std::string_view subKey, std::string_view valueName) const override;
};

}  // namespace kelvane
