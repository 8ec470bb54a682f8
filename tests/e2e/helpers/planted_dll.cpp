// A look-alike of a system DLL, as someone might leave one beside a
// download: the build gives it every export of the real DLL, all of them
// this one function, which does nothing. It leaves marks beside itself for
// the test to find: "<its path>.loaded" once its DllMain runs, and
// "<its path>.called" once the program's own code (not a DLL of the
// system) calls one of its functions.
#include <windows.h>

namespace {

void LeaveMark(HMODULE self, const wchar_t* suffix) {
  wchar_t path[MAX_PATH + 16] = {};
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcpyW(path + length, suffix);
  const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

HMODULE ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<const wchar_t*>(address), &module);
  return module;
}

}  // namespace

extern "C" INT_PTR PlantedEntry() {
  if (ModuleAt(__builtin_return_address(0)) == GetModuleHandleW(nullptr)) {
    LeaveMark(ModuleAt(reinterpret_cast<const void*>(&PlantedEntry)), L".called");
  }
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMark(self, L".loaded");
  return TRUE;
}
