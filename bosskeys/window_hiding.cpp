#include "bosskeys/window_hiding.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

std::vector<HiddenWindow> WindowsToShowAgain(const std::vector<HiddenWindow>& recorded,
                                             const std::vector<TopLevelWindow>& desktop) {
  std::unordered_map<WindowId, const TopLevelWindow*> byHandle;
  for (const TopLevelWindow& window : desktop) byHandle.emplace(window.handle, &window);
  std::vector<HiddenWindow> shown;
  for (const HiddenWindow& entry : recorded) {
    const auto found = byHandle.find(entry.handle);
    if (found == byHandle.end()) continue;
    const TopLevelWindow& now = *found->second;
    if (now.visible || now.ownProcess || now.processId != entry.processId || now.className != entry.className) continue;
    shown.push_back(entry);
    byHandle.erase(found);
  }
  return shown;
}

void WindowHider::HideAllWindows() {
  std::vector<HiddenWindow> hiding;
  for (const TopLevelWindow& window : windows_.EnumerateWindows()) {
    // Our own windows stay whatever their title: the prompt has disabled the
    // main window, so a hidden prompt could not be brought back, and the
    // firing would wait unseen.
    if (window.ownProcess) continue;
    if (window.title.empty() || !window.visible || IsExcludedWindowTitle(window.title)) continue;
    hiding.push_back({window.handle, window.showCommand, window.processId, window.className});
  }
  hidden_.insert(hidden_.end(), hiding.begin(), hiding.end());
  // Written first: a program that dies between the two leaves no window
  // hidden that the record does not name.
  if (record_ != nullptr) record_->Write(EncodeHiddenWindows(hidden_));
  for (const HiddenWindow& window : hiding) windows_.SetShowState(window.handle, kShowHide);
  windows_.InvalidateDesktop();
}

void WindowHider::ShowBottomFirst(const std::vector<HiddenWindow>& windows) {
  // Bottom first, so that each shown window lands above the ones that were
  // below it and the one that was on top is on top again.
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    // A window that has gone in the meantime is skipped.
    windows_.SetShowState(it->handle, RestoreCommand(it->showCommand));
  }
  windows_.InvalidateDesktop();
}

void WindowHider::ShowHiddenWindows() {
  ShowBottomFirst(hidden_);
  hidden_.clear();
  if (record_ != nullptr) record_->Clear();
}

void WindowHider::ShowRecordedWindows() {
  if (record_ == nullptr) return;
  const std::vector<HiddenWindow> recorded = DecodeHiddenWindows(record_->Read());
  // Nearly every start finds nothing recorded, and then need not go through
  // every window of the desktop.
  if (!recorded.empty()) {
    const std::vector<HiddenWindow> again = WindowsToShowAgain(recorded, windows_.EnumerateWindows());
    if (!again.empty()) ShowBottomFirst(again);
  }
  record_->Clear();
}

}  // namespace kelvane
