#pragma once
// Window handles between the Windows API and the portable code.
#include <windows.h>

#include "base/window_id.h"

namespace kelvane {

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }

}  // namespace kelvane
