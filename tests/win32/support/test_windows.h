#pragma once
// Windows of the Wine-side tests, and waiting for a condition while this
// thread's messages are handled, up to a deadline.
#include <windows.h>

#include <chrono>

namespace kelvane::testing {

// Registers a window class of the test program; registering it again is harmless.
inline void RegisterTestWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

template <typename Condition>
bool PumpUntil(Condition done, std::chrono::milliseconds limit = std::chrono::seconds{10}) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace kelvane::testing
