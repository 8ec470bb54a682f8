#include "controls/frame/shadow_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

namespace kelvane {
namespace {

constexpr Colour kGrey{240, 240, 240};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kBlue{0, 0, 200};

TEST(ShadowFrame, PropertiesReadBackWithinTheirLimits) {
  using Set = void (ShadowFrame::*)(int);
  using Get = int (ShadowFrame::*)() const;
  const struct {
    Set set;
    Get get;
    int written;
    int read;
  } cases[] = {
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 1, 2},
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, -7, 2},
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 40, 40},
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 41, 50},
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 45, 50},
      {&ShadowFrame::SetShadowDepth, &ShadowFrame::ShadowDepth, 70000, 50},
      {&ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, 150, 100},
      {&ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, -5, 0},
      {&ShadowFrame::SetShadowOpacity, &ShadowFrame::ShadowOpacity, 73, 73},
      {&ShadowFrame::SetCornerDepth, &ShadowFrame::CornerDepth, 60, 50},
      {&ShadowFrame::SetCornerDepth, &ShadowFrame::CornerDepth, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    ShadowFrame frame;
    (frame.*c.set)(c.written);
    EXPECT_EQ((frame.*c.get)(), c.read);
  }
}

TEST(ShadowFrame, EveryChangeRepaints) {
  struct CountingView : FrameView {
    int repaints = 0;
    void Repaint() override { ++repaints; }
  } view;
  ShadowFrame frame(&view);
  const std::function<void()> changes[] = {
      [&] { frame.SetStyle(FrameStyle::Rounded); }, [&] { frame.SetCornerDepth(12); },
      [&] { frame.SetFillColour(kBlue); },          [&] { frame.SetBorderColour(kWhite); },
      [&] { frame.SetBackColour(kBlack); },         [&] { frame.SetBackColourIs(1); },
      [&] { frame.SetShowShadow(false); },          [&] { frame.SetShadowDepth(9); },
      [&] { frame.SetShadowOpacity(30); },          [&] { frame.Refresh(); },
  };
  for (const auto& change : changes) {
    const int before = view.repaints;
    change();
    EXPECT_EQ(view.repaints, before + 1);
  }
}

TEST(ShadowFrame, InterpolationMovesByWholeStepsAndLandsOnTheTarget) {
  const std::tuple<Colour, Colour, int, int, Colour> cases[] = {
      {kBlack, kGrey, 100, 0, kBlack},
      // 240 / 100 is 2 per step: step 50 is 100, not 120.
      {kBlack, kGrey, 100, 50, {100, 100, 100}},
      {kBlack, kGrey, 100, 99, {198, 198, 198}},
      {kBlack, kGrey, 100, 100, kGrey},
      // Downwards the whole part is truncated towards zero: -200 / 3 is -66.
      {{200, 10, 0}, {0, 10, 255}, 3, 1, {134, 10, 85}},
      {{200, 10, 0}, {0, 10, 255}, 3, 3, {0, 10, 255}},
  };
  for (const auto& [from, to, steps, step, expected] : cases) {
    SCOPED_TRACE(std::to_string(step) + " of " + std::to_string(steps));
    EXPECT_EQ(InterpolateColour(from, to, steps, step), expected);
  }
}

int CountOf(const PixelBuffer& image, Colour colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.At(x, y) == colour ? 1 : 0;
  }
  return count;
}

ShadowFrame Frame(FrameStyle style) {
  ShadowFrame frame;
  frame.SetStyle(style);
  frame.SetFillColour(kWhite);
  frame.SetBorderColour(kBlue);
  return frame;
}

TEST(ShadowFrame, AnUnknownStyleOrAControlTooSmallShowsOnlyTheBackground) {
  ShadowFrame frame = Frame(static_cast<FrameStyle>(2));
  EXPECT_EQ(CountOf(frame.Render(40, 30, kGrey, 96), kGrey), 40 * 30);
  frame.SetBackColour(kBlack);
  EXPECT_EQ(CountOf(frame.Render(40, 30, kGrey, 96), kGrey), 40 * 30) << "BackColour counts only with BackColourIs";
  frame.SetBackColourIs(1);
  EXPECT_EQ(CountOf(frame.Render(40, 30, kGrey, 96), kBlack), 40 * 30);

  for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {5, 30}, {30, 5}, {-4, 10}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const PixelBuffer image = Frame(FrameStyle::Square).Render(width, height, kGrey, 96);
    EXPECT_EQ(CountOf(image, kGrey), image.width() * image.height());
  }
}

