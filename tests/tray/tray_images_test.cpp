#include "tray/tray_images.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvane {
namespace {

std::uint32_t Alpha(std::uint32_t argb) { return argb >> 24; }

// Share of the image the drawing covers, from 0 to 1.
double Coverage(const Pixmap& image) {
  double sum = 0;
  for (std::uint32_t p : image.argb) sum += Alpha(p);
  return sum / (255.0 * image.size * image.size);
}

constexpr TrayImage kImages[] = {TrayImage::Idle, TrayImage::Armed, TrayImage::IdleHidden};
constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64};

TEST(TrayImages, AreDrawnForEverySizeWithTheSameGeometry) {
  for (TrayImage image : kImages) {
    const double reference = Coverage(DrawTrayImage(image, 256));
    for (int size : kSizes) {
      SCOPED_TRACE(::testing::Message() << "image " << static_cast<int>(image) << " size " << size);
      const Pixmap pixmap = DrawTrayImage(image, size);
      ASSERT_EQ(pixmap.argb.size(), static_cast<std::size_t>(size * size));
      EXPECT_NEAR(Coverage(pixmap), reference, 0.04);
      EXPECT_EQ(Alpha(pixmap.At(0, 0)), 0u);
      EXPECT_EQ(Alpha(pixmap.At(size - 1, 0)), 0u);
      EXPECT_EQ(Alpha(pixmap.At(0, size - 1)), 0u);
    }
  }
}

TEST(TrayImages, HaveSolidPixelsAndSoftEdges) {
  for (TrayImage image : kImages) {
    const Pixmap pixmap = DrawTrayImage(image, 32);
    int solid = 0;
    int partial = 0;
    for (std::uint32_t p : pixmap.argb) {
      solid += Alpha(p) == 255;
      partial += Alpha(p) > 0 && Alpha(p) < 255;
    }
    SCOPED_TRACE(static_cast<int>(image));
    EXPECT_GT(solid, 32 * 32 / 5);
    EXPECT_GT(partial, 0) << "edges are anti-aliased";
  }
}

TEST(TrayImages, ArmedLooksClearlyDifferentFromIdle) {
  const Pixmap idle = DrawTrayImage(TrayImage::Idle, 16);
  const Pixmap armed = DrawTrayImage(TrayImage::Armed, 16);
  int different = 0;
  for (std::size_t i = 0; i < idle.argb.size(); ++i) {
    const auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    int distance = 0;
    for (int shift : {0, 8, 16, 24}) distance += std::abs(channel(idle.argb[i], shift) - channel(armed.argb[i], shift));
    different += distance > 96;
  }
  EXPECT_GT(different, 16 * 16 / 3);
}

TEST(TrayImages, HiddenWindowsAddAMarkToTheIdleImageInItsLowerRightCorner) {
  for (int size : kSizes) {
    SCOPED_TRACE(size);
    const Pixmap idle = DrawTrayImage(TrayImage::Idle, size);
    const Pixmap hidden = DrawTrayImage(TrayImage::IdleHidden, size);
    int changedInCorner = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const bool corner = x >= size / 2 && y >= size / 2;
        if (!corner) {
          ASSERT_EQ(idle.At(x, y), hidden.At(x, y)) << x << "," << y;
        } else {
          changedInCorner += idle.At(x, y) != hidden.At(x, y);
        }
      }
    }
    EXPECT_GT(changedInCorner, size * size / 8);
  }
}

}  // namespace
}  // namespace kelvane
