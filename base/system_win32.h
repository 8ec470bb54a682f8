#pragma once
// Small questions put to Windows that several windows and services ask.
#include <windows.h>

#include <string>
#include <string_view>

#include "base/handles_win32.h"

namespace kelvane {

// The DPI of the monitor a window is on; the system DPI before per-monitor
// awareness exists or for a null window.
int DpiOf(HWND window) noexcept;

// The DPI of the monitor that `beside` is on (the primary monitor for null),
// for a window about to open there; the system DPI where monitors have no
// DPI of their own.
int MonitorDpi(HWND beside = nullptr) noexcept;

// The top-left corner that centres a window of this size on the work area of
// the monitor `beside` is on (the primary monitor for null).
POINT CenterOnWorkArea(int width, int height, HWND beside = nullptr) noexcept;

// The user's message font at `points` for `dpi`; weight 0 keeps its own.
// For windows whose layout is fixed in 96-DPI units.
UniqueFont CreateMessageFont(int dpi, double points, LONG weight = 0, bool underline = false);
// The user's message font in the size the user chose, times `percent`.
// For windows that size themselves to their text.
UniqueFont CreateUserSizedMessageFont(int percent, LONG weight = 0, bool underline = false);

std::wstring WindowText(HWND window);

// The full path of the running program.
std::wstring ModulePath();

// A variable of the process environment as UTF-8; empty when it is not set.
std::string EnvironmentVariable(std::string_view name);

// The user's roaming application-data folder as the system keeps it; empty
// when the system cannot say.
std::string RoamingAppDataFolder();

}  // namespace kelvane
