#pragma once
// The windows of other subsystems that the main window opens: the prompt,
// the options dialog, the tray menu and the about box.
#include <windows.h>

#include "about/frm_about_win32.h"
#include "core/main_form.h"
#include "options/registry_values_win32.h"
#include "options/shell_actions_win32.h"
#include "tray/frm_main1_win32.h"

namespace kelvane {

// The window that owns the dialogs, asked at the moment a dialog opens.
class DialogOwner {
 public:
  virtual HWND OwnerWindow() const = 0;
  virtual HICON OwnerIcon() const = 0;

 protected:
  ~DialogOwner() = default;
};

class MainDialogsWin32 final : public Dialogs {
 public:
  // `trayForm` and `about` must outlive the dialogs.
  MainDialogsWin32(const DialogOwner& owner, frmMain1& trayForm, frmAbout& about)
      : owner_(owner), trayForm_(trayForm), about_(about) {}

  std::optional<PromptAnswer> RunPrompt(const std::string& actionName, int timeoutSeconds) override;
  void RunOptionsDialog(const OptionsSettings& settings) override;
  TrayMenuCommand RunTrayMenu() override;
  void SetTrayMenuEnabledCheck(bool checked) override;
  void RunAboutBox() override;
  void CloseAboutBox() override;

 private:
  const DialogOwner& owner_;
  Win32ShellActions shell_;
  Win32RegistryValues registry_;
  frmMain1& trayForm_;
  frmAbout& about_;
};

}  // namespace kelvane
