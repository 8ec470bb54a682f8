// Entry point of kelvane.exe.
#include <windows.h>

#include "app/app_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return kelvane::RunApplication(instance); }
