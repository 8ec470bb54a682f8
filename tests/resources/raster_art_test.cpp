#include <gtest/gtest.h>

#include "resources/raster_art.h"

namespace kelvane {
namespace {

TEST(RasterArt, ShapesAreOpaqueInsideClearOutsideAndSoftAtTheEdge) {
  Canvas canvas(20, 20);
  canvas.FillCircle(10, 10, 6.5, {255, 0, 0, 255});
  EXPECT_EQ(canvas.At(10, 10).a, 255);
  EXPECT_EQ(canvas.At(10, 10).r, 255);
  EXPECT_EQ(canvas.At(0, 0).a, 0);
  const int edge = canvas.At(16, 10).a;  // the pixel the circle's rim crosses
  EXPECT_GT(edge, 0);
  EXPECT_LT(edge, 255);
  canvas.EraseCircle(10, 10, 3);
  EXPECT_EQ(canvas.At(10, 10).a, 0);
}

TEST(RasterArt, PremultipliedPixelsNeverExceedTheirAlpha) {
  for (const ArtKind kind : {ArtKind::AppIcon, ArtKind::TrayIdle, ArtKind::TrayArmed, ArtKind::TrayHidden,
                             ArtKind::PromptPicture}) {
    for (int size : {16, 20, 24, 32, 48}) {
      const auto pixels = DrawArt(kind, size).PremultipliedBgra();
      ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
      for (const std::uint32_t p : pixels) {
        const std::uint32_t a = p >> 24;
        ASSERT_LE((p >> 16) & 0xFF, a);
        ASSERT_LE((p >> 8) & 0xFF, a);
        ASSERT_LE(p & 0xFF, a);
      }
    }
  }
}

TEST(RasterArt, TrayStatesLookDifferent) {
  const auto idle = DrawArt(ArtKind::TrayIdle, 16).PremultipliedBgra();
  EXPECT_NE(idle, DrawArt(ArtKind::TrayArmed, 16).PremultipliedBgra());
  EXPECT_NE(idle, DrawArt(ArtKind::TrayHidden, 16).PremultipliedBgra());
}

}  // namespace
}  // namespace kelvane
