#pragma once
// What the benchmark programs under Wine share: where they lie, and the
// program's settings they set before starting it.
#include <windows.h>

#include <cwchar>
#include <string>

namespace kelvane::bench {

// The folder of the running benchmark, where the programs it starts lie.
inline std::wstring Folder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\'));
}

// One text value in the program's "CONFIG" section.
inline void SetConfig(const wchar_t* name, const wchar_t* value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kelvane\\CONFIG", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace kelvane::bench
