#pragma once
// The hotkey module: it hooks the window of each hotkey control so that the
// system's hotkey message reaches the controls registered for that window.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bosskeys/hotkey_api.h"

namespace kelvane {

// A control that takes hotkey messages of its window.
class HotKeyTarget {
 public:
  virtual ~HotKeyTarget() = default;
  virtual std::string UniqueKey() const = 0;
  virtual WindowId Window() const = 0;
  // A hotkey message: the id it came with, the key and the modifiers pressed.
  virtual void RaiseKeyPressEvent(std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) = 0;
};

// Receives the hotkey messages of hooked windows.
class HotKeyMessageSink {
 public:
  virtual ~HotKeyMessageSink() = default;
  virtual void OnHotKey(WindowId window, std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) = 0;
};

// What the module needs from the system: putting its shared procedure in
// place of a window's procedure and back. The procedure hands each hotkey
// message to the sink and passes every message on to the previous procedure.
class HotKeyWindowProcs {
 public:
  virtual ~HotKeyWindowProcs() = default;
  // Does nothing for a window whose procedure is the shared one already.
  virtual void Hook(WindowId window, HotKeyMessageSink& sink) = 0;
  // Puts the previous procedure back and forgets the window.
  virtual void Unhook(WindowId window) = 0;
};

class HotKeyHook : public HotKeyMessageSink {
 public:
  explicit HotKeyHook(HotKeyWindowProcs& procs) : procs_(procs) {}
  HotKeyHook(const HotKeyHook&) = delete;
  HotKeyHook& operator=(const HotKeyHook&) = delete;

  void HookHotkeyWindow(WindowId window);
  // Also forgets the controls registered for that window.
  void UnhookHotkeyWindow(WindowId window);
  // Enters a control under its UniqueKey; a key that is taken keeps its control.
  void AddControl(HotKeyTarget& control);

  // Hands the hotkey to every control of that window, in the order they were added.
  void OnHotKey(WindowId window, std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) override;

 private:
  HotKeyTarget* Find(const std::string& key) const;

  HotKeyWindowProcs& procs_;
  std::vector<std::pair<std::string, HotKeyTarget*>> controls_;
};

}  // namespace kelvane
