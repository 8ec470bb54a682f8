#include "controls/grid/scale_units.h"

#include <cmath>
#include <limits>

#include "base/value_codec.h"

namespace kelvane {
namespace {

constexpr double kTwipsPerInch = 1440.0;

// Twips in one unit of each fixed scale mode; 0 for modes measured in pixels.
double TwipsPerUnit(std::int32_t scaleUnits, ScaleAxis axis) {
  switch (scaleUnits) {
    case kScaleTwips: return 1.0;
    case 2: return 20.0;  // points
    case 4: return axis == ScaleAxis::Horizontal ? 120.0 : 240.0;  // characters of the system font
    case 5: return kTwipsPerInch;
    case 6: return kTwipsPerInch / 25.4;  // millimetres
    case 7: return kTwipsPerInch / 2.54;  // centimetres
    default: return 0.0;
  }
}

}  // namespace

double ScaleToPixels(double value, std::int32_t scaleUnits, ScaleAxis axis, const ScreenScale& screen) {
  const double twips = TwipsPerUnit(scaleUnits, axis);
  if (twips == 0.0) return value;
  const double perPixel = axis == ScaleAxis::Horizontal ? screen.twipsPerPixelX : screen.twipsPerPixelY;
  return value * twips / perPixel;
}

std::int32_t ScaleToWholePixels(double value, std::int32_t scaleUnits, ScaleAxis axis, const ScreenScale& screen) {
  const double pixels = RoundHalfEven(ScaleToPixels(value, scaleUnits, axis, screen));
  if (std::isnan(pixels)) return 0;
  if (pixels <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (pixels >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(pixels);
}

}  // namespace kelvane
