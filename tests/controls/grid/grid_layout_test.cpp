#include "controls/grid/grid_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

// Columns of the given widths (96-DPI pixels); a negative width is a hidden
// column of that absolute width.
GridModel Columns(std::initializer_list<int> widths) {
  GridModel model;
  for (const int width : widths) {
    const std::int32_t col = model.AddColumn("c", static_cast<float>(width < 0 ? -width : width), 4);
    if (width < 0) model.SetColVisible(col, false);
  }
  return model;
}

GridMetrics DefaultMetrics(int dpi = 96) { return ComputeMetrics({dpi, dpi == 96 ? 13 : 19, 0, false, {}, true}); }

TEST(GridLayout, MetricsFollowTheFontTheRowHeightAndTheDecorations) {
  struct Case {
    const char* name;
    MetricsInput input;
    int header, row, checkBox, textLeft, imageLeft, imageTop;
  };
  const Case cases[] = {
      {"default font", {96, 13, 0, false, {}, true}, 17, 16, 12, 3, 0, 0},
      {"check boxes", {96, 13, 0, true, {}, true}, 17, 16, 12, 18, 0, 0},
      {"tall rows cap the box at 16", {96, 13, 30, true, {}, true}, 30, 30, 16, 22, 0, 0},
      {"short rows shrink the box", {96, 13, 10, true, {}, true}, 17, 10, 6, 12, 0, 0},
      {"a large font makes rows taller", {96, 20, 0, false, {}, true}, 24, 23, 16, 3, 0, 0},
      {"150 %", {144, 19, 0, true, {}, true}, 25, 24, 18, 28, 0, 0},
      {"RowHeightMin scales with the DPI", {144, 19, 20, false, {}, true}, 30, 30, 24, 5, 0, 0},
      {"image after the check box", {96, 13, 0, true, ImageSize{16, 12}, true}, 17, 16, 12, 36, 18, 2},
      {"image alone", {96, 13, 0, false, ImageSize{10, 10}, true}, 17, 16, 12, 15, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GridMetrics m = ComputeMetrics(c.input);
    EXPECT_EQ(m.headerHeight, c.header);
    EXPECT_EQ(m.rowHeight, c.row);
    EXPECT_EQ(m.checkBoxSize, c.checkBox);
    EXPECT_EQ(m.textLeft, c.textLeft);
    if (c.input.images) {
      EXPECT_EQ(m.imageLeft, c.imageLeft);
      EXPECT_EQ(m.imageTop, c.imageTop);
    }
  }
  EXPECT_EQ(ComputeMetrics({96, 13, 0, false, {}, false}).textFlags & kTextWordEllipsis, 0u);
  EXPECT_NE(ComputeMetrics({96, 13, 0, false, {}, true}).textFlags & kTextWordEllipsis, 0u);
  // "&" in a task name is text, not a mnemonic.
  EXPECT_NE(ComputeMetrics({96, 13, 0, false, {}, false}).textFlags & kTextNoPrefix, 0u);
}

TEST(GridLayout, ShownColumnsSkipHiddenOnesAndStartAtTheScrollPosition) {
  const GridModel model = Columns({100, -50, 60, 0, 40});
  const auto edges = [](const std::vector<ColumnSpan>& spans) {
    std::vector<std::vector<int>> out;
    for (const ColumnSpan& s : spans) out.push_back({s.col, s.left, s.width});
    return out;
  };
  EXPECT_EQ(edges(ShownColumns(model, 0, 96)),
            (std::vector<std::vector<int>>{{0, 0, 100}, {2, 100, 60}, {3, 160, 0}, {4, 160, 40}}));
  EXPECT_EQ(edges(ShownColumns(model, 1, 96)), (std::vector<std::vector<int>>{{2, 0, 60}, {3, 60, 0}, {4, 60, 40}}));
  EXPECT_EQ(edges(ShownColumns(model, 0, 144)),
            (std::vector<std::vector<int>>{{0, 0, 150}, {2, 150, 90}, {3, 240, 0}, {4, 240, 60}}));
  EXPECT_EQ(GridWidth(ShownColumns(model, 0, 96)), 200);
  EXPECT_TRUE(ShownColumns(model, 5, 96).empty());
}

TEST(GridLayout, HugeColumnWidthsStayInsideTheCoordinateRange) {
  GridModel model = Columns({1, 1, 1});
  for (std::int32_t col = 0; col <= model.Cols(); ++col) model.SetColWidth(col, 3e9f);
  const std::vector<ColumnSpan> spans = ShownColumns(model, 0, 144);
  for (const ColumnSpan& span : spans) {
    EXPECT_GE(span.left, 0);
    EXPECT_GE(span.right(), span.left);
  }
  EXPECT_EQ(ColFromX(5, spans), 0);
}

TEST(GridLayout, RowFromYWithAndWithoutColumnHeaders) {
  const GridMetrics m = DefaultMetrics();  // header 17, rows 16
  struct Case {
    bool headers;
    std::int32_t top;
    int y;
    std::int32_t row;
  };
  const Case cases[] = {
      {true, 0, 0, kNoIndex},   {true, 0, 16, kNoIndex}, {true, 0, 17, 0},  {true, 0, 32, 0},
      {true, 0, 33, 1},         {true, 3, 17, 3},        {true, 3, 49, 5},  {true, 0, 17 + 16 * 9, 9},
      {true, 0, 17 + 16 * 10, kNoIndex},
      {false, 0, 15, kNoIndex}, {false, 0, 16, 0},       {false, 2, 16, 2}, {false, 2, 5, kNoIndex},
      {false, 0, -3, kNoIndex}, {true, 0, -3, kNoIndex},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "headers " << c.headers << " top " << c.top << " y " << c.y);
    Viewport view{300, 200, 2, c.top, 0, c.headers};
    EXPECT_EQ(RowFromY(c.y, view, m, 10), c.row);
  }
}

