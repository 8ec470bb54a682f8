// Entry point of kelvane.exe.
#include <windows.h>

#include "app/app_win32.h"
#include "base/system_library_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL by name: a look-alike beside the
  // downloaded program or in the current folder must never be the one found.
  kelvane::RestrictDllSearchToSystemFolder();
  return kelvane::RunApplication(instance);
}
