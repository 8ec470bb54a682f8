#include "core/main_dialogs_win32.h"

#include "options/frm_adv_options_win32.h"
#include "prompt/frm_prompt_win32.h"

namespace kelvane {

std::optional<PromptAnswer> MainDialogsWin32::RunPrompt(const std::string& actionName, int timeoutSeconds) {
  return ShowPromptDialog(owner_.OwnerWindow(), actionName, owner_.OwnerIcon(), timeoutSeconds);
}

void MainDialogsWin32::RunOptionsDialog(const OptionsSettings& settings) {
  ShowOptionsDialog(owner_.OwnerWindow(), owner_.OwnerIcon(), OptionsServices{settings, shell_, registry_});
}

TrayMenuCommand MainDialogsWin32::RunTrayMenu() { return trayForm_.ShowPopup(owner_.OwnerWindow()); }

void MainDialogsWin32::SetTrayMenuEnabledCheck(bool checked) { trayForm_.SetEnabledChecked(checked); }

// The about box belongs to the hidden tray form, not to the main window, so
// the main window stays usable while it is open.
void MainDialogsWin32::RunAboutBox() { about_.ShowModal(nullptr); }

void MainDialogsWin32::CloseAboutBox() { about_.Close(); }

}  // namespace kelvane
