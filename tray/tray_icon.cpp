#include "tray/tray_icon.h"

namespace kelvane {

std::string IdleTip(bool windowsHidden) {
  std::string tip = std::string(kProductName) + ": No Action";
  if (windowsHidden) tip += " (H)";
  return tip;
}

}  // namespace kelvane
