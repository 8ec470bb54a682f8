// Second process for the window-hiding tests: owns a normal, a minimised and
// a maximised top-level window titled "<prefix> normal", "<prefix> minimised"
// and "<prefix> maximised", and ends when all three are closed or after two
// minutes, whichever comes first.
//
// Posting kStopReading (WM_APP + 1) to any of its windows makes it a program
// that hangs: its one thread stops reading messages for wParam milliseconds.
#include <windows.h>

#include <string>

namespace {

constexpr UINT kLifetimeMs = 120000;
constexpr UINT kStopReading = WM_APP + 1;

struct Owner {
  int open = 0;
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == kStopReading) {
    Sleep(static_cast<DWORD>(wParam));
    return 0;
  }
  if (message == WM_DESTROY) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner != nullptr && --owner->open == 0) PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring prefix = commandLine != nullptr && *commandLine != L'\0' ? commandLine : L"Window owner";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"KelvaneWindowOwner";
  if (RegisterClassExW(&wc) == 0) return 1;

  Owner owner;
  const struct {
    const wchar_t* suffix;
    int show;
  } windows[] = {{L" normal", SW_SHOWNORMAL}, {L" minimised", SW_SHOWMINIMIZED}, {L" maximised", SW_SHOWMAXIMIZED}};
  for (const auto& w : windows) {
    const std::wstring title = prefix + w.suffix;
    HWND window = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, nullptr,
                                  nullptr, instance, &owner);
    if (window == nullptr) return 2;
    ++owner.open;
    ShowWindow(window, w.show);
  }

  SetTimer(nullptr, 0, kLifetimeMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
