#include "base/window_base_win32.h"

namespace kelvane {

WindowBase::~WindowBase() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool WindowBase::CreateOf(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title, int x, int y,
                          int width, int height, HWND owner, HICON icon) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &WindowBase::Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = className;
    if (RegisterClassExW(&wc) == 0) return false;
  }
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr, instance, this) !=
         nullptr;
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return Default(message, wParam, lParam);
}

LRESULT WindowBase::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
  }
  return result;
}

void ProcessPendingMessages() noexcept {
  // WM_QUIT is retrieved before input and timer messages; re-posting it at
  // once would hide those behind it. It is held until the queue is empty
  // and then posted again so the main loop still ends.
  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (quit) PostQuitMessage(quitCode);
}

void RunModalLoop(HWND dialog, HWND owner, const bool& done, const std::function<bool(const MSG&)>& swallow) noexcept {
  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  MSG msg;
  while (!done && IsWindow(dialog)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // Leave the quit request for the outer loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (swallow && swallow(msg)) continue;
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // As a dialog box ends: the owner takes input again before the dialog
  // hides, so that activation goes back to the owner and not to whatever
  // window of another program lies below.
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) ShowWindow(dialog, SW_HIDE);
  if (ownerWasEnabled) SetActiveWindow(owner);
}

}  // namespace kelvane
