#pragma once
// Windows of the Wine-side tests, waiting without fixed sleeps, and running
// test steps from inside modal loops (menus, dialogs) that the test started.
#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>

namespace kelvane::testing {

// Dispatches this thread's messages until `done` holds or `timeout` has
// passed; returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Registers a window class of the test program; registering it again is harmless.
inline void RegisterTestWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// Runs queued steps one at a time, each from whichever message loop of this
// thread runs next, a modal one included.
class LaterSteps {
 public:
  LaterSteps();
  ~LaterSteps();
  LaterSteps(const LaterSteps&) = delete;
  LaterSteps& operator=(const LaterSteps&) = delete;

  void Add(std::function<void()> step);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void RunNext();

  HWND window_ = nullptr;
  std::deque<std::function<void()>> steps_;
};

}  // namespace kelvane::testing
