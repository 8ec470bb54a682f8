#include "bosskeys/hidden_record_win32.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "base/handles_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

constexpr const wchar_t* kValueName = L"Windows";

}  // namespace

VolatileHiddenWindowsRecord::VolatileHiddenWindowsRecord(std::wstring key) : key_(std::move(key)) {}

std::string VolatileHiddenWindowsRecord::Read() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return {};
  const UniqueKey key(raw);
  DWORD type = 0;
  DWORD bytes = 0;
  // Anything but text is not a record; the decoder sorts out the text.
  if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) {
    return {};
  }
  try {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
      return {};
    }
    // A stored string need not be terminated; the buffer has a spare zero.
    return Narrow(std::wstring_view(buffer.data()));
  } catch (...) {
    return {};  // too large to hold: no record worth trusting
  }
}

void VolatileHiddenWindowsRecord::Write(const std::string& text) {
  // Opening a key that exists keeps it as it was made; made anew, the key
  // is sure to be volatile even if something left an ordinary one there.
  Clear();
  const std::size_t parentEnd = key_.find_last_of(L'\\');
  if (parentEnd != std::wstring::npos) {
    // A volatile key may sit below an ordinary one but not the other way
    // round; created along with it, the settings' key would be volatile too.
    HKEY parent = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.substr(0, parentEnd).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_CREATE_SUB_KEY, nullptr, &parent, nullptr) != ERROR_SUCCESS) {
      return;  // no record: the windows still come back while the program lives
    }
    RegCloseKey(parent);
  }
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const UniqueKey key(raw);
  const std::wstring data = Widen(text);
  RegSetValueExW(key.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void VolatileHiddenWindowsRecord::Clear() {
  // Missing already is the usual case.
  RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
}

}  // namespace kelvane
