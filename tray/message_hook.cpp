#include "tray/message_hook.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

namespace kelvane {
namespace {

// The platform's code for an exhausted heap (ERROR_NOT_ENOUGH_MEMORY).
constexpr std::uint32_t kOutOfMemoryError = 8;

bool Watches(WatchWhen when, WatchWhen phase) {
  return (static_cast<int>(when) & static_cast<int>(phase)) != 0;
}

}  // namespace

MessageTable::AddResult MessageTable::Add(std::uint32_t message) {
  if (message == ALL_MESSAGES) {
    count_ = -1;
    return AddResult::Added;
  }
  // The null message is how a hook is told to end; it is never watched.
  if (message == kNullMessage) return AddResult::Added;
  if (count_ < 0) count_ = 0;  // "every message" has no slots in use
  if (Contains(message)) return AddResult::Added;
  const auto used = slots_.begin() + count_;
  const auto freeSlot = std::find(slots_.begin(), used, 0u);
  if (freeSlot != used) {
    *freeSlot = message;
    return AddResult::Added;
  }
  if (count_ >= MSG_ENTRIES) return AddResult::Overflow;
  slots_[static_cast<std::size_t>(count_++)] = message;
  return AddResult::Added;
}

bool MessageTable::Delete(std::uint32_t message) {
  if (message == ALL_MESSAGES) {
    count_ = 0;
    return true;
  }
  if (message == kNullMessage || count_ <= 0) return false;
  const auto used = slots_.begin() + count_;
  const auto slot = std::find(slots_.begin(), used, message);
  if (slot == used) return false;
  *slot = 0;
  return true;
}

bool MessageTable::Contains(std::uint32_t message) const {
  if (count_ < 0) return true;
  if (message == kNullMessage) return false;
  return std::find(slots_.begin(), slots_.begin() + count_, message) != slots_.begin() + count_;
}

std::string EventLogText(const HookError& error) {
  return error.ownerClass + "." + error.routine + ": " + error.message;
}

std::string MessageBoxText(const HookError& error) { return error.message + "."; }

std::string MessageBoxTitle(const HookError& error) { return "Error in " + error.ownerClass + "." + error.routine; }

std::string MessageNotFoundText(std::uint32_t message) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(message));
  return std::string("Message &H") + hex + " not found in table";
}

std::intptr_t RunHook(HookRecord* record, const WindowMessage& message) {
  HookRecord& hook = *record;
  ++hook.nesting;
  bool handled = false;
  std::intptr_t result = 0;
  if (hook.handler != nullptr && hook.before.Contains(message.uMsg)) {
    hook.handler->WndProc(true, handled, result, message, hook.userValue);
  }
  // A window being destroyed must see its own WM_DESTROY, whatever the
  // handler wants, or it would leak what it frees there.
  if (message.uMsg == kDestroyMessage) hook.shutdown = HookShutdown::Destroying;
  if (!handled || message.uMsg == kDestroyMessage) {
    result = hook.system->CallPrevious(hook, message);
    if (hook.nesting == 1 && hook.shutdown != HookShutdown::Active) {
      WindowHooks::EndHook(record);
      return result;
    }
    if (hook.handler != nullptr && hook.after.Contains(message.uMsg)) {
      hook.handler->WndProc(false, handled, result, message, hook.userValue);
    }
  }
  --hook.nesting;
  // The end was asked for while this outermost call was past its previous
  // procedure (from a handler, or with the message handled): end now rather
  // than leave the hook, and its record, on the window for good.
  if (hook.nesting == 0 && hook.shutdown != HookShutdown::Active) {
    WindowHooks::EndHook(record);
  }
  return result;
}

WindowHooks::WindowHooks(std::string ownerClass, HookSystem& system, ErrorReporter& reporter)
    : ownerClass_(std::move(ownerClass)), system_(system), reporter_(reporter) {}

WindowHooks::~WindowHooks() { UnhookAll(); }

bool WindowHooks::HookWindow(WindowId window, HookHandler* handler, std::intptr_t userValue) {
  bool wide = false;
  return HookWindow(window, handler, userValue, wide);
}

