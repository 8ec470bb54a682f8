#include "tray/tray_icon_win32.h"

namespace kelvane {

SystrayTrayIcon::SystrayTrayIcon(HINSTANCE instance, const frmMain1& images, SystrayEvents& events,
                                 ErrorReporter& reporter)
    : images_(images), shell_(instance), systray_(shell_, hookSystem_, reporter, events) {}

void SystrayTrayIcon::SetImage(TrayImage image) { systray_.SysTrayIconFromHandle(ToIconHandle(images_.MyIco(image))); }

}  // namespace kelvane
