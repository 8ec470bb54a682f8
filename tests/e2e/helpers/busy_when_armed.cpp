// A stand-in for kelvane.exe in the footprint bench's test: a window of
// Kelvane's main class whose Enable button, once clicked, reads "&Disable"
// and keeps one core busy for as long as the program runs. Its start, memory
// and disarmed CPU are as small as a program can have; only its armed CPU is
// far beyond the 500 ms tick.
#include <windows.h>

#include "base/control_ids.h"

namespace {

constexpr int kButtonId = static_cast<int>(kelvane::MainControl::cmdTimer);

DWORD WINAPI Spin(void*) {
  volatile unsigned long long n = 0;
  for (;;) n = n + 1;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
    SetWindowTextW(reinterpret_cast<HWND>(lParam), L"&Disable");
    CloseHandle(CreateThread(nullptr, 0, Spin, nullptr, 0, nullptr));
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kelvane::kMainWindowClass;
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, kelvane::kMainWindowClass, L"Kelvane", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                      nullptr, instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"&Enable", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26, window,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
