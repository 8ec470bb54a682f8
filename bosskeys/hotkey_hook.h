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
  // A tick of its window's key poll; true while it still waits for a key
  // to be released.
  virtual bool PollKeyRelease() = 0;
};

// Receives the hotkey messages and the key-poll ticks of hooked windows.
class HotKeyMessageSink {
 public:
  virtual ~HotKeyMessageSink() = default;
  virtual void OnHotKey(WindowId window, std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) = 0;
  virtual void OnKeyPoll(WindowId window) = 0;
};

// What the module needs from the system: putting its shared procedure in
// place of a window's procedure and back, a poll timer on a hooked window,
// and the keyboard's state. The procedure hands each hotkey message and each
// poll tick to the sink and passes every other message on to the previous
// procedure.
class HotKeyWindowProcs {
 public:
  virtual ~HotKeyWindowProcs() = default;
  // Does nothing for a window whose procedure is the shared one already.
  virtual void Hook(WindowId window, HotKeyMessageSink& sink) = 0;
  // Puts the previous procedure back and forgets the window.
  virtual void Unhook(WindowId window) = 0;
  // Ticks the sink's OnKeyPoll for a hooked window every few tens of
  // milliseconds until stopped; starting a running poll changes nothing.
  // False when the system has no timer to give.
  virtual bool StartKeyPoll(WindowId window) = 0;
  virtual void StopKeyPoll(WindowId window) = 0;
  // Whether the key is down at this moment, wherever the focus is.
  virtual bool IsKeyDown(std::uint32_t vkey) const = 0;
};

class HotKeyHook : public HotKeyMessageSink {
 public:
  explicit HotKeyHook(HotKeyWindowProcs& procs) : procs_(procs) {}
  HotKeyHook(const HotKeyHook&) = delete;
  HotKeyHook& operator=(const HotKeyHook&) = delete;

  void HookHotkeyWindow(WindowId window);
  // Also forgets the controls registered for that window and stops its poll.
  void UnhookHotkeyWindow(WindowId window);
  // Enters a control under its UniqueKey; a key that is taken keeps its control.
  void AddControl(HotKeyTarget& control);

  // For a control that waits for a key to be released: polls its window
  // until no control of that window waits any more. False when no poll can
  // be had.
  bool WatchKeyRelease(WindowId window) { return procs_.StartKeyPoll(window); }
  bool IsKeyDown(std::uint32_t vkey) const { return procs_.IsKeyDown(vkey); }

  // Hands the hotkey to every control of that window, in the order they were added.
  void OnHotKey(WindowId window, std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) override;
  void OnKeyPoll(WindowId window) override;

 private:
  HotKeyTarget* Find(const std::string& key) const;

  HotKeyWindowProcs& procs_;
  std::vector<std::pair<std::string, HotKeyTarget*>> controls_;
};

}  // namespace kelvane
