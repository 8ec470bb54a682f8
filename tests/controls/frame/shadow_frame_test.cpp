#include "controls/frame/shadow_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

namespace kelvane {
namespace {

constexpr Rgb kGrey{240, 240, 240};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBlue{0, 0, 200};

class CountingView : public FrameView {
 public:
  int repaints = 0;
  void Repaint() override { ++repaints; }
};

TEST(ShadowFrame, PropertiesReadBackWithinTheirLimits) {
  const struct {
    const char* property;
    std::function<void(ShadowFrame&, int)> set;
    std::function<int(const ShadowFrame&)> get;
    int written;
    int read;
  } cases[] = {
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 1, 2},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, -7, 2},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 2, 2},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 40, 40},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 41, 50},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 45, 50},
      {"ShadowDepth", &ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 70000, 50},
      {"ShadowOpacity", &ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, 150, 100},
      {"ShadowOpacity", &ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, -5, 0},
      {"ShadowOpacity", &ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, 73, 73},
      {"CornerDepth", &ShadowFrame::SetCornerDepth, &ShadowFrame::CornerDepth, 60, 50},
      {"CornerDepth", &ShadowFrame::SetCornerDepth, &ShadowFrame::CornerDepth, -1, 0},
      {"CornerDepth", &ShadowFrame::SetCornerDepth, &ShadowFrame::CornerDepth, 50, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.property) + " = " + std::to_string(c.written));
    ShadowFrame frame;
    c.set(frame, c.written);
    EXPECT_EQ(c.get(frame), c.read);
  }
}

TEST(ShadowFrame, EverySetterAndRefreshRepaintOnce) {
  CountingView view;
  ShadowFrame frame(&view);
  const std::function<void()> changes[] = {
      [&] { frame.SetStyle(FrameStyle::Rounded); },   [&] { frame.SetCornerDepth(12); },
      [&] { frame.SetFillColour(kBlue); },            [&] { frame.SetBorderColour(kWhite); },
      [&] { frame.SetBackColour(kBlack); },           [&] { frame.SetBackColourIs(1); },
      [&] { frame.SetShowShadow(false); },            [&] { frame.SetShadowDepth(9); },
      [&] { frame.SetShadowOpacity(30); },            [&] { frame.Refresh(); },
  };
  int expected = 0;
  for (const auto& change : changes) {
    change();
    EXPECT_EQ(view.repaints, ++expected);
  }
}

TEST(ShadowFrame, InterpolationMovesByWholeStepsAndLandsOnTheTarget) {
  const struct {
    Rgb from;
    Rgb to;
    int steps;
    int step;
    Rgb expected;
  } cases[] = {
      {kBlack, kGrey, 100, 0, kBlack},
      // 240 / 100 is 2 per step: step 50 is 100, not 120.
      {kBlack, kGrey, 100, 50, {100, 100, 100}},
      {kBlack, kGrey, 100, 99, {198, 198, 198}},
      {kBlack, kGrey, 100, 100, kGrey},
      // Downwards the whole part is truncated towards zero: -200 / 3 is -66.
      {{200, 10, 0}, {0, 10, 255}, 3, 1, {134, 10, 85}},
      {{200, 10, 0}, {0, 10, 255}, 3, 2, {68, 10, 170}},
      {{200, 10, 0}, {0, 10, 255}, 3, 3, {0, 10, 255}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("step " + std::to_string(c.step) + " of " + std::to_string(c.steps));
    EXPECT_EQ(InterpolateColour(c.from, c.to, c.steps, c.step), c.expected);
  }
}

// Counts the pixels of one colour.
int CountOf(const PixelBuffer& image, Rgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.At(x, y) == colour ? 1 : 0;
  }
  return count;
}

ShadowFrame SquareFrame() {
  ShadowFrame frame;
  frame.SetStyle(FrameStyle::Square);
  frame.SetFillColour(kWhite);
  frame.SetBorderColour(kBlue);
  return frame;
}

TEST(ShadowFrame, AStyleOfNeitherKindLeavesOnlyTheBackground) {
  ShadowFrame frame = SquareFrame();
  frame.SetStyle(static_cast<FrameStyle>(2));
  const PixelBuffer image = frame.Render(40, 30, kGrey, 96);
  EXPECT_EQ(CountOf(image, kGrey), 40 * 30);

  frame.SetBackColour(kBlack);
  EXPECT_EQ(CountOf(frame.Render(40, 30, kGrey, 96), kGrey), 40 * 30) << "BackColour counts only with BackColourIs";
  frame.SetBackColourIs(1);
  EXPECT_EQ(CountOf(frame.Render(40, 30, kGrey, 96), kBlack), 40 * 30);
}

TEST(ShadowFrame, WithoutShadowTheSquarePanelFillsTheControl) {
  ShadowFrame frame = SquareFrame();
  frame.SetShowShadow(false);
  const PixelBuffer image = frame.Render(20, 10, kGrey, 96);
  EXPECT_EQ(CountOf(image, kGrey), 0);
  EXPECT_EQ(CountOf(image, kBlue), 2 * 20 + 2 * 8) << "a one-pixel border all round";
  EXPECT_EQ(CountOf(image, kWhite), 18 * 8);
  EXPECT_EQ(image.At(19, 9), kBlue);
}

