#pragma once
// Window-message hooks: an owner object sees chosen messages of a window of
// its own process before and/or after the window's previous procedure. The
// tables, the order of calls and the owner's registry live here; the
// platform installs the hook and calls `RunHook` for every message.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/window_id.h"

namespace kelvane {


struct WindowMessage {
  WindowId window = 0;
  std::uint32_t uMsg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

inline constexpr std::uint32_t ALL_MESSAGES = 0xFFFFFFFFu;  // -1 as a message number
inline constexpr int MSG_ENTRIES = 32;
inline constexpr std::uint32_t kNullMessage = 0x0000;  // WM_NULL
inline constexpr std::uint32_t kDestroyMessage = 0x0002;  // WM_DESTROY

enum class WatchWhen { Before = 1, After = 2, Both = 3 };

// A count and 32 message slots; count -1 stands for every message. A
// deleted message leaves its slot free (0) and the count as it was.
class MessageTable {
 public:
  enum class AddResult { Added, Overflow };
  AddResult Add(std::uint32_t message);
  // False when the message is not in the table.
  bool Delete(std::uint32_t message);
  bool Contains(std::uint32_t message) const;
  void Clear() { count_ = 0; }
  int count() const { return count_; }

 private:
  int count_ = 0;
  std::array<std::uint32_t, MSG_ENTRIES> slots_{};
};

// One failure of a hook operation, as it is reported.
struct HookError {
  std::string ownerClass;
  std::string routine;
  std::string message;
};

// "cSystray.HookWindow: Invalid window handle"
std::string EventLogText(const HookError& error);
// The message followed by "."
std::string MessageBoxText(const HookError& error);
// "Error in cSystray.HookWindow"
std::string MessageBoxTitle(const HookError& error);
// "Message &H200 not found in table"
std::string MessageNotFoundText(std::uint32_t message);

class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual void Report(const HookError& error) = 0;
};

class HookHandler {
 public:
  virtual ~HookHandler() = default;
  // bBefore: called before the previous procedure (true) or after it.
  // bHandled set in the before phase stands in for the previous procedure;
  // lReturn is what the window procedure returns; lUser is the window's
  // user value.
  virtual void WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& message,
                       std::intptr_t& lUser) = 0;
};

enum class HookShutdown { Active = 0, RemovalRequested = 1, Destroying = 2 };

class HookSystem;
class WindowHooks;

struct HookRecord {
  int nesting = 0;
  HookShutdown shutdown = HookShutdown::Active;
  WindowId window = 0;
  HookHandler* handler = nullptr;
  MessageTable before;
  MessageTable after;
  std::intptr_t userValue = 0;
  bool wide = false;
  HookSystem* system = nullptr;
  // The registry that lists the window; null once the owner let it go.
  WindowHooks* owner = nullptr;
};

// What the hook needs from the windowing system.
class HookSystem {
 public:
  virtual ~HookSystem() = default;
  virtual bool IsWindow(WindowId window) const = 0;
  virtual bool BelongsToThisProcess(WindowId window) const = 0;
  virtual bool IsWideWindow(WindowId window) const = 0;
  // Makes the hook the window's procedure, so that every message reaches
  // RunHook(&record, ...). Returns 0 on success, else the platform's error code.
  virtual std::uint32_t Install(HookRecord& record) = 0;
  // Puts the previous procedure back.
  virtual void Restore(HookRecord& record) = 0;
  virtual std::intptr_t CallPrevious(HookRecord& record, const WindowMessage& message) = 0;
  virtual void SendNullMessage(WindowId window, bool wide) = 0;
};

// Runs one message through a hook in the order before phase, previous
// procedure, after phase. When the hook ends itself (window destroyed or
// removal requested, and no other call through it in progress) it puts the
// previous procedure back and deletes `record`.
std::intptr_t RunHook(HookRecord* record, const WindowMessage& message);

// The hooks of one owner object, keyed by window.
class WindowHooks {
 public:
  WindowHooks(std::string ownerClass, HookSystem& system, ErrorReporter& reporter);
  ~WindowHooks();
  WindowHooks(const WindowHooks&) = delete;
  WindowHooks& operator=(const WindowHooks&) = delete;

  bool HookWindow(WindowId window, HookHandler* handler, std::intptr_t userValue = 0);
  // As above; when `wide` comes in true it is replaced by whether the window
  // is a wide-character window.
  bool HookWindow(WindowId window, HookHandler* handler, std::intptr_t userValue, bool& wide);
  void UnhookWindow(WindowId window);
  // Last hooked first.
  void UnhookAll();
  void WatchMsg(WindowId window, std::uint32_t message, WatchWhen when);
  void UnwatchMsg(WindowId window, std::uint32_t message, WatchWhen when);
  // 0 when the window is not hooked.
  std::intptr_t CallPrevProc(WindowId window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t HookUserValue(WindowId window);
  void HookUserValue(WindowId window, std::intptr_t value);

  bool IsHooked(WindowId window) const;

 private:
  friend std::intptr_t RunHook(HookRecord* record, const WindowMessage& message);
  HookRecord* FindHook(WindowId window);
  void AddMsg(MessageTable& table, std::uint32_t message);
  void DelMsg(MessageTable& table, std::uint32_t message);
  void Report(const char* routine, std::string message);
  // Puts the previous procedure back and lets the record go; only when no
  // call through the hook is in progress.
  static void EndHook(HookRecord* record);
  void Forget(WindowId window);

  std::string ownerClass_;
  HookSystem& system_;
  ErrorReporter& reporter_;
  bool registryCreated_ = false;
  // In the order of hooking.
  std::vector<HookRecord*> hooks_;
};

}  // namespace kelvane
