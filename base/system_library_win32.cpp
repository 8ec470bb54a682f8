#include "base/system_library_win32.h"

#include <string>

namespace kelvane {
namespace {

HMODULE LoadFromSystemFolder(const wchar_t* fileName) noexcept {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  try {
    // The full path, not the name alone: a module of that name which
    // something else already loaded from elsewhere would be used as it is.
    const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    // The flag keeps the DLL's own dependencies to the system folder too.
    if (const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // Windows 7 knows the flag only with update KB2533623 and refuses it
    // as a parameter without; there dependencies are looked for beside the
    // DLL, in the system folder, first.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  } catch (...) {
    return nullptr;  // out of memory for a path: the feature goes without the DLL
  }
}

}  // namespace

void RestrictDllSearchToSystemFolder() noexcept {
  // Looked up rather than imported: Windows 7 without KB2533623 lacks it,
  // and an import it lacks would keep the program from starting at all.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    // Fails only for flags it does not know; the loader names the folder anyway.
    if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // The empty folder takes the current folder out of the search, also where
  // the call above does not exist.
  SetDllDirectoryW(L"");
}

OrdinaryDllSearchForChildren::OrdinaryDllSearchForChildren() noexcept { SetDllDirectoryW(nullptr); }

OrdinaryDllSearchForChildren::~OrdinaryDllSearchForChildren() { SetDllDirectoryW(L""); }

FARPROC SystemLibrary::Find(const char* entryName) noexcept {
  if (!tried_) {
    tried_ = true;
    module_.reset(LoadFromSystemFolder(fileName_));
  }
  return module_ ? GetProcAddress(module_.get(), entryName) : nullptr;
}

}  // namespace kelvane