TEST(GridLayout, ColFromXSkipsEmptyColumnsAndEndsAtTheLastEdge) {
  const std::vector<ColumnSpan> spans = ShownColumns(Columns({50, 0, 30}), 0, 96);
  struct Case {
    int x;
    std::int32_t col;
  };
  for (const Case& c : {Case{-1, kNoIndex}, Case{0, 0}, Case{49, 0}, Case{50, 2}, Case{79, 2}, Case{80, kNoIndex}}) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(ColFromX(c.x, spans), c.col);
  }
}

TEST(GridLayout, ResizeEdgeReachesFourPixelsEitherSide) {
  const std::vector<ColumnSpan> spans = ShownColumns(Columns({100, 0, 60}), 0, 96);
  struct Case {
    int x;
    std::optional<std::int32_t> col;
  };
  // Column 1 has no width, so its edge is column 0's; the later one wins.
  const Case cases[] = {{95, std::nullopt}, {96, 1}, {103, 1}, {104, std::nullopt}, {156, 2}, {163, 2},
                        {164, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(ResizeEdgeAt(c.x, spans, 96), c.col);
  }
  EXPECT_EQ(ResizeEdgeAt(156, ShownColumns(Columns({100, 0, 60}), 0, 144), 144), std::nullopt);
  EXPECT_EQ(ResizeEdgeAt(144, ShownColumns(Columns({100, 0, 60}), 0, 144), 144), 1);
}

TEST(GridLayout, VisibleRowsRoundWhileFullRowsTruncate) {
  const GridMetrics m = DefaultMetrics();  // header 17, rows 16
  struct Case {
    int height;
    int border;
    std::int32_t rounded, full;
  };
  const Case cases[] = {{200, 2, 11, 11}, {200, 0, 11, 11}, {197, 0, 11, 11}, {196, 0, 11, 11},
                        {193, 2, 11, 11}, {190, 2, 11, 10}, {189, 2, 10, 10}, {205, 2, 12, 11},
                        {185, 2, 10, 10}, {10, 2, 0, 0},    {0, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    const Viewport view{300, c.height, c.border, 0, 0, true};
    EXPECT_EQ(ItemsVisible(view, m), c.rounded);
    EXPECT_EQ(FullyVisibleRows(view, m), c.full);
  }
  // 11.19 rows: the rounded count drops the partial row, the drawn rows include it.
  EXPECT_EQ(LastRowInView({300, 200, 2, 0, 0, true}, m, 100), 11);
  EXPECT_EQ(LastRowInView({300, 200, 2, 95, 0, true}, m, 100), 99);
  EXPECT_EQ(LastRowInView({300, 10, 2, 0, 0, true}, m, 100), kNoIndex);
  EXPECT_EQ(LastRowInView({300, 200, 2, 0, 0, true}, m, 0), kNoIndex);
}

TEST(GridLayout, ScrollRangesShowABarOnlyWhenSomethingIsOutOfView) {
  const GridMetrics m = DefaultMetrics();
  GridModel model = Columns({100, 100, 100});
  for (int i = 0; i < 20; ++i) model.AddItem("x");
  struct Case {
    const char* name;
    int width, height;
    ScrollRanges ranges;
  };
  const Case cases[] = {
      {"everything fits", 400, 17 + 16 * 20, {0, false, 0, false}},
      {"one row short", 400, 17 + 16 * 19 + 15, {1, true, 0, false}},
      {"columns too wide", 299, 400, {0, false, 1, true}},
      {"smaller than a row", 50, 20, {19, true, 1, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ComputeScrollRanges(model, {c.width, c.height, 2, 0, 0, true}, m), c.ranges);
  }
}

TEST(GridLayout, ScrollingToAColumnMovesTheLeftColumnAsLittleAsPossible) {
  const GridModel model = Columns({100, -80, 100, 100, 100});
  EXPECT_EQ(LeftColShowing(model, 0, 3, 250, 96), 0);
  EXPECT_EQ(LeftColShowing(model, 2, 0, 250, 96), 0);
  EXPECT_EQ(LeftColShowing(model, 3, 0, 250, 96), 2);
  EXPECT_EQ(LeftColShowing(model, 4, 0, 250, 96), 3);
  EXPECT_EQ(LeftColShowing(model, 4, 0, 50, 96), 4) << "a column wider than the window is shown from its left edge";
  EXPECT_EQ(LeftColShowing(model, 1, 3, 250, 96), 3) << "a hidden column moves nothing";
}

TEST(GridLayout, SortArrowPointsUpWhenAscendingAndShrinksForTheSubSort) {
  const ColumnSpan span{0, 100, 80};  // right edge at 180; arrow starts at 168, top 6
  EXPECT_EQ(SortArrow(span, true, false, 96),
            (std::vector<ArrowLine>{{172, 6, 1}, {171, 7, 3}, {170, 8, 5}, {169, 9, 7}, {168, 10, 9}}));
  EXPECT_EQ(SortArrow(span, false, false, 96),
            (std::vector<ArrowLine>{{168, 6, 9}, {169, 7, 7}, {170, 8, 5}, {171, 9, 3}, {172, 10, 1}}));
  EXPECT_EQ(SortArrow(span, true, true, 96), (std::vector<ArrowLine>{{170, 6, 2}, {169, 7, 4}, {168, 8, 6}}));
  EXPECT_TRUE(SortArrow({0, 0, 8}, true, false, 96).empty());
  EXPECT_EQ(SortArrow({0, 0, 9}, true, false, 96).size(), 5u);
  EXPECT_EQ(SortArrow({0, 0, 20}, true, false, 144).front().y, 9);
  EXPECT_EQ(SortArrow({0, 0, 20}, true, false, 144).back().length, 14);
  EXPECT_EQ(HeaderTextRect(span, 17, true, 96), (Rect{103, 0, 64, 17}));
  EXPECT_EQ(HeaderTextRect(span, 17, false, 96), (Rect{103, 0, 71, 17}));
  EXPECT_EQ(HeaderTextRect({0, 0, 2}, 17, false, 96).width, 0);
}

TEST(GridLayout, StripesAlternateOnlyTheControlsOwnBackColour) {
  constexpr OleColor back = kSystemWindow, s1 = 0xFFFFFF, s2 = 0xF5F5F5, red = 0x0000FF;
  struct Case {
    OleColor fill;
    bool striped;
    std::int32_t position;
    OleColor expected;
  };
  const Case cases[] = {{back, true, 0, s1},  {back, true, 1, s2},   {back, true, 2, s1},
                        {back, false, 1, back}, {red, true, 1, red}, {red, true, 0, red}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.fill << " striped " << c.striped << " at " << c.position);
    EXPECT_EQ(StripeColor(c.fill, back, c.striped, c.position, s1, s2), c.expected);
  }
}

TEST(GridLayout, FocusRectangleFollowsModeAndFullRowSelect) {
  const GridMetrics m = ComputeMetrics({96, 13, 0, true, {}, true});  // text left 18
  const std::vector<ColumnSpan> spans = ShownColumns(Columns({100, 50}), 0, 96);
  const Viewport view{300, 200, 2, 2, 0, true};
  struct Case {
    const char* name;
    FocusInput focus;
    std::optional<Rect> rect;
  };
  const Case cases[] = {
      {"row", {true, 1, true, 3, 1}, Rect{18, 34, 132, 15}},
      {"row needs FullRowSelect", {true, 1, false, 3, 1}, std::nullopt},
      {"cell", {true, 2, false, 3, 1}, Rect{100, 34, 50, 15}},
      {"cell needs a column", {true, 2, true, 3, kNoIndex}, std::nullopt},
      {"off", {true, 0, true, 3, 1}, std::nullopt},
      {"without focus", {false, 1, true, 3, 1}, std::nullopt},
      {"row scrolled away", {true, 1, true, 1, 1}, std::nullopt},
      {"row below the drawn ones", {true, 1, true, 9, 1}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FocusRectangle(c.focus, spans, view, m, 8), c.rect);
  }
  // Scrolled right, the row's area starts at the window's edge.
  const std::vector<ColumnSpan> scrolled = ShownColumns(Columns({100, 50}), 1, 96);
  EXPECT_EQ(FocusRectangle({true, 1, true, 3, 1}, scrolled, view, m, 8), (Rect{0, 34, 50, 15}));
}

TEST(GridLayout, RowCheckBoxTakesTheFirstFifteenPixelsOfColumnZero) {
  const GridMetrics m = ComputeMetrics({96, 13, 0, true, {}, true});
  const std::vector<ColumnSpan> spans = ShownColumns(Columns({100, 50}), 0, 96);
  EXPECT_TRUE(HitsRowCheckBox(0, spans, m));
  EXPECT_TRUE(HitsRowCheckBox(14, spans, m));
  EXPECT_FALSE(HitsRowCheckBox(15, spans, m));
  EXPECT_FALSE(HitsRowCheckBox(5, ShownColumns(Columns({100, 50}), 1, 96), m)) << "column 0 scrolled away";
  EXPECT_FALSE(HitsRowCheckBox(8, ShownColumns(Columns({8, 50}), 0, 96), m)) << "past a narrow column 0";
  EXPECT_EQ(RowCheckBoxRect(m), (Rect{3, 2, 12, 12}));
}

TEST(GridLayout, CellCheckBoxFollowsTheCellsAlignment) {
  const GridMetrics m = DefaultMetrics();
  const Rect cell{100, 40, 60, 16};
  EXPECT_EQ(CellCheckBoxRect(cell, 4, m), (Rect{103, 42, 12, 12}));
  EXPECT_EQ(CellCheckBoxRect(cell, 5, m), (Rect{124, 42, 12, 12}));
  EXPECT_EQ(CellCheckBoxRect(cell, 6, m), (Rect{145, 42, 12, 12}));
}

TEST(GridLayout, ProgressBarFillsItsShareOfTheFrame) {
  const Rect cell{10, 20, 104, 16};
  struct Case {
    std::int32_t percent;
    int filled;
  };
  for (const Case& c : {Case{0, 0}, Case{50, 50}, Case{100, 100}, Case{150, 100}, Case{-5, 0}}) {
    SCOPED_TRACE(c.percent);
    const ProgressBar bar = ProgressBarIn(cell, c.percent, 96);
    EXPECT_EQ(bar.frame, (Rect{12, 22, 100, 12}));
    EXPECT_EQ(bar.fill, (Rect{12, 22, c.filled, 12}));
  }
  EXPECT_EQ(ProgressBarIn({0, 0, 2, 2}, 50, 96).frame.width, 0);
}

}  // namespace
}  // namespace kelvane
