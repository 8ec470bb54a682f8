#include "win32/support/message_pump.h"

namespace kelvane::testing {
namespace {

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kStepIntervalMs = 30;
constexpr const wchar_t* kClassName = L"KelvaneTestSteps";

}  // namespace

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

LaterSteps::LaterSteps() {
  RegisterTestWindowClass(kClassName, WindowProc);
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
}

LaterSteps::~LaterSteps() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void LaterSteps::Add(std::function<void()> step) {
  steps_.push_back(std::move(step));
  SetTimer(window_, kStepTimer, kStepIntervalMs, nullptr);
}

LRESULT CALLBACK LaterSteps::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<LaterSteps*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_TIMER && wParam == kStepTimer && self != nullptr) {
    self->RunNext();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void LaterSteps::RunNext() {
  if (steps_.empty()) {
    KillTimer(window_, kStepTimer);
    return;
  }
  // Taken off first: a step may itself run a loop that fires this timer.
  std::function<void()> step = std::move(steps_.front());
  steps_.pop_front();
  step();
}

}  // namespace kelvane::testing
