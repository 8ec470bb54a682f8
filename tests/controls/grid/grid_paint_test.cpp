#include "controls/grid/grid_paint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/grid/grid_control.h"
#include "controls/grid/grid_fake_surface.h"
#include "controls/grid/grid_recorders.h"

namespace kelvane {
namespace {

using testing::FakeSurface;
using testing::RecordingEvents;

template <class Step>
std::vector<Step> StepsOf(const std::vector<PaintStep>& steps) {
  std::vector<Step> found;
  for (const PaintStep& step : steps) {
    if (const auto* s = std::get_if<Step>(&step)) found.push_back(*s);
  }
  return found;
}

std::vector<std::string> Texts(const std::vector<PaintStep>& steps) {
  std::vector<std::string> texts;
  for (const TextStep& t : StepsOf<TextStep>(steps)) texts.emplace_back(t.text);
  return texts;
}

// Fills that cover one row band (y = top), left to right.
std::vector<FillStep> RowFills(const std::vector<PaintStep>& steps, int top) {
  std::vector<FillStep> fills;
  for (const FillStep& f : StepsOf<FillStep>(steps)) {
    if (f.rect.top == top && f.rect.height == 16) fills.push_back(f);
  }
  return fills;
}

// Header 17 pixels, rows 16: row r of the view starts at 17 + 16 r.
class GridPaintTest : public ::testing::Test {
 protected:
  GridPaintTest() {
    grid.InitProperties(FontDescription{"Tahoma", 8}, LoadMode::Run);
    grid.SetClientSize(300, 17 + 16 * 5);
  }
  void Columns(int count, int width = 100) {
    for (int i = 0; i < count; ++i) grid.Model().AddColumn("h" + std::to_string(i), static_cast<float>(width), 4);
  }
  // Row i reads "ri" in column 0 and "b", "c" in the next columns.
  void Rows(int count) {
    const std::string rest = grid.Model().Cols() == 0 ? "" : "\tb\tc";
    for (int i = 0; i < count; ++i) grid.Model().AddItem("r" + std::to_string(i) + rest);
  }

  FakeSurface surface;
  RecordingEvents events;
  GridControl grid{surface, &events};
};

TEST_F(GridPaintTest, StripesAlternateExceptUnderExplicitCellColours) {
  Columns(2);
  Rows(4);
  grid.SetProperty(GridProperty::Striped, true);
  grid.Model().SetCellBackColor(1, 1, 0x00FF00);
  grid.Model().SetCellBackColor(2, 1, 0x00FF00);
  const std::vector<PaintStep> steps = grid.PlanPaint();
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    const std::vector<FillStep> fills = RowFills(steps, 17 + 16 * row);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().color, row % 2 == 0 ? OleColor{0xFFFFFF} : OleColor{0xF5F5F5});
    const bool colored = row == 1 || row == 2;
    ASSERT_EQ(fills.size(), colored ? 2u : 1u);
    if (colored) {
      EXPECT_EQ(fills.back().color, 0x00FF00u);
    }
  }
}

TEST_F(GridPaintTest, SelectedRowsAreHighlightedOnlyWithFullRowSelectOrMultiSelect) {
  Columns(2);
  Rows(2);
  grid.SetProperty(GridProperty::CheckBoxes, true);  // text left at 18
  grid.Model().SetItemSelected(1, true);
  struct Case {
    bool fullRow, multi, highlighted;
  };
  for (const Case& c : {Case{true, false, true}, Case{false, true, true}, Case{false, false, false}}) {
    SCOPED_TRACE(::testing::Message() << "full row " << c.fullRow << " multi " << c.multi);
    grid.SetProperty(GridProperty::FullRowSelect, c.fullRow);
    grid.SetProperty(GridProperty::MultiSelect, c.multi);
    const std::vector<PaintStep>& steps = grid.PlanPaint();
    const std::vector<FillStep> fills = RowFills(steps, 33);
    if (c.highlighted) {
      ASSERT_EQ(fills.size(), 2u);
      EXPECT_EQ(fills[0].rect, (Rect{0, 33, 18, 16}));
      EXPECT_EQ(fills[0].color, kSystemWindow) << "the check box keeps the row's own background";
      EXPECT_EQ(fills[1].rect, (Rect{18, 33, 182, 16}));
      EXPECT_EQ(fills[1].color, kSystemHighlight);
    } else {
      ASSERT_EQ(fills.size(), 1u);
      EXPECT_EQ(fills[0].color, kSystemWindow);
    }
    const std::vector<TextStep> texts = StepsOf<TextStep>(steps);
    const auto r1 = std::find_if(texts.begin(), texts.end(), [](const TextStep& t) { return t.text == "r1"; });
    ASSERT_NE(r1, texts.end());
    EXPECT_EQ(r1->color, c.highlighted ? kSystemHighlightText : kSystemWindowText);
  }
}

