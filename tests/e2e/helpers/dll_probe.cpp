// A program that uses version.dll, msimg32.dll and powrprof.dll the
// ordinary way, through its import table: started from a folder with
// look-alikes of them, it loads and calls the look-alikes. The planted-DLL
// test runs it to show that its look-alikes would be taken, and the import
// check is shown to refuse it.
#include <windows.h>
#include <powrprof.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD ignored = 0;
  const DWORD versionSize = GetFileVersionInfoSizeW(self, &ignored);
  // Null device contexts: the real call refuses, a look-alike notices.
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
  AlphaBlend(nullptr, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, blend);
  const BOOLEAN hibernation = IsPwrHibernateAllowed();
  return versionSize > 0 && hibernation != FALSE ? 0 : 1;
}
