#pragma once
// Windows that exist only in memory: each has a previous procedure that logs
// its calls, and messages are delivered through the installed hook as the
// platform would.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tray/message_hook.h"

namespace kelvane::testing {

class FakeHookSystem : public HookSystem {
 public:
  struct Window {
    bool ownProcess = true;
    bool wide = true;
    std::function<std::intptr_t(const WindowMessage&)> previous;
  };

  std::map<WindowId, Window> windows;
  std::map<WindowId, HookRecord*> installed;
  std::uint32_t installError = 0;
  std::vector<std::string> log;
  int restores = 0;

  void AddWindow(WindowId id, bool ownProcess = true) { windows[id] = Window{ownProcess, true, nullptr}; }

  // Sends a message to the window as the system would.
  std::intptr_t Deliver(WindowId window, std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    const WindowMessage m{window, message, wParam, lParam};
    const auto hook = installed.find(window);
    if (hook != installed.end()) return RunHook(hook->second, m);
    return Previous(m);
  }

  bool IsWindow(WindowId window) const override { return windows.count(window) != 0; }
  bool BelongsToThisProcess(WindowId window) const override { return windows.at(window).ownProcess; }
  bool IsWideWindow(WindowId window) const override { return windows.at(window).wide; }
  std::uint32_t Install(HookRecord& record) override {
    if (installError != 0) return installError;
    installed[record.window] = &record;
    return 0;
  }
  void Restore(HookRecord& record) override {
    ++restores;
    log.push_back("restore");
    installed.erase(record.window);
  }
  std::intptr_t CallPrevious(HookRecord&, const WindowMessage& message) override { return Previous(message); }
  void SendNullMessage(WindowId window, bool) override { Deliver(window, kNullMessage); }

 private:
  std::intptr_t Previous(const WindowMessage& m) {
    log.push_back("prev:" + std::to_string(m.uMsg));
    const auto window = windows.find(m.window);
    if (window == windows.end() || !window->second.previous) return 0;
    return window->second.previous(m);
  }
};

class RecordingReporter : public ErrorReporter {
 public:
  std::vector<std::string> reports;  // event-log texts
  void Report(const HookError& error) override { reports.push_back(EventLogText(error)); }
};

}  // namespace kelvane::testing
