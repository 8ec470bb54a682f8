#include "options/registry_values_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/handles_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

// A folder path never comes near this; a larger value is not what a preset
// looks for.
constexpr DWORD kMaxValueBytes = 64 * 1024;

}  // namespace

std::string Win32RegistryValues::GetRegValue(RegistryRoot root, std::string_view subKey,
                                             std::string_view valueName) const {
  // Registry paths are relative to the root; a backslash in front names the
  // same key, and dropping it keeps every Windows version from refusing it.
  while (!subKey.empty() && subKey.front() == '\\') subKey.remove_prefix(1);
  const HKEY base = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY raw = nullptr;
  // Querying is all a standard user is granted under HKEY_LOCAL_MACHINE; any
  // wider access fails there and would hide every installed tool.
  if (RegOpenKeyExW(base, Widen(subKey).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) {
    return {};
  }
  const UniqueKey key(raw);
  const std::wstring name = Widen(valueName);

  std::vector<wchar_t> buffer(MAX_PATH + 1);
  // The value may grow between asking for its size and reading it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    auto bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LSTATUS status =
        RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status == ERROR_MORE_DATA) {
      if (bytes > kMaxValueBytes) return {};
      buffer.resize(bytes / sizeof(wchar_t) + 1);
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    std::wstring_view text(buffer.data(), std::min<std::size_t>(bytes / sizeof(wchar_t), buffer.size()));
    // A stored string need not end with a zero, and may hold one early.
    text = text.substr(0, text.find(L'\0'));
    return Narrow(text);
  }
  return {};
}

}  // namespace kelvane
