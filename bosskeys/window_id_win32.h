#pragma once
// Window handles as the portable code holds them.
#include <windows.h>

#include "bosskeys/hotkey_api.h"

namespace kelvane {

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }

}  // namespace kelvane
