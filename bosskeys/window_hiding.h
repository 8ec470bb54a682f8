#pragma once
// Hiding every visible top-level window of the desktop and showing them
// again, each in the state it had.

#include <string>
#include <string_view>
#include <vector>

#include "bosskeys/hidden_record.h"
#include "bosskeys/hotkey_api.h"

namespace kelvane {

struct TopLevelWindow {
  WindowId handle = 0;
  std::string title;
  bool visible = false;
  int showCommand = kShowHide;  // from the window's placement
  // Owned by this program: the main window, the prompt, message boxes, dialogs.
  bool ownProcess = false;
  std::uint32_t processId = 0;
  std::string className = {};
};

// What window hiding needs from the system. None of it waits on another
// program's thread: a program that has stopped reading its messages must not
// stop this one's timer, tray and hotkeys.
class WindowList {
 public:
  virtual ~WindowList() = default;
  // Every top-level window of the desktop, topmost first.
  virtual std::vector<TopLevelWindow> EnumerateWindows() = 0;
  // Never waits: the request is handed to the window's own thread, which
  // carries it out when it next reads its messages. False when the window
  // no longer exists.
  virtual bool SetShowState(WindowId window, int showCommand) = 0;
  // Makes the whole desktop redraw, without waiting for any window to paint.
  virtual void InvalidateDesktop() = 0;
};

// Titles of system windows that are never hidden.
bool IsExcludedWindowTitle(std::string_view title);

// The show request that brings back a window hidden with this placement
// command: a minimised window comes back minimised without taking the
// focus, a maximised one maximised.
int RestoreCommand(int placementShowCommand);

// The recorded windows that may be shown again now, topmost first: those
// that still exist, are still invisible, and still belong to the process
// and class they had. A handle that names another window by now, or one of
// this program's own, is left alone; a window recorded twice comes once.
std::vector<HiddenWindow> WindowsToShowAgain(const std::vector<HiddenWindow>& recorded,
                                             const std::vector<TopLevelWindow>& desktop);

// Window lists and the hide and show routines (`ModEnumWin`).
class WindowHider {
 public:
  // Without a record, hidden windows live only as long as this object.
  explicit WindowHider(WindowList& windows, HiddenWindowsRecord* record = nullptr)
      : windows_(windows), record_(record) {}

  void ResetWindowLists() { hidden_.clear(); }
  // Hides every visible window of other programs that has a title and is
  // not excluded, and remembers it. Windows hidden by an earlier hide stay
  // remembered. The record holds them all before the first is hidden.
  void HideAllWindows();
  // Shows every remembered window again in its state, skipping those that
  // have gone, and forgets them; then the record goes.
  void ShowHiddenWindows();
  // Shows again what the record names and may be shown (WindowsToShowAgain),
  // each in its state, and removes the record: for a start after the
  // program died with windows hidden, and for the dying program itself.
  void ShowRecordedWindows();

  const std::vector<HiddenWindow>& Hidden() const { return hidden_; }

 private:
  void ShowBottomFirst(const std::vector<HiddenWindow>& windows);

  WindowList& windows_;
  HiddenWindowsRecord* record_;
  std::vector<HiddenWindow> hidden_;
};

}  // namespace kelvane
