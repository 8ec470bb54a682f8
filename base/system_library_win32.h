#pragma once
// System DLLs that are not KnownDLLs, loaded from the system folder only and
// only when first needed. Windows looks for a DLL named only by its file
// name in the program's own folder first, and a program run from a download
// folder would load whatever look-alike lies beside it; KnownDLLs and the
// manifest's comctl32 are exempt, so only they stay in the import table.
#include <windows.h>

#include <type_traits>
#include <utility>

#include "base/handles_win32.h"

namespace kelvane {

// The process's own first statements: DLLs named without a path come from
// the system folder only, and the current folder is out of every search.
void RestrictDllSearchToSystemFolder() noexcept;

// Child processes inherit the DLL directory of their parent; while this
// lives, a started program searches for its DLLs as it would started from
// Explorer.
class OrdinaryDllSearchForChildren {
 public:
  OrdinaryDllSearchForChildren() noexcept;
  ~OrdinaryDllSearchForChildren();
  OrdinaryDllSearchForChildren(const OrdinaryDllSearchForChildren&) = delete;
  OrdinaryDllSearchForChildren& operator=(const OrdinaryDllSearchForChildren&) = delete;
};

// One DLL of the system folder, loaded at the first look-up of an entry
// point and released with the object.
class SystemLibrary {
 public:
  // `fileName` without a folder, such as L"version.dll"; it must outlive the object.
  explicit SystemLibrary(const wchar_t* fileName) noexcept : fileName_(fileName) {}

  // The entry point's address; null when the DLL or the entry is missing.
  FARPROC Find(const char* entryName) noexcept;

 private:
  const wchar_t* fileName_;
  UniqueModule module_;
  bool tried_ = false;
};

// An entry point of a SystemLibrary with its type, looked up once, on its
// first use. `Function` is the function's type, as decltype(::AlphaBlend).
template <typename Function>
class SystemEntry {
 public:
  SystemEntry(SystemLibrary& library, const char* name) noexcept : library_(library), name_(name) {}

  // False on a Windows that lacks the DLL or the entry.
  bool Available() noexcept { return Get() != nullptr; }

  // The entry's result, or `missing` where the entry does not exist.
  template <typename... Args>
  std::invoke_result_t<Function*, Args...> CallOr(std::invoke_result_t<Function*, Args...> missing,
                                                  Args&&... args) noexcept {
    Function* const function = Get();
    return function != nullptr ? function(std::forward<Args>(args)...) : missing;
  }

  // Calls an entry that has no result, where it exists.
  template <typename... Args>
  void CallIfAvailable(Args&&... args) noexcept {
    if (Function* const function = Get()) function(std::forward<Args>(args)...);
  }

 private:
  Function* Get() noexcept {
    if (!resolved_) {
      // FARPROC is the one type GetProcAddress can return; the entry's own
      // type is what its header declares.
      function_ = reinterpret_cast<Function*>(reinterpret_cast<void*>(library_.Find(name_)));
      resolved_ = true;
    }
    return function_;
  }

  SystemLibrary& library_;
  const char* name_;
  Function* function_ = nullptr;
  bool resolved_ = false;
};

}  // namespace kelvane
