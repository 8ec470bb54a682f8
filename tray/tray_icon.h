#pragma once
// What the main window asks of its tray icon. The tray subsystem implements
// it on the notification area; tests record the requests.

#include <string>

#include "base/product.h"

namespace kelvane {

enum class TrayImage { Idle = 0, Armed = 1, IdleHidden = 2 };

// The tooltip while idle: "Kelvane: No Action", with " (H)" while windows are hidden.
std::string IdleTip(bool windowsHidden);

inline constexpr int kBalloonTimeoutMs = 3000;
inline constexpr int kBalloonIconUser = 4;

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // Shows one of the three tray images.
  virtual void SetImage(TrayImage image) = 0;
  virtual void SetToolTip(const std::string& tip) = 0;
  // Adds the icon to the notification area, or updates it when added.
  virtual void Show() = 0;
  // Removes the icon at once; later requests do nothing.
  virtual void Terminate() = 0;
  virtual bool IsBalloonCapable() const = 0;
  virtual void SetBalloonIcon(int icon) = 0;
  virtual void SetBalloonTitle(const std::string& title) = 0;
  virtual void SetBalloonText(const std::string& text) = 0;
  virtual bool BalloonShow(bool show, int timeoutMs, bool noSound) = 0;
};

// Mouse buttons as the tray reports them.
enum class TrayButton { Left = 1, Right = 2, Middle = 4 };

}  // namespace kelvane
