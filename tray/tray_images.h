#pragma once
// The tray images, drawn for the exact pixel size asked for so that they
// stay crisp at every display scale: a crescent moon while idle, an amber
// clock while armed, and the moon with a badge while windows are hidden.

#include <cstdint>
#include <vector>

#include "core/schedule.h"

namespace kelvane {

// Square image; pixels row by row from the top, 0xAARRGGBB with straight
// (not premultiplied) alpha.
struct Pixmap {
  int size = 0;
  std::vector<std::uint32_t> argb;
  std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y * size + x)]; }
};

Pixmap DrawTrayImage(TrayImage image, int size);

}  // namespace kelvane
