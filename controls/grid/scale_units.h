#pragma once
// Lengths given to a control in its ScaleUnits (the platform's scale-mode
// numbering) and their conversion to screen pixels.

#include <cstdint>

namespace kelvane {

enum class ScaleAxis { Horizontal, Vertical };

// Twips per screen pixel along each axis; 15 at 96 DPI. The Win32 shell
// replaces it with the screen's own figures.
struct ScreenScale {
  double twipsPerPixelX = 15.0;
  double twipsPerPixelY = 15.0;
};

inline constexpr std::int32_t kScaleTwips = 1;
inline constexpr std::int32_t kScalePixels = 3;

// The length in pixels, unrounded. Units without a fixed size (user scales,
// unknown numbers) are taken as pixels.
double ScaleToPixels(double value, std::int32_t scaleUnits, ScaleAxis axis, const ScreenScale& screen = {});

// The same, rounded half-to-even and saturated to the 32-bit range, as stored
// for column widths and row heights.
std::int32_t ScaleToWholePixels(double value, std::int32_t scaleUnits, ScaleAxis axis,
                                const ScreenScale& screen = {});

}  // namespace kelvane
