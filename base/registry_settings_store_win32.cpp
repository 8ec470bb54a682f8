#include "base/registry_settings_store_win32.h"

#include <windows.h>

#include <vector>

#include "base/handles_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

std::wstring SectionPath(const std::string& root, std::string_view app, std::string_view section) {
  return Widen(root) + L"\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string root) : root_(std::move(root)) {}

std::string RegistrySettingsStore::GetValue(std::string_view app, std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(root_, app, section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
      ERROR_SUCCESS) {
    return std::string(defaultValue);
  }
  const UniqueKey sectionKey(raw);
  const std::wstring name = Widen(key);
  // Settings are short: one query into a buffer that holds nearly all of
  // them, a second only for a longer value (each query is a call to the
  // registry's server).
  std::vector<wchar_t> buffer(128, L'\0');
  LSTATUS status = ERROR_MORE_DATA;
  DWORD type = 0;
  for (int tries = 0; tries < 3 && status == ERROR_MORE_DATA; ++tries) {
    // One unit is kept back: stored strings need not be terminated.
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    status = RegQueryValueExW(sectionKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                              &bytes);
    if (status == ERROR_MORE_DATA) {
      buffer.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    } else if (status == ERROR_SUCCESS) {
      buffer.resize((bytes + sizeof(wchar_t) - 1) / sizeof(wchar_t));
    }
  }
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string(defaultValue);
  buffer.push_back(L'\0');
  return Narrow(std::wstring_view(buffer.data()));
}

bool RegistrySettingsStore::SaveValue(std::string_view app, std::string_view section, std::string_view key,
                                      std::string_view value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(root_, app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return false;  // A store that cannot be written loses only this value.
  }
  const UniqueKey sectionKey(raw);
  const std::wstring data = Widen(value);
  return RegSetValueExW(sectionKey.get(), Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace kelvane
