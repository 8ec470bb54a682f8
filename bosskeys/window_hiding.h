#pragma once
// Hiding every visible top-level window of the desktop and showing them
// again, each in the state it had.

#include <string>
#include <string_view>
#include <vector>

#include "bosskeys/hotkey_api.h"

namespace kelvane {

// Show commands, as a window's placement reports them and as a show request takes them.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinNoActive = 7;

struct TopLevelWindow {
  WindowId handle = 0;
  std::string title;
  bool visible = false;
  int showCommand = kShowHide;  // from the window's placement
  // Owned by this program: the main window, the prompt, message boxes, dialogs.
  bool ownProcess = false;
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

struct HiddenWindow {
  WindowId handle = 0;
  int showCommand = kShowHide;  // the placement's show command when it was hidden
};

// Titles of system windows that are never hidden.
bool IsExcludedWindowTitle(std::string_view title);

// The show request that brings back a window hidden with this placement
// command: a minimised window comes back minimised without taking the
// focus, a maximised one maximised.
int RestoreCommand(int placementShowCommand);

// Window lists and the hide and show routines (`ModEnumWin`).
class WindowHider {
 public:
  explicit WindowHider(WindowList& windows) : windows_(windows) {}

  void ResetWindowLists() { hidden_.clear(); }
  // Hides every visible window of other programs that has a title and is
  // not excluded, and remembers it. Windows hidden by an earlier hide stay
  // remembered.
  void HideAllWindows();
  // Shows every remembered window again in its state, skipping those that
  // have gone, and forgets them.
  void ShowHiddenWindows();

  const std::vector<HiddenWindow>& Hidden() const { return hidden_; }

 private:
  WindowList& windows_;
  std::vector<HiddenWindow> hidden_;
};

}  // namespace kelvane
