#pragma once
// frmMain1: never shown; owns the tray images and the tray's popup menu.
#include <windows.h>

#include <array>

#include "base/handles_win32.h"
#include "tray/tray_icon.h"
#include "tray/tray_menu.h"

namespace kelvane {

class frmMain1 {
 public:
  // Builds the menu; the images are drawn at the system's small-icon size.
  frmMain1();

  // MyIco: 0 idle, 1 armed, 2 idle with windows hidden.
  HICON MyIco(TrayImage image) const;
  // Brings `owner` to the foreground, so that the menu closes on a click
  // elsewhere, and opens the popup at the mouse. The chosen command, or
  // None when the menu was dismissed.
  TrayMenuCommand ShowPopup(HWND owner);
  void SetEnabledChecked(bool checked);
  bool EnabledChecked() const;
  HMENU mnuPopup() const { return mnuPopup_.get(); }

 private:
  int iconSize_;
  // Each drawn when first asked for: a start shows only the idle image, and
  // the others wait for an arming or a hiding that many runs never have.
  mutable std::array<UniqueIcon, 3> myIco_;
  UniqueMenu mnuPopup_;
};

}  // namespace kelvane
