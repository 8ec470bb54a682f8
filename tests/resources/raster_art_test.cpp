#include <gtest/gtest.h>

#include <cstdlib>

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

// Share of the picture the drawing covers, from 0 to 1.
double Coverage(const Canvas& canvas) {
  double sum = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) sum += canvas.At(x, y).a;
  }
  return sum / (255.0 * canvas.width() * canvas.height());
}

constexpr ArtKind kTrayArt[] = {ArtKind::TrayIdle, ArtKind::TrayArmed, ArtKind::TrayHidden};
constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64};

TEST(RasterArt, TrayImagesKeepTheirGeometryAtEverySize) {
  for (ArtKind kind : kTrayArt) {
    const double reference = Coverage(DrawArt(kind, 256));
    for (int size : kSizes) {
      SCOPED_TRACE(::testing::Message() << "art " << static_cast<int>(kind) << " size " << size);
      const Canvas canvas = DrawArt(kind, size);
      EXPECT_NEAR(Coverage(canvas), reference, 0.04);
      EXPECT_EQ(canvas.At(0, 0).a, 0);
      EXPECT_EQ(canvas.At(size - 1, size - 1).a, 0);
    }
  }
}

TEST(RasterArt, ArmedTrayImageLooksClearlyDifferentFromIdle) {
  const Canvas idle = DrawArt(ArtKind::TrayIdle, 16);
  const Canvas armed = DrawArt(ArtKind::TrayArmed, 16);
  int different = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Rgba a = idle.At(x, y);
      const Rgba b = armed.At(x, y);
      different += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 96;
    }
  }
  EXPECT_GT(different, 16 * 16 / 3);
}

TEST(RasterArt, HiddenWindowsAddAMarkOnlyInTheLowerRightCorner) {
  for (int size : kSizes) {
    SCOPED_TRACE(size);
    const auto idle = DrawArt(ArtKind::TrayIdle, size).PremultipliedBgra();
    const auto hidden = DrawArt(ArtKind::TrayHidden, size).PremultipliedBgra();
    int changedInCorner = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const auto i = static_cast<std::size_t>(y * size + x);
        if (x >= size / 2 && y >= size / 2) {
          changedInCorner += idle[i] != hidden[i];
        } else {
          ASSERT_EQ(idle[i], hidden[i]) << x << "," << y;
        }
      }
    }
    EXPECT_GT(changedInCorner, size * size / 8);
  }
}

}  // namespace
}  // namespace kelvane