bool WindowHooks::HookWindow(WindowId window, HookHandler* handler, std::intptr_t userValue, bool& wide) {
  if (!system_.IsWindow(window)) {
    Report("HookWindow", "Invalid window handle");
    return false;
  }
  if (!system_.BelongsToThisProcess(window)) {
    Report("HookWindow", "Window handle belongs to another process");
    return false;
  }
  if (handler == nullptr) {
    Report("HookWindow", "Callback method not found");
    return false;
  }
  auto* record = new (std::nothrow) HookRecord;
  if (record == nullptr) {
    Report("HookWindow", "VirtualAlloc failed, error: " + std::to_string(kOutOfMemoryError));
    return false;
  }
  registryCreated_ = true;
  if (IsHooked(window)) {
    delete record;
    Report("HookWindow", "Window handle is already subclassed");
    return false;
  }
  if (wide) wide = system_.IsWideWindow(window);
  record->window = window;
  record->handler = handler;
  record->userValue = userValue;
  record->wide = wide;
  record->system = &system_;
  record->owner = this;
  if (const std::uint32_t error = system_.Install(*record); error != 0) {
    // Nothing was installed, so the window stays free for a later attempt.
    delete record;
    Report("HookWindow", "SetWindowLong failed, error #" + std::to_string(error));
    return false;
  }
  hooks_.push_back(record);
  return true;
}

void WindowHooks::UnhookWindow(WindowId window) {
  HookRecord* record = FindHook(window);
  if (record == nullptr) return;
  record->shutdown = HookShutdown::RemovalRequested;
  record->before.Clear();
  record->after.Clear();
  record->handler = nullptr;
  record->owner = nullptr;
  Forget(window);
  if (record->nesting == 0 && !system_.IsWindow(window)) {
    // The window went without its WM_DESTROY reaching the hook; no message
    // will come through it again.
    EndHook(record);
    return;
  }
  // Ends the hook at once when no call through it is in progress, else at
  // the end of the outermost one.
  system_.SendNullMessage(window, record->wide);
}

void WindowHooks::UnhookAll() {
  while (!hooks_.empty()) UnhookWindow(hooks_.back()->window);
}

void WindowHooks::WatchMsg(WindowId window, std::uint32_t message, WatchWhen when) {
  HookRecord* record = FindHook(window);
  if (record == nullptr) return;
  if (Watches(when, WatchWhen::Before)) AddMsg(record->before, message);
  if (Watches(when, WatchWhen::After)) AddMsg(record->after, message);
}

void WindowHooks::UnwatchMsg(WindowId window, std::uint32_t message, WatchWhen when) {
  HookRecord* record = FindHook(window);
  if (record == nullptr) return;
  if (Watches(when, WatchWhen::Before)) DelMsg(record->before, message);
  if (Watches(when, WatchWhen::After)) DelMsg(record->after, message);
}

std::intptr_t WindowHooks::CallPrevProc(WindowId window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  HookRecord* record = FindHook(window);
  if (record == nullptr) return 0;
  return system_.CallPrevious(*record, WindowMessage{window, message, wParam, lParam});
}

std::intptr_t WindowHooks::HookUserValue(WindowId window) {
  HookRecord* record = FindHook(window);
  return record == nullptr ? 0 : record->userValue;
}

void WindowHooks::HookUserValue(WindowId window, std::intptr_t value) {
  if (HookRecord* record = FindHook(window)) record->userValue = value;
}

bool WindowHooks::IsHooked(WindowId window) const {
  return std::any_of(hooks_.begin(), hooks_.end(), [window](const HookRecord* r) { return r->window == window; });
}

HookRecord* WindowHooks::FindHook(WindowId window) {
  if (!registryCreated_) {
    Report("FindHook", "No hook has been set up");
    return nullptr;
  }
  const auto found =
      std::find_if(hooks_.begin(), hooks_.end(), [window](const HookRecord* r) { return r->window == window; });
  if (found == hooks_.end()) {
    Report("FindHook", "No hook for ID " + std::to_string(window));
    return nullptr;
  }
  return *found;
}

void WindowHooks::AddMsg(MessageTable& table, std::uint32_t message) {
  if (table.Add(message) == MessageTable::AddResult::Overflow) {
    Report("AddMsg", "Message table overflow: a table holds at most 32 messages; watch ALL_MESSAGES instead");
  }
}

void WindowHooks::DelMsg(MessageTable& table, std::uint32_t message) {
  if (!table.Delete(message)) Report("DelMsg", MessageNotFoundText(message));
}

void WindowHooks::Report(const char* routine, std::string message) {
  reporter_.Report(HookError{ownerClass_, routine, std::move(message)});
}

void WindowHooks::EndHook(HookRecord* record) {
  if (record->owner != nullptr) record->owner->Forget(record->window);
  record->system->Restore(*record);
  delete record;
}

void WindowHooks::Forget(WindowId window) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [window](const HookRecord* r) { return r->window == window; }),
               hooks_.end());
}

}  // namespace kelvane
