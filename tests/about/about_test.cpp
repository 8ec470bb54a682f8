#include "about/about.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(LinkHover, FirstMoveShowsTheHoverImageAndLaterMovesDoNotRestart) {
  LinkHover hover;
  EXPECT_TRUE(hover.MouseMove());
  EXPECT_FALSE(hover.MouseMove());
  EXPECT_FALSE(hover.MouseMove());
  EXPECT_TRUE(hover.Hovering());
}

TEST(LinkHover, TickRestoresOnlyWhenTheCursorHasLeft) {
  struct Case {
    int x, y;
    bool leaves;
  };
  const Case cases[] = {
      {0, 0, false}, {99, 29, false}, {50, 10, false}, {-1, 10, true},
      {50, -1, true}, {100, 10, true}, {50, 30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    LinkHover hover;
    hover.MouseMove();
    EXPECT_EQ(hover.Tick(c.x, c.y, 100, 30), c.leaves);
    EXPECT_EQ(hover.Hovering(), !c.leaves);
  }
}

TEST(LinkHover, MovingBackAfterLeavingShowsTheHoverImageAgain) {
  LinkHover hover;
  hover.MouseMove();
  ASSERT_TRUE(hover.Tick(-5, -5, 100, 30));
  EXPECT_FALSE(hover.Tick(-5, -5, 100, 30)) << "a late tick changes nothing";
  EXPECT_TRUE(hover.MouseMove());
}

}  // namespace
}  // namespace kelvane