TEST(ShadowFrame, WithoutShadowTheSquarePanelFillsTheControl) {
  ShadowFrame frame = Frame(FrameStyle::Square);
  frame.SetShowShadow(false);
  const PixelBuffer image = frame.Render(20, 10, kGrey, 96);
  EXPECT_EQ(CountOf(image, kBlue), 2 * 20 + 2 * 8) << "a one-pixel border all round";
  EXPECT_EQ(CountOf(image, kWhite), 18 * 8);
}

TEST(ShadowFrame, ShadowFadesFromItsOpacityBesideThePanelToTheBackgroundAtItsEdge) {
  ShadowFrame frame = Frame(FrameStyle::Square);
  frame.SetShadowDepth(5);
  frame.SetShadowOpacity(100);
  const PixelBuffer image = frame.Render(40, 30, kGrey, 96);
  // The panel ends 5 pixels short of the right and bottom edges; beyond it,
  // step k of 5 from black: 240 / 5 * k.
  EXPECT_EQ(image.At(34, 15), kBlue);
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    const auto level = static_cast<std::uint8_t>(k == 5 ? 240 : 48 * k);
    EXPECT_EQ(image.At(34 + k, 15), (Colour{level, level, level}));
    EXPECT_EQ(image.At(15, 24 + k), (Colour{level, level, level}));
  }
  // Offset towards the lower right: the top right and bottom left corners of
  // the shadow are cut diagonally.
  EXPECT_EQ(image.At(35, 0), kGrey);
  EXPECT_EQ(image.At(35, 1), (Colour{48, 48, 48}));
  EXPECT_EQ(image.At(0, 25), kGrey);

  // Half opacity starts from 100 (2 per step of 100 from black), then one
  // whole fifth of the rest; none leaves only the background.
  frame.SetShadowOpacity(50);
  EXPECT_EQ(frame.Render(40, 30, kGrey, 96).At(35, 15), (Colour{128, 128, 128}));
  frame.SetShadowOpacity(0);
  EXPECT_EQ(frame.Render(40, 30, kGrey, 96).At(35, 15), kGrey);
}

TEST(ShadowFrame, SizesFollowTheMonitorsDpi) {
  ShadowFrame frame = Frame(FrameStyle::Square);
  frame.SetShadowDepth(5);
  const PixelBuffer image = frame.Render(60, 40, kGrey, 192);
  // Twice the shadow, and a border two pixels wide.
  EXPECT_EQ(image.At(48, 20), kBlue);
  EXPECT_EQ(image.At(49, 20), kBlue);
  EXPECT_EQ(image.At(47, 20), kWhite);
  EXPECT_NE(image.At(50, 20), kBlue);
  EXPECT_EQ(image.At(59, 20), kGrey);
}

TEST(ShadowFrame, RoundedCornersAreCutAndOnlyTheirStairsSoftened) {
  ShadowFrame frame = Frame(FrameStyle::Rounded);
  frame.SetCornerDepth(20);
  frame.SetShadowDepth(6);
  frame.SetShadowOpacity(100);
  const PixelBuffer image = frame.Render(66, 46, kGrey, 96);
  EXPECT_EQ(image.At(0, 0), kGrey);
  EXPECT_EQ(image.At(59, 0), kGrey);
  // The straight edges keep the plain border colour up to where the arc
  // begins to step.
  for (const auto& [x, y] : {std::pair{30, 0}, {8, 0}, {0, 8}, {0, 20}}) {
    EXPECT_EQ(image.At(x, y), kBlue) << x << ',' << y;
  }
  // Where it steps, border pixels became blends of their neighbours: colours
  // that neither the border, the fill nor the background has.
  std::set<std::tuple<int, int, int>> blends;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const Colour c = image.At(x, y);
      if (c != kGrey && c != kWhite && c != kBlue) blends.insert({c.r, c.g, c.b});
    }
  }
  EXPECT_GE(blends.size(), 2u);
  // The shadow follows the rounded corner: beside the straight edge it is
  // there, diagonally past the corner it is cut round as well.
  EXPECT_NE(image.At(61, 23), kGrey);
  EXPECT_EQ(image.At(63, 43), kGrey);
}

}  // namespace
}  // namespace kelvane
