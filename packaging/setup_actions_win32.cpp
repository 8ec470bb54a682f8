// Custom actions of the installer (packaging/kelvane.wxs), in a DLL that the
// package carries in its Binary table. wixl has no element that removes a
// registry value at uninstall or closes a running program, so those steps
// are done here. Each action returns success whatever happens: none of them
// is worth failing an install or an uninstall for.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/wide_text_win32.h"
#include "options/autostart.h"

namespace {

using kelvane::UniqueHandle;
using kelvane::UniqueKey;

constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Set by RememberAutostart, read by RestoreAutostart.
constexpr const wchar_t* kAutostartProperty = L"KELVANEAUTOSTART";

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  DWORD size = 0;
  wchar_t empty[1] = L"";
  if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA) return {};
  std::wstring value(size, L'\0');
  ++size;  // The terminating null, which the first call did not count.
  if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS) return {};
  value.resize(size);
  return value;
}

// A line of an "msiexec /l*v" log, where a support case starts.
void Log(MSIHANDLE install, const std::wstring& text) {
  PMSIHANDLE record = MsiCreateRecord(0);
  if (record == 0) return;
  MsiRecordSetStringW(record, 0, (L"Kelvane: " + text).c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring{} : path.substr(0, slash + 1);
}

// With its trailing backslash, as Windows Installer gives folders; empty
// when the property is not set.
std::wstring InstallFolder(MSIHANDLE install) {
  std::wstring folder = Property(install, L"INSTALLFOLDER");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring ImagePath(HANDLE process) {
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
  return std::wstring(path, size);
}

struct Running {
  HWND window = nullptr;
  UniqueHandle process;
};

// The main window of a Kelvane started from `folder`; a portable copy
// elsewhere is not this package's business.
Running FindRunningIn(const std::wstring& folder) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, kelvane::kMainWindowClass, nullptr)) != nullptr) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id));
    if (!process) continue;  // Gone meanwhile, or another user's.
    if (SameText(FolderOf(ImagePath(process.get())), folder)) return {window, std::move(process)};
  }
  return {};
}

// The logon entry of the program in `folder`, named and quoted as the
// program itself writes it.
struct OwnEntry {
  std::wstring name;
  std::wstring data;
};

OwnEntry EntryFor(const std::wstring& folder) {
  const kelvane::AutostartEntry entry = kelvane::AutostartEntryFor(kelvane::Narrow(folder + L"kelvane.exe"));
  return {kelvane::Widen(entry.name), kelvane::Widen(entry.data)};
}

UniqueKey OpenRunKey(REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return UniqueKey(key);
}

// Whether the Run key holds `entry`; an entry of the same name that starts
// a copy elsewhere does not count.
bool HasEntry(HKEY runKey, const OwnEntry& entry) {
  wchar_t data[MAX_PATH * 2] = L"";
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(runKey, entry.name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::wstring value(data, size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return SameText(value, entry.data);
}

}  // namespace

// Before the files are checked for use: ends a Kelvane that runs from the
// install folder the way Restart Manager ends a program, by the end-of-session
// messages with ENDSESSION_CLOSEAPP, which the program answers by disarming
// its schedule, showing the windows its boss key hid, and quitting. A program
// that does not end in time is left to Windows Installer's own handling of
// files in use.
extern "C" __declspec(dllexport) UINT __stdcall CloseRunningKelvane(MSIHANDLE install) {
  const std::wstring folder = InstallFolder(install);
  if (folder.empty()) return ERROR_SUCCESS;
  const Running running = FindRunningIn(folder);
  if (running.window == nullptr) return ERROR_SUCCESS;
  Log(install, L"asking the running program to close");
  // A program that hangs is not waited for here; the wait below bounds it.
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(running.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                      kAnswerTimeoutMs, &answer);
  SendMessageTimeoutW(running.window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                      &answer);
  const bool ended = WaitForSingleObject(running.process.get(), kExitTimeoutMs) == WAIT_OBJECT_0;
  Log(install, ended ? L"the running program closed" : L"the running program did not close in time");
  return ERROR_SUCCESS;
}

// After an uninstall that is not part of an upgrade: removes the logon entry
// that the program wrote for itself, when it names the program that was
// just removed. An entry for a portable copy elsewhere stays.
extern "C" __declspec(dllexport) UINT __stdcall RemoveAutostart(MSIHANDLE install) {
  const std::wstring folder = InstallFolder(install);
  if (folder.empty()) return ERROR_SUCCESS;
  const OwnEntry entry = EntryFor(folder);
  const UniqueKey key = OpenRunKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (!key) return ERROR_SUCCESS;  // No Run key: nothing to remove.
  if (HasEntry(key.get(), entry) && RegDeleteValueW(key.get(), entry.name.c_str()) == ERROR_SUCCESS) {
    Log(install, L"removed the logon entry " + entry.name);
  }
  return ERROR_SUCCESS;
}

// Before an upgrade removes the old version: notes whether the program's
// logon entry is there. Windows tells the old version's uninstall that it is
// part of an upgrade (UPGRADINGPRODUCTCODE), and the entry stays; Wine does
// not, and the old version removes it. RestoreAutostart puts it back.
extern "C" __declspec(dllexport) UINT __stdcall RememberAutostart(MSIHANDLE install) {
  const std::wstring folder = InstallFolder(install);
  if (folder.empty()) return ERROR_SUCCESS;
  const UniqueKey key = OpenRunKey(KEY_QUERY_VALUE);
  if (key && HasEntry(key.get(), EntryFor(folder))) MsiSetPropertyW(install, kAutostartProperty, L"1");
  return ERROR_SUCCESS;
}

// After the upgrade: the logon entry noted before is there again.
extern "C" __declspec(dllexport) UINT __stdcall RestoreAutostart(MSIHANDLE install) {
  const std::wstring folder = InstallFolder(install);
  if (folder.empty() || Property(install, kAutostartProperty).empty()) return ERROR_SUCCESS;
  const OwnEntry entry = EntryFor(folder);
  const UniqueKey key = OpenRunKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (!key || HasEntry(key.get(), entry)) return ERROR_SUCCESS;
  const auto* bytes = reinterpret_cast<const BYTE*>(entry.data.c_str());
  const auto size = static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key.get(), entry.name.c_str(), 0, REG_SZ, bytes, size) == ERROR_SUCCESS) {
    Log(install, L"restored the logon entry " + entry.name);
  }
  return ERROR_SUCCESS;
}