TEST(ShadowFrame, ShadowFadesFromDarkBesideThePanelToTheBackgroundAtItsEdge) {
  ShadowFrame frame = SquareFrame();
  frame.SetShadowDepth(5);
  frame.SetShadowOpacity(100);
  const PixelBuffer image = frame.Render(40, 30, kGrey, 96);
  // The panel ends 5 pixels short of the right and bottom edges.
  EXPECT_EQ(image.At(34, 15), kBlue);
  EXPECT_EQ(image.At(15, 24), kBlue);
  // Along a row through the shadow, step k of 5 from black: 0 + 240/5 * k.
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    const auto level = static_cast<std::uint8_t>(k == 5 ? 240 : 48 * k);
    EXPECT_EQ(image.At(34 + k, 15), (Rgb{level, level, level}));
    EXPECT_EQ(image.At(15, 24 + k), (Rgb{level, level, level}));
  }
  // The shadow is offset: its top right and bottom left corners are cut
  // diagonally, and nothing shows above or left of the panel.
  EXPECT_EQ(image.At(35, 0), kGrey);
  EXPECT_EQ(image.At(35, 1), (Rgb{48, 48, 48}));
  EXPECT_EQ(image.At(0, 25), kGrey);
  EXPECT_EQ(image.At(39, 29), kGrey);
}

TEST(ShadowFrame, OpacityDarkensTheShadowTowardsBlack) {
  ShadowFrame frame = SquareFrame();
  frame.SetShadowDepth(4);
  const std::tuple<int, Rgb> cases[] = {
      // Shadow colour: 240/100 = 2 per step at step 100 - opacity; beside
      // the panel, one whole quarter (step 1 of 4) on towards the background.
      {100, {60, 60, 60}},
      {50, {135, 135, 135}},
      {0, kGrey},
  };
  for (const auto& [opacity, besidePanel] : cases) {
    SCOPED_TRACE(opacity);
    frame.SetShadowOpacity(opacity);
    EXPECT_EQ(frame.Render(40, 30, kGrey, 96).At(36, 15), besidePanel);
  }
}

TEST(ShadowFrame, SizesFollowTheMonitorsDpi) {
  ShadowFrame frame = SquareFrame();
  frame.SetShadowDepth(5);
  const PixelBuffer image = frame.Render(60, 40, kGrey, 192);
  // Twice the shadow, and a border two pixels wide.
  EXPECT_EQ(image.At(49, 20), kBlue);
  EXPECT_EQ(image.At(48, 20), kBlue);
  EXPECT_EQ(image.At(47, 20), kWhite);
  EXPECT_NE(image.At(50, 20), kBlue);
  EXPECT_EQ(image.At(59, 20), kGrey);
}

TEST(ShadowFrame, RoundedCornersAreCutAndTheirStairsSoftened) {
  ShadowFrame frame = SquareFrame();
  frame.SetStyle(FrameStyle::Rounded);
  frame.SetShowShadow(false);
  frame.SetCornerDepth(20);
  const PixelBuffer image = frame.Render(60, 40, kGrey, 96);
  for (const auto& [x, y] : {std::pair{0, 0}, {59, 0}, {0, 39}, {59, 39}}) {
    EXPECT_EQ(image.At(x, y), kGrey) << x << ',' << y;
  }
  // The straight edges keep the plain border colour, up to where the arc
  // begins to step.
  EXPECT_EQ(image.At(30, 0), kBlue);
  EXPECT_EQ(image.At(8, 0), kBlue);
  EXPECT_EQ(image.At(0, 8), kBlue);
  EXPECT_EQ(image.At(0, 20), kBlue);
  EXPECT_EQ(image.At(30, 20), kWhite);

  // In the corners the border pixels became blends of their neighbours:
  // colours that neither the border, the fill nor the background has.
  std::set<std::tuple<int, int, int>> blends;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const Rgb c = image.At(x, y);
      if (c != kGrey && c != kWhite && c != kBlue) blends.insert({c.r, c.g, c.b});
    }
  }
  EXPECT_GE(blends.size(), 2u);

  frame.SetStyle(FrameStyle::Square);
  const PixelBuffer square = frame.Render(60, 40, kGrey, 96);
  EXPECT_EQ(CountOf(square, kBlue) + CountOf(square, kWhite), 60 * 40);
}

TEST(ShadowFrame, RoundedShadowFollowsTheRoundedCorner) {
  ShadowFrame frame = SquareFrame();
  frame.SetStyle(FrameStyle::Rounded);
  frame.SetCornerDepth(30);
  frame.SetShadowDepth(6);
  frame.SetShadowOpacity(100);
  const PixelBuffer image = frame.Render(80, 60, kGrey, 96);
  // Beside the straight edge the shadow is there; past the panel's rounded
  // bottom-right corner, diagonally out, it is cut round as well.
  EXPECT_NE(image.At(75, 27), kGrey);
  EXPECT_EQ(image.At(79, 59), kGrey);
  EXPECT_EQ(image.At(77, 57), kGrey);
}

TEST(ShadowFrame, ControlsTooSmallForThePanelShowTheBackground) {
  for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {5, 30}, {30, 5}, {-4, 10}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    ShadowFrame frame = SquareFrame();
    frame.SetShadowDepth(5);
    const PixelBuffer image = frame.Render(width, height, kGrey, 96);
    EXPECT_EQ(CountOf(image, kGrey), image.width() * image.height());
  }
  ShadowFrame tiny = SquareFrame();
  tiny.SetStyle(FrameStyle::Rounded);
  tiny.SetCornerDepth(50);
  tiny.SetShowShadow(false);
  const PixelBuffer image = tiny.Render(3, 2, kGrey, 96);
  EXPECT_EQ(image.width() * image.height(), 6);
}

TEST(PixelBuffer, WordsHoldRedGreenBlueFromTheHighByteDown) {
  PixelBuffer image(2, 2, kGrey);
  image.Set(1, 0, {0x12, 0x34, 0x56});
  EXPECT_EQ(image.Words()[1], 0x123456u);
  EXPECT_EQ(image.Words()[2], 0xF0F0F0u);
  EXPECT_THROW(image.Set(2, 0, kBlack), std::out_of_range);
}

}  // namespace
}  // namespace kelvane
