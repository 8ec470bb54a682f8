#pragma once
#include <string>

#include "options/autostart.h"

namespace kelvane {

// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, or another
// key below HKEY_CURRENT_USER for tests.
class RegistryRunKey : public RunKey {
 public:
  explicit RegistryRunKey(std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  void SetValue(const std::string& name, const std::string& data) override;
  void DeleteValue(const std::string& name) override;

 private:
  std::wstring path_;
};

}  // namespace kelvane
