#include "controls/grid/scale_units.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ScaleUnits, LengthsConvertToPixelsPerAxis) {
  const ScreenScale screen{.twipsPerPixelX = 15, .twipsPerPixelY = 12};
  const struct {
    double value;
    std::int32_t units;
    ScaleAxis axis;
    std::int32_t pixels;
  } cases[] = {
      {37, kScalePixels, ScaleAxis::Horizontal, 37}, {37, 0, ScaleAxis::Vertical, 37},
      {1500, kScaleTwips, ScaleAxis::Horizontal, 100}, {1500, kScaleTwips, ScaleAxis::Vertical, 125},
      {9, 2, ScaleAxis::Horizontal, 12},              {1, 4, ScaleAxis::Horizontal, 8},
      {1, 4, ScaleAxis::Vertical, 20},                {1, 5, ScaleAxis::Horizontal, 96},
      {25.4, 6, ScaleAxis::Horizontal, 96},           {2.54, 7, ScaleAxis::Vertical, 120},
      {22.5, kScaleTwips, ScaleAxis::Horizontal, 2},  {37.5, kScaleTwips, ScaleAxis::Horizontal, 2},
      {1e12, kScalePixels, ScaleAxis::Horizontal, 2147483647},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " in units " << c.units);
    EXPECT_EQ(ScaleToWholePixels(c.value, c.units, c.axis, screen), c.pixels);
  }
}

}  // namespace
}  // namespace kelvane
