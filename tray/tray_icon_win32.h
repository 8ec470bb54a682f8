#pragma once
// The main window's tray icon on the real notification area: a cSystray
// showing the images of frmMain1.
#include <windows.h>

#include "tray/tray_icon.h"
#include "tray/frm_main1_win32.h"
#include "tray/systray.h"
#include "tray/systray_win32.h"
#include "tray/window_hook_win32.h"

namespace kelvane {

class SystrayTrayIcon final : public TrayIcon {
 public:
  // `images` must outlive the icon; `events` receives every tray event.
  SystrayTrayIcon(HINSTANCE instance, const frmMain1& images, SystrayEvents& events, ErrorReporter& reporter);

  void SetImage(TrayImage image) override;
  void SetToolTip(const std::string& tip) override { systray_.SysTrayToolTip(tip); }
  void Show() override { systray_.SysTrayShow(true); }
  void Terminate() override { systray_.DoTerminate(); }
  bool IsBalloonCapable() const override { return systray_.IsBalloonCapable(); }
  void SetBalloonIcon(int icon) override { systray_.BalloonIcon(static_cast<std::uint32_t>(icon)); }
  void SetBalloonTitle(const std::string& title) override { systray_.BalloonTitle(title); }
  void SetBalloonText(const std::string& text) override { systray_.BalloonText(text); }
  bool BalloonShow(bool show, int timeoutMs, bool noSound) override {
    return systray_.BalloonShow(show, timeoutMs, noSound);
  }

  cSystray& Systray() { return systray_; }

 private:
  const frmMain1& images_;
  Win32TrayShell shell_;
  SubclassHookSystem hookSystem_;
  cSystray systray_;
};

}  // namespace kelvane
