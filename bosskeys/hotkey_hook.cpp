#include "bosskeys/hotkey_hook.h"

#include <algorithm>

namespace kelvane {

void HotKeyHook::HookHotkeyWindow(WindowId window) { procs_.Hook(window, *this); }

void HotKeyHook::UnhookHotkeyWindow(WindowId window) {
  procs_.StopKeyPoll(window);
  procs_.Unhook(window);
  const std::string key = WindowKey(window);
  std::erase_if(controls_, [&](const auto& entry) { return entry.first == key; });
}

void HotKeyHook::AddControl(HotKeyTarget& control) {
  std::string key = control.UniqueKey();
  if (Find(key) == nullptr) controls_.emplace_back(std::move(key), &control);
}

void HotKeyHook::OnHotKey(WindowId window, std::uintptr_t id, std::uint32_t keyCode, std::uint32_t modifiers) {
  // A handler may stop a control (or run a nested message loop that does),
  // so each control is looked up again before it is called.
  std::vector<std::string> keys;
  for (const auto& [key, control] : controls_) {
    if (control->Window() == window) keys.push_back(key);
  }
  for (const auto& key : keys) {
    if (HotKeyTarget* control = Find(key)) control->RaiseKeyPressEvent(id, keyCode, modifiers);
  }
}

void HotKeyHook::OnKeyPoll(WindowId window) {
  bool waiting = false;
  for (const auto& [key, control] : controls_) {
    if (control->Window() == window && control->PollKeyRelease()) waiting = true;
  }
  // The poll runs only while a key is held, not for the life of the program.
  if (!waiting) procs_.StopKeyPoll(window);
}

HotKeyTarget* HotKeyHook::Find(const std::string& key) const {
  const auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& entry) { return entry.first == key; });
  return it == controls_.end() ? nullptr : it->second;
}

}  // namespace kelvane
