#include "about/about.h"

namespace kelvane {

std::string AboutVersionText(int major, int minor, int revision) {
  return "Version: " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

bool LinkHover::MouseMove() {
  if (hovering_) return false;
  hovering_ = true;
  return true;
}

bool LinkHover::Tick(int x, int y, int width, int height) {
  if (!hovering_) return false;
  const bool inside = x >= 0 && y >= 0 && x < width && y < height;
  if (inside) return false;
  hovering_ = false;
  return true;
}

}  // namespace kelvane
