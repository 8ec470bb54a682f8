#include "bosskeys/hotkey_win32.h"

#include <string_view>

#include "base/value_codec.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

constexpr const wchar_t* kOwnerProperty = L"Kelvane.HotKeyWindowProcs";
constexpr DWORD kMessageBufferChars = 500;
constexpr int kAtomNameChars = 256;
// The key poll's timer on a hooked window; an id unlikely to clash with a
// timer of the window's own procedure.
constexpr UINT_PTR kKeyPollTimer = 0x4B50;
// Well under the keyboard's repeat delay and a person's fastest second tap.
constexpr UINT kKeyPollMs = 50;

}  // namespace

std::string SystemErrorText(DWORD code) {
  wchar_t buffer[kMessageBufferChars];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, kMessageBufferChars, nullptr);
  std::string text = length == 0 ? std::string() : std::string(TrimBlanks(Narrow({buffer, length}), " \t\r\n"));
  return text.empty() ? "Error " + std::to_string(code) : text;
}

std::uint16_t Win32HotKeyRegistrar::AddGlobalAtom(const std::string& name) {
  const ATOM atom = GlobalAddAtomW(Widen(name).c_str());
  if (atom == 0) lastError_ = GetLastError();
  return atom;
}

std::string Win32HotKeyRegistrar::GlobalAtomName(std::uint16_t atom) const {
  wchar_t buffer[kAtomNameChars];
  const UINT length = GlobalGetAtomNameW(atom, buffer, kAtomNameChars);
  return length == 0 ? std::string() : Narrow({buffer, length});
}

void Win32HotKeyRegistrar::DeleteGlobalAtom(std::uint16_t atom) {
  // Failure means the atom is gone already; there is nothing left to release.
  GlobalDeleteAtom(atom);
}

bool Win32HotKeyRegistrar::RegisterHotKey(WindowId window, int id, std::uint32_t modifiers, std::uint32_t vkey) {
  if (::RegisterHotKey(ToHwnd(window), id, modifiers, vkey)) return true;
  lastError_ = GetLastError();
  return false;
}

bool Win32HotKeyRegistrar::UnregisterHotKey(WindowId window, int id) {
  return ::UnregisterHotKey(ToHwnd(window), id) != FALSE;
}

Win32HotKeyWindowProcs::~Win32HotKeyWindowProcs() {
  while (!windows_.empty()) Unhook(ToWindowId(windows_.begin()->first));
}

void Win32HotKeyWindowProcs::Hook(WindowId window, HotKeyMessageSink& sink) {
  const HWND hwnd = ToHwnd(window);
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SharedProc)) return;
  // Windows of other processes refuse both calls; such a window stays as it is.
  if (!SetPropW(hwnd, kOwnerProperty, this)) return;
  windows_[hwnd] = {nullptr, &sink};
  SetLastError(ERROR_SUCCESS);
  const LONG_PTR previous = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedProc));
  if (previous == 0 && GetLastError() != ERROR_SUCCESS) {
    Forget(hwnd);
    return;
  }
  windows_[hwnd].previous = reinterpret_cast<WNDPROC>(previous);
}

void Win32HotKeyWindowProcs::Unhook(WindowId window) {
  const HWND hwnd = ToHwnd(window);
  const auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  // Fails only for a window that has been destroyed meanwhile.
  if (it->second.previous != nullptr) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
  }
  Forget(hwnd);
}

bool Win32HotKeyWindowProcs::StartKeyPoll(WindowId window) {
  const HWND hwnd = ToHwnd(window);
  if (windows_.count(hwnd) == 0) return false;
  return SetTimer(hwnd, kKeyPollTimer, kKeyPollMs, nullptr) != 0;
}

void Win32HotKeyWindowProcs::StopKeyPoll(WindowId window) {
  // Fails only when no poll runs or the window is gone, which ends its timers.
  KillTimer(ToHwnd(window), kKeyPollTimer);
}

bool Win32HotKeyWindowProcs::IsKeyDown(std::uint32_t vkey) const {
  // The key's state now, not as this thread's queue last saw it: the hotkey
  // messages are all this thread gets of a key that another window has.
  return (static_cast<unsigned short>(GetAsyncKeyState(static_cast<int>(vkey))) & 0x8000) != 0;
}

void Win32HotKeyWindowProcs::Forget(HWND window) {
  RemovePropW(window, kOwnerProperty);
  windows_.erase(window);
}

LRESULT CALLBACK Win32HotKeyWindowProcs::SharedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = static_cast<Win32HotKeyWindowProcs*>(GetPropW(window, kOwnerProperty));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->OnMessage(window, message, wParam, lParam);
}

LRESULT Win32HotKeyWindowProcs::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return DefWindowProcW(window, message, wParam, lParam);
  // Copied: a handler may unhook the window while the message is handled.
  const Hooked hooked = it->second;
  if (message == WM_TIMER && wParam == kKeyPollTimer) {
    // The poll is this module's own; the previous procedure never asked for it.
    hooked.sink->OnKeyPoll(ToWindowId(window));
    return 0;
  }
  if (message == WM_HOTKEY) {
    try {
      hooked.sink->OnHotKey(ToWindowId(window), wParam, HIWORD(lParam), LOWORD(lParam));
    } catch (...) {
      // Nothing may leave a window procedure; the message is passed on all the same.
    }
  }
  const LRESULT result = hooked.previous != nullptr ? CallWindowProcW(hooked.previous, window, message, wParam, lParam)
                                                    : DefWindowProcW(window, message, wParam, lParam);
  // A handle that is reused later must not find this record.
  if (message == WM_NCDESTROY) Forget(window);
  return result;
}

}  // namespace kelvane
