#pragma once
// A window class as a C++ class: the static procedure keeps `this` from
// WM_NCCREATE on and forwards every message to OnMessage.
#include <windows.h>

#include <functional>

namespace kelvane {

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use and creates the window.
  bool CreateOf(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title, int x, int y,
                int width, int height, HWND owner, HICON icon = nullptr);
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // Called after WM_NCDESTROY; the handle is gone.
  virtual void OnDestroyed() noexcept {}

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND hwnd_ = nullptr;
};

// Pumps every pending message, so that timers, the tray and hotkeys keep
// working inside long operations. A quit request is kept for the main loop.
// The program's one pump: the main window and the task runner both use it.
void ProcessPendingMessages() noexcept;

// Runs a nested message loop until `done` becomes true, with the owner
// disabled, as a modal dialog does, and hides `dialog` at the end. Dialog
// keys (Tab, Esc, Enter) go to the window `dialog`. A message for which
// `swallow` returns true is dropped.
void RunModalLoop(HWND dialog, HWND owner, const bool& done,
                  const std::function<bool(const MSG&)>& swallow = {}) noexcept;

}  // namespace kelvane
