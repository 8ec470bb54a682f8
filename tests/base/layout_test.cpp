#include "base/layout.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Layout, ScalingKeepsNeighboursFlush) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    const Rect a = ScaleToDpi(Rect{10, 10, 33, 20}, dpi);
    const Rect b = ScaleToDpi(Rect{43, 10, 17, 20}, dpi);
    EXPECT_EQ(a.right(), b.left);
  }
  EXPECT_EQ(ScaleToDpi(Rect{10, 20, 30, 40}, 144), (Rect{15, 30, 45, 60}));
}

TEST(Layout, FrameHitsFollowTheStripsAndButtons) {
  const FrameLayout frame = ComputeFrame(450, 426, 144, 30, 28, true);
  const struct {
    int x, y;
    FrameHit hit;
  } cases[] = {{5, 5, FrameHit::Drag},           {449, 5, FrameHit::CloseButton}, {350, 10, FrameHit::MinimizeButton},
               {200, 200, FrameHit::Body},       {200, 425, FrameHit::Drag},      {449, 45, FrameHit::Body},
               {449, 44, FrameHit::CloseButton}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(HitTestFrame(frame, c.x, c.y), c.hit);
  }
  EXPECT_FALSE(ComputeFrame(300, 200, 96, 30, 14, false).minimizeButton.has_value());
}

}  // namespace
}  // namespace kelvane

namespace kelvane {
namespace {

TEST(CaptionButtons, OnlyAReleaseOverThePressedButtonCompletesIt) {
  CaptionButtons buttons;
  EXPECT_FALSE(buttons.OnButtonDown(FrameHit::Drag));
  EXPECT_TRUE(buttons.OnButtonDown(FrameHit::CloseButton));
  EXPECT_EQ(buttons.state().pressed, FrameHit::CloseButton);
  EXPECT_EQ(buttons.OnButtonUp(FrameHit::CloseButton), FrameHit::CloseButton);
  EXPECT_EQ(buttons.state().pressed, FrameHit::Body);

  buttons.OnButtonDown(FrameHit::MinimizeButton);
  EXPECT_EQ(buttons.OnButtonUp(FrameHit::Body), FrameHit::Body) << "dragged off before release";
  EXPECT_EQ(buttons.OnButtonUp(FrameHit::MinimizeButton), FrameHit::Body) << "no press pending";

  EXPECT_TRUE(buttons.OnMouseMove(FrameHit::MinimizeButton));
  EXPECT_FALSE(buttons.OnMouseMove(FrameHit::MinimizeButton));
  EXPECT_TRUE(buttons.OnMouseMove(FrameHit::Drag));
  EXPECT_EQ(buttons.state().hot, FrameHit::Body);
}

}  // namespace
}  // namespace kelvane
