#pragma once
// Fakes of the boss-key seams: atoms with use counts and hotkey
// registrations, window procedures, and a desktop of top-level windows.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bosskeys/hotkey_api.h"
#include "bosskeys/hotkey_hook.h"
#include "bosskeys/window_hiding.h"

namespace kelvane::testing {

// Atoms are counted like global atoms; registrations are logged by the name
// of the atom they use, so a registration under a released atom shows.
class FakeRegistrar : public HotKeyRegistrar {
 public:
  std::uint16_t AddGlobalAtom(const std::string& name) override {
    log.push_back("add " + name);
    for (auto& [atom, entry] : atoms_) {
      if (entry.name == name && entry.uses > 0) {
        ++entry.uses;
        return atom;
      }
    }
    const std::uint16_t atom = nextAtom_++;
    atoms_[atom] = {name, 1};
    return atom;
  }
  std::string GlobalAtomName(std::uint16_t atom) const override {
    const auto it = atoms_.find(atom);
    return it == atoms_.end() || it->second.uses == 0 ? std::string() : it->second.name;
  }
  void DeleteGlobalAtom(std::uint16_t atom) override {
    log.push_back("delete " + GlobalAtomName(atom));
    auto it = atoms_.find(atom);
    if (it == atoms_.end() || it->second.uses == 0) {
      ++overReleases;
      return;
    }
    --it->second.uses;
  }
  bool RegisterHotKey(WindowId window, int id, std::uint32_t modifiers, std::uint32_t vkey) override {
    const std::string name = GlobalAtomName(static_cast<std::uint16_t>(id));
    log.push_back("register " + name);
    EXPECT_EQ(name, KeyCombination(modifiers, vkey).UniqueAtomName()) << "registered under another atom";
    if (heldElsewhere.count(name) != 0) {
      lastError_ = kRefusal;
      return false;
    }
    registrations.insert({window, id});
    lastModifiers = modifiers;
    return true;
  }
  bool UnregisterHotKey(WindowId window, int id) override {
    log.push_back("unregister " + GlobalAtomName(static_cast<std::uint16_t>(id)));
    return registrations.erase({window, id}) != 0;
  }
  std::string LastErrorText() const override { return lastError_; }

  // Atoms added and not yet released.
  int OutstandingUses() const {
    int uses = 0;
    for (const auto& entry : atoms_) uses += entry.second.uses;
    return uses;
  }
  static constexpr const char* kRefusal = "Hot key is already registered.";
  std::vector<std::string> log;
  std::set<std::string> heldElsewhere;
  std::set<std::pair<WindowId, int>> registrations;
  std::uint32_t lastModifiers = 0;  // as the last accepted registration asked
  int overReleases = 0;

 private:
  struct Entry {
    std::string name;
    int uses = 0;
  };
  std::map<std::uint16_t, Entry> atoms_;
  std::uint16_t nextAtom_ = 0xC001;
  // What the system would still report from an unrelated earlier call.
  std::string lastError_ = "The operation completed successfully.";
};

// Hooked windows, their key polls and the keyboard.
class FakeWindowProcs : public HotKeyWindowProcs {
 public:
  void Hook(WindowId window, HotKeyMessageSink& sink) override {
    if (hooked.count(window) == 0) hooked[window] = &sink;
  }
  void Unhook(WindowId window) override { hooked.erase(window); }
  bool StartKeyPoll(WindowId window) override {
    if (noTimers || hooked.count(window) == 0) return false;
    polled.insert(window);
    return true;
  }
  void StopKeyPoll(WindowId window) override { polled.erase(window); }
  bool IsKeyDown(std::uint32_t vkey) const override { return keysDown.count(vkey) != 0; }

  // The system delivering WM_HOTKEY with `id` to a window.
  void Press(WindowId window, std::uintptr_t id, std::uint32_t modifiers, std::uint32_t vkey) {
    const auto it = hooked.find(window);
    if (it != hooked.end()) it->second->OnHotKey(window, id, vkey, modifiers);
  }
  // A tick of the window's key poll, if it runs.
  void Tick(WindowId window) {
    if (polled.count(window) != 0) hooked.at(window)->OnKeyPoll(window);
  }

  std::map<WindowId, HotKeyMessageSink*> hooked;
  std::set<WindowId> polled;
  std::set<std::uint32_t> keysDown;
  bool noTimers = false;
};

// A desktop of top-level windows, topmost first.
class FakeDesktop : public WindowList {
 public:
  // A window of another program, or with `ownProcess` one of this program's.
  WindowId Add(std::string title, bool visible, int showCommand, bool ownProcess = false) {
    const WindowId handle = nextHandle_++;
    windows.push_back({handle, std::move(title), visible, showCommand, ownProcess, kOtherProcess, "FakeWindow"});
    return handle;
  }
  void Destroy(WindowId handle) { std::erase_if(windows, [&](const auto& w) { return w.handle == handle; }); }
  TopLevelWindow& Get(WindowId handle) {
    for (auto& window : windows) {
      if (window.handle == handle) return window;
    }
    ADD_FAILURE() << "no window " << handle;
    return windows.front();
  }

  std::vector<TopLevelWindow> EnumerateWindows() override {
    ++enumerations;
    return windows;
  }
  int enumerations = 0;
  bool SetShowState(WindowId handle, int showCommand) override {
    for (auto& window : windows) {
      if (window.handle != handle) continue;
      log.push_back((showCommand == kShowHide ? "hide " : "show ") + window.title);
      requested[handle] = showCommand;
      window.visible = showCommand != kShowHide;
      if (window.visible) window.showCommand = showCommand == kShowMinNoActive ? kShowMinimized : showCommand;
      return true;
    }
    return false;
  }
  void InvalidateDesktop() override { ++invalidations; }

  static constexpr std::uint32_t kOtherProcess = 4242;
  std::vector<TopLevelWindow> windows;
  std::vector<std::string> log;
  // The last show command asked for each window.
  std::map<WindowId, int> requested;
  int invalidations = 0;

 private:
  WindowId nextHandle_ = 0x10010;
};

// The hidden-windows record in memory; its writes and removals go to `log`
// when one is given, so that their order among other requests shows.
class MemoryHiddenRecord : public HiddenWindowsRecord {
 public:
  explicit MemoryHiddenRecord(std::vector<std::string>* log = nullptr) : log_(log) {}
  std::string Read() override { return text; }
  void Write(const std::string& written) override {
    text = written;
    if (log_ != nullptr) log_->push_back("record");
  }
  void Clear() override {
    text.clear();
    if (log_ != nullptr) log_->push_back("clear record");
  }

  std::string text;

 private:
  std::vector<std::string>* log_;
};

}  // namespace kelvane::testing
