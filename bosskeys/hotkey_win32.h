#pragma once
// The system side of hotkeys: global atoms and hotkey registrations, and the
// shared window procedure that hands WM_HOTKEY to the hotkey module.
#include <windows.h>

#include <map>
#include <string>

#include "bosskeys/hotkey_hook.h"
#include "base/window_id_win32.h"

namespace kelvane {

// The system's message for an error code, trimmed; "Error N" when it has none.
std::string SystemErrorText(DWORD code);

class Win32HotKeyRegistrar : public HotKeyRegistrar {
 public:
  std::uint16_t AddGlobalAtom(const std::string& name) override;
  std::string GlobalAtomName(std::uint16_t atom) const override;
  void DeleteGlobalAtom(std::uint16_t atom) override;
  bool RegisterHotKey(WindowId window, int id, std::uint32_t modifiers, std::uint32_t vkey) override;
  bool UnregisterHotKey(WindowId window, int id) override;
  std::string LastErrorText() const override { return SystemErrorText(lastError_); }

 private:
  DWORD lastError_ = ERROR_SUCCESS;
};

// Replaces the procedure of hooked windows by one shared procedure. The
// procedure finds this object through a property of the window, so several
// objects can hook windows side by side.
class Win32HotKeyWindowProcs : public HotKeyWindowProcs {
 public:
  Win32HotKeyWindowProcs() = default;
  // Puts back the procedure of every window still hooked.
  ~Win32HotKeyWindowProcs() override;
  Win32HotKeyWindowProcs(const Win32HotKeyWindowProcs&) = delete;
  Win32HotKeyWindowProcs& operator=(const Win32HotKeyWindowProcs&) = delete;

  void Hook(WindowId window, HotKeyMessageSink& sink) override;
  void Unhook(WindowId window) override;
  bool StartKeyPoll(WindowId window) override;
  void StopKeyPoll(WindowId window) override;
  bool IsKeyDown(std::uint32_t vkey) const override;

 private:
  struct Hooked {
    WNDPROC previous = nullptr;
    HotKeyMessageSink* sink = nullptr;
  };

  static LRESULT CALLBACK SharedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Forget(HWND window);

  std::map<HWND, Hooked> windows_;
};

}  // namespace kelvane
