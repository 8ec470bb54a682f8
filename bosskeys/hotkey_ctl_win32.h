#pragma once
// The hotkey controls of a window: each with a hidden window of its own
// that the hotkey module hooks, so that the system's hotkey message reaches it.
#include <windows.h>

#include "bosskeys/hotkey_ctl.h"
#include "bosskeys/hotkey_win32.h"
#include "base/handles_win32.h"

namespace kelvane {

// Owns the registrar, the shared window procedure and the hotkey module that
// the controls use. It must outlive its controls.
class HotKeyModule {
 public:
  explicit HotKeyModule(HINSTANCE instance);
  HotKeyModule(const HotKeyModule&) = delete;
  HotKeyModule& operator=(const HotKeyModule&) = delete;

  HINSTANCE Instance() const { return instance_; }
  HotKeyRegistrar& Registrar() { return registrar_; }
  HotKeyHook& Hook() { return hook_; }

 private:
  HINSTANCE instance_;
  Win32HotKeyRegistrar registrar_;
  Win32HotKeyWindowProcs procs_;
  HotKeyHook hook_{procs_};
};

// A hotkey control on a message-only window created for it.
class HotKeyCtlWindow {
 public:
  HotKeyCtlWindow(HotKeyModule& module, SettingsStore& store, HotKeyCtlListener& listener);
  HotKeyCtlWindow(const HotKeyCtlWindow&) = delete;
  HotKeyCtlWindow& operator=(const HotKeyCtlWindow&) = delete;

  HotKeyCtl& Control() { return control_; }
  const HotKeyCtl& Control() const { return control_; }
  HWND Window() const { return window_.get(); }

 private:
  // Declared first: the control unhooks the window before it is destroyed.
  UniqueWindow window_;
  HotKeyCtl control_;
};

// Fills a combo box with the key names, replacing what it held.
void LoadHotKeyCombo(HWND cmbKey);

}  // namespace kelvane
