#pragma once
// The window-owner helper (tests/win32/helpers/window_owner.cpp) as the
// end-to-end tests use it: another program's windows beside the program
// under test, one of which can stop reading its messages.
#include <windows.h>

#include <string>

#include "e2e/support/driver.h"

namespace kelvane::e2e {

// Starts the helper with windows titled "<prefix> normal", "<prefix> minimised"
// and "<prefix> maximised".
inline std::wstring WindowOwnerCommand(const std::wstring& prefix) {
  return L"\"" + TestFolder() + L"\\kelvane_window_owner.exe\" " + prefix;
}

inline HWND OwnedWindow(const std::wstring& prefix, const wchar_t* suffix) {
  return FindWindowW(L"KelvaneWindowOwner", (prefix + suffix).c_str());
}

// The three windows of the helper for `prefix`: there and all hidden.
inline bool AllHidden(const std::wstring& prefix) {
  const HWND normal = OwnedWindow(prefix, L" normal");
  return normal != nullptr && !IsWindowVisible(normal) && !IsWindowVisible(OwnedWindow(prefix, L" minimised")) &&
         !IsWindowVisible(OwnedWindow(prefix, L" maximised"));
}

// The three shown, each in the state it was made in.
inline bool EachInItsState(const std::wstring& prefix) {
  const HWND normal = OwnedWindow(prefix, L" normal");
  const HWND minimised = OwnedWindow(prefix, L" minimised");
  const HWND maximised = OwnedWindow(prefix, L" maximised");
  return normal != nullptr && IsWindowVisible(normal) && IsWindowVisible(minimised) && IsWindowVisible(maximised) &&
         !IsIconic(normal) && !IsZoomed(normal) && IsIconic(minimised) && IsZoomed(maximised);
}

// Makes the thread of `window` stop reading messages for a minute, as a
// program that hangs; true once it no longer answers.
inline bool StopReadingMessages(HWND window) {
  constexpr UINT kStopReading = WM_APP + 1;
  if (!PostMessageW(window, kStopReading, 60000, 0)) return false;
  return WaitFor([&] {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result) == 0;
  });
}

}  // namespace kelvane::e2e
