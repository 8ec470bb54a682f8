#include "core/app_win32.h"

#include <commctrl.h>

#include "core/handles_win32.h"

namespace kelvane {
namespace {

LRESULT CALLBACK PlaceholderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PlaceholderProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"KelvaneMain";
  if (RegisterClassExW(&wc) == 0) return 1;
  UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L" Kelvane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 320, 240, nullptr, nullptr, instance, nullptr));
  if (!window) return 1;
  ShowWindow(window.get(), SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window.release();  // Destroyed by the message loop's end.
  return static_cast<int>(msg.wParam);
}

}  // namespace kelvane
