#pragma once
// The logon entry under the current user's "Run" key.

#include <string>
#include <string_view>

namespace kelvane {

class RunKey {
 public:
  virtual ~RunKey() = default;
  // Both fail silently when the key cannot be opened for writing.
  virtual void SetValue(const std::string& name, const std::string& data) = 0;
  virtual void DeleteValue(const std::string& name) = 0;
};

struct AutostartEntry {
  std::string name;  // the program's base name and ".Exe"
  std::string data;  // its full path, quoted
};

// The entry for a program at `programPath` (a full Windows path).
AutostartEntry AutostartEntryFor(std::string_view programPath);

void SetAutostart(RunKey& runKey, std::string_view programPath, bool enable);

}  // namespace kelvane
