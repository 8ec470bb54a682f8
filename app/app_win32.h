#pragma once
#include <windows.h>

namespace kelvane {

// Creates the main window, runs the message loop and returns the exit code.
int RunApplication(HINSTANCE instance);

}  // namespace kelvane