TEST_F(GridPaintTest, PaintingCostsTheVisibleRowsWhateverTheRowCount) {
  Columns(3);
  Rows(100);
  const std::size_t few = grid.PlanPaint().size();
  grid.Model().SetRedraw(false);
  Rows(20000);
  grid.Model().SetRedraw(true);
  grid.SetTopRow(10000);
  EXPECT_EQ(grid.PlanPaint().size(), few);
  EXPECT_EQ(Texts(grid.PlanPaint()).at(3), grid.Model().CellText(10000, 0));
}

TEST_F(GridPaintTest, SortArrowsMarkTheSortAndSubSortColumns) {
  Columns(3);
  Rows(3);
  grid.Model().SetColWidth(2, 8);
  grid.Model().Sort(0, kSortAscending, 1, 0);
  const std::vector<LineStep> lines = StepsOf<LineStep>(grid.PlanPaint());
  int sortLines = 0, subSortLines = 0;
  for (const LineStep& line : lines) {
    if (line.color != kSystemButtonShadow) continue;
    (line.x1 >= 0 && line.x1 < 100 ? sortLines : subSortLines)++;
  }
  EXPECT_EQ(sortLines, 5);
  EXPECT_EQ(subSortLines, 3);
  grid.Model().ClearSubSortColumn();
  grid.Model().Sort(2, kSortAscending);
  for (const LineStep& line : StepsOf<LineStep>(grid.PlanPaint())) {
    EXPECT_NE(line.color, kSystemButtonShadow) << "column 2 is too narrow for an arrow";
  }
}

TEST_F(GridPaintTest, HeaderLookFollowsPressAndHotTracking) {
  Columns(2);
  Rows(2);
  grid.SetProperty(GridProperty::ThemeStyle, 3);
  grid.MouseMove({150, 5}, {}, 0);
  std::vector<HeaderStep> headers = StepsOf<HeaderStep>(grid.PlanPaint());
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].look, HeaderLook::Normal);
  EXPECT_EQ(headers[1].look, HeaderLook::Hot);
  EXPECT_EQ(headers[1].style, 3);
  grid.ButtonDown(MouseButton::Left, {50, 5}, {});
  headers = StepsOf<HeaderStep>(grid.PlanPaint());
  EXPECT_EQ(headers[0].look, HeaderLook::Pressed);
  grid.MouseMove({50, 60}, {}, 1);
  headers = StepsOf<HeaderStep>(grid.PlanPaint());
  EXPECT_EQ(headers[0].look, HeaderLook::Normal) << "pressed only while the pointer is over it";
  grid.SetProperty(GridProperty::HotHeaderTracking, false);
  grid.ButtonUp(MouseButton::Left, {50, 60}, {});
  grid.MouseMove({150, 5}, {}, 0);
  for (const HeaderStep& h : StepsOf<HeaderStep>(grid.PlanPaint())) EXPECT_EQ(h.look, HeaderLook::Normal);
}

TEST_F(GridPaintTest, TheOwnerCanNarrowTheRowsAndRewriteTexts) {
  Columns(1);
  Rows(4);
  events.lastRowToDraw = 1;
  events.rewriteText = [](std::int32_t storage, std::int32_t, std::string& text) {
    if (storage == 0) text = "first";
  };
  const std::vector<PaintStep>& steps = grid.PlanPaint();
  EXPECT_EQ(Texts(steps), (std::vector<std::string>{"h0", "first", "r1"}));
  EXPECT_EQ(grid.Model().CellText(0, 0), "first") << "stored back";
  EXPECT_EQ(events.Starting("BeforeDrawGrid"), (std::vector<std::string>{"BeforeDrawGrid:0:3"}));
  EXPECT_EQ(events.raised.back(), "AfterDrawGrid");
}

TEST_F(GridPaintTest, ColumnFormatIsAppliedAndKept) {
  Columns(2);
  grid.Model().SetColFormat(1, "#,##0.00");
  grid.Model().AddItem("a\t1234.5");
  grid.Model().AddItem("b\tnot a number");
  grid.PlanPaint();
  EXPECT_EQ(grid.Model().CellText(0, 1), "1,234.50");
  EXPECT_EQ(grid.Model().CellText(1, 1), "not a number");
  const int before = surface.invalidations;
  grid.PlanPaint();
  EXPECT_EQ(surface.invalidations, before) << "painting never asks for another paint";
}

