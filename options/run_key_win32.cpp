#include "options/run_key_win32.h"

#include <windows.h>

#include "base/handles_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

UniqueKey OpenForWriting(const std::wstring& path) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &raw) != ERROR_SUCCESS) return nullptr;
  return UniqueKey(raw);
}

}  // namespace

RegistryRunKey::RegistryRunKey(std::wstring path) : path_(std::move(path)) {}

void RegistryRunKey::SetValue(const std::string& name, const std::string& data) {
  const UniqueKey key = OpenForWriting(path_);
  if (!key) return;  // Autostart failures are silent; the setting is kept regardless.
  const std::wstring value = Widen(data);
  RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RegistryRunKey::DeleteValue(const std::string& name) {
  const UniqueKey key = OpenForWriting(path_);
  if (!key) return;
  RegDeleteValueW(key.get(), Widen(name).c_str());  // A missing value is not an error.
}

}  // namespace kelvane
