#include "bosskeys/window_hiding.h"

#include <algorithm>
#include <array>

namespace kelvane {

bool IsExcludedWindowTitle(std::string_view title) {
  static constexpr std::array<std::string_view, 10> kExcluded{
      "DDE Server Window", "Start Menu",       "Windows Task Manager", "OLEChannelWnd",         "Spooler process",
      "Power Meter",       "Connections Tray", "SENS",                 "WIN95 RPC Wmsg Window", "Program Manager",
  };
  return std::find(kExcluded.begin(), kExcluded.end(), title) != kExcluded.end();
}

int RestoreCommand(int placementShowCommand) {
  // Showing a minimised window with its own placement command would also
  // activate it, taking the focus from the window the user returns to.
  return placementShowCommand == kShowMinimized ? kShowMinNoActive : placementShowCommand;
}

void WindowHider::HideAllWindows() {
  for (const TopLevelWindow& window : windows_.EnumerateWindows()) {
    // Our own windows stay whatever their title: the prompt has disabled the
    // main window, so a hidden prompt could not be brought back, and the
    // firing would wait unseen.
    if (window.ownProcess) continue;
    if (window.title.empty() || !window.visible || IsExcludedWindowTitle(window.title)) continue;
    hidden_.push_back({window.handle, window.showCommand});
    windows_.SetShowState(window.handle, kShowHide);
  }
  windows_.InvalidateDesktop();
}

void WindowHider::ShowHiddenWindows() {
  // Bottom first, so that each shown window lands above the ones that were
  // below it and the one that was on top is on top again.
  for (auto it = hidden_.rbegin(); it != hidden_.rend(); ++it) {
    // A window that has gone in the meantime is skipped.
    windows_.SetShowState(it->handle, RestoreCommand(it->showCommand));
  }
  windows_.InvalidateDesktop();
  hidden_.clear();
}

}  // namespace kelvane
