#include "core/main_dialogs_win32.h"

#include "prompt/frm_prompt_win32.h"

namespace kelvane {

std::optional<PromptAnswer> MainDialogsWin32::RunPrompt(const std::string& actionName, int timeoutSeconds) {
  return ShowPromptDialog(owner_.OwnerWindow(), actionName, owner_.OwnerIcon(), timeoutSeconds);
}

void MainDialogsWin32::RunOptionsDialog() {
  // There is no options window yet; the caller saves the settings as it
  // would after one.
}

TrayMenuCommand MainDialogsWin32::RunTrayMenu() { return trayForm_.ShowPopup(owner_.OwnerWindow()); }

void MainDialogsWin32::SetTrayMenuEnabledCheck(bool checked) { trayForm_.SetEnabledChecked(checked); }

// The about box belongs to the hidden tray form, not to the main window, so
// the main window stays usable while it is open.
void MainDialogsWin32::RunAboutBox() { about_.ShowModal(nullptr); }

void MainDialogsWin32::CloseAboutBox() { about_.Close(); }

}  // namespace kelvane