TEST_F(GridPaintTest, CellContentsFollowTheirColumnType) {
  grid.Model().AddColumn("name", 100, 4);
  grid.Model().AddColumn("on", 40, 5, ColumnType::CheckBox);
  grid.Model().AddColumn("done", 100, 4, ColumnType::Progress);
  grid.Model().AddItem("a\tyes\t50");
  grid.Model().SetCellChecked(0, 1, true);
  grid.Model().SetCellProgressValue(0, 2, 40);
  grid.Model().SetCellFontBold(0, 0, true);
  grid.Model().SetCellFontUnderline(0, 0, true);
  const std::vector<PaintStep>& steps = grid.PlanPaint();
  const std::vector<CheckBoxStep> boxes = StepsOf<CheckBoxStep>(steps);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].checked);
  EXPECT_EQ(boxes[0].rect, (Rect{114, 19, 12, 12}));
  const std::vector<ProgressStep> bars = StepsOf<ProgressStep>(steps);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0].bar.fill.width, 38);
  EXPECT_EQ(Texts(steps), (std::vector<std::string>{"name", "on", "done", "a", "50"}));
  EXPECT_EQ(StepsOf<TextStep>(steps)[3].fontStyle, kCellBold | kCellUnderline);
  EXPECT_EQ(StepsOf<TextStep>(steps)[4].fontStyle, 0) << "a progress value is not a font style";
}

TEST_F(GridPaintTest, EveryCellIsClippedToItselfAndNothingElseIs) {
  Columns(2);
  Rows(3);
  grid.SetProperty(GridProperty::CheckBoxes, true);
  grid.Model().SetItemSelected(1, true);
  const std::vector<PaintStep>& steps = grid.PlanPaint();
  std::vector<Rect> clips;
  for (const ClipStep& c : StepsOf<ClipStep>(steps)) {
    if (c.rect) clips.push_back(*c.rect);
  }
  ASSERT_EQ(clips.size(), 6u);
  EXPECT_EQ(clips[0], (Rect{0, 17, 100, 16}));
  EXPECT_EQ(clips[3], (Rect{100, 33, 100, 16}));
  EXPECT_FALSE(StepsOf<ClipStep>(steps).back().rect.has_value()) << "the grid lines and focus are not clipped";
  // Whatever is drawn under a clip lies inside it, or it would not show.
  std::optional<Rect> clip;
  const auto inside = [&clip](const Rect& r) {
    return !clip || (r.left >= clip->left && r.top >= clip->top && r.right() <= clip->right() &&
                     r.bottom() <= clip->bottom());
  };
  for (const PaintStep& step : steps) {
    std::optional<Rect> drawn;
    if (const auto* c = std::get_if<ClipStep>(&step)) clip = c->rect;
    if (const auto* f = std::get_if<FillStep>(&step)) drawn = f->rect;
    if (const auto* t = std::get_if<TextStep>(&step)) drawn = t->rect;
    if (const auto* b = std::get_if<CheckBoxStep>(&step)) drawn = b->rect;
    if (drawn) {
      EXPECT_TRUE(inside(*drawn)) << "at " << drawn->left << "," << drawn->top;
    }
  }
}

TEST_F(GridPaintTest, FocusRectangleOnlyWhileFocused) {
  Columns(2);
  Rows(2);
  EXPECT_TRUE(StepsOf<FocusStep>(grid.PlanPaint()).empty());
  grid.FocusGained();
  ASSERT_EQ(StepsOf<FocusStep>(grid.PlanPaint()).size(), 1u);
  EXPECT_EQ(StepsOf<FocusStep>(grid.PlanPaint())[0].rect, (Rect{3, 18, 197, 15}));
  grid.FocusLost(FocusTarget::Elsewhere);
  EXPECT_TRUE(StepsOf<FocusStep>(grid.PlanPaint()).empty());
}

TEST_F(GridPaintTest, DegenerateGridsPaintWithoutError) {
  struct Case {
    const char* name;
    int width, height;
    std::function<void(GridModel&)> build;
  };
  const Case cases[] = {
      {"no rows", 300, 200, [](GridModel& m) { m.AddColumn("a", 100); }},
      {"no visible columns", 300, 200,
       [](GridModel& m) {
         m.AddColumn("a", 100);
         m.AddItem("x");
         m.SetColVisible(0, false);
       }},
      {"zero-width column", 300, 200,
       [](GridModel& m) {
         m.AddColumn("a", 0);
         m.AddColumn("b", 50);
         m.AddItem("x\ty");
       }},
      {"smaller than a row", 40, 10,
       [](GridModel& m) {
         m.AddColumn("a", 100);
         m.AddItem("x");
       }},
      {"an empty window", 0, 0, [](GridModel& m) { m.AddItem("x"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSurface s;
    GridControl g(s);
    g.InitProperties(FontDescription{"Tahoma", 8}, LoadMode::Run);
    g.SetClientSize(c.width, c.height);
    c.build(g.Model());
    g.FocusGained();
    const std::vector<PaintStep>& steps = g.PlanPaint();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(std::get<FillStep>(steps.front()).rect, (Rect{0, 0, c.width, c.height}));
    for (const TextStep& t : StepsOf<TextStep>(steps)) EXPECT_GT(t.rect.width, 0);
  }
}

}  // namespace
}  // namespace kelvane
