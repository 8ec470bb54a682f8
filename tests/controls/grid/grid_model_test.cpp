#include "controls/grid/grid_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>

#include "controls/grid/grid_recorders.h"

namespace kelvane {
namespace {

using testing::CellsPerColorPair;
using testing::ColorPairCounts;
using testing::ColumnTexts;
using testing::RecordingEvents;
using testing::RecordingView;
using Texts = std::vector<std::string>;

class GridModelTest : public testing::RecordedGridTest {
 protected:

  // Three left-aligned text columns and the given rows.
  void Fill(std::initializer_list<const char*> rows) {
    for (int i = 0; i < 3; ++i) grid.AddColumn("c" + std::to_string(i), 100, 4);
    for (const char* row : rows) grid.AddItem(row);
  }
};

// Everything a caller can observe, as one comparable text.
std::string Snapshot(const GridModel& grid) {
  std::ostringstream out;
  out << "cols " << grid.Cols() << " rows " << grid.ItemCount() << " cur " << grid.Row() << ',' << grid.Col()
      << " sort " << grid.SortColumn() << ',' << grid.SubSortColumn() << '\n';
  for (std::int32_t row = 0; row < grid.ItemCount(); ++row) {
    out << grid.StorageIndex(row) << (grid.ItemChecked(row) ? " c" : " -") << (grid.ItemSelected(row) ? "s" : "-");
    for (std::int32_t col = 0; col < grid.RowCellCount(row); ++col) {
      out << " [" << grid.CellText(row, col) << ' ' << grid.CellColorPair(row, col) << ' '
          << grid.CellBackColor(row, col) << ' ' << grid.CellFontBold(row, col) << ']';
    }
    out << '\n';
  }
  for (std::int32_t i = 0; i < grid.ColorPairs().Size(); ++i) out << grid.ColorPairs().ReferenceCount(i) << ' ';
  return out.str();
}

TEST_F(GridModelTest, RowTextIsSplitAtTabsIntoTheColumns) {
  Fill({"a\tb\tc\tdropped", "only", "\t\tlast"});
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"a", "only", ""}));
  EXPECT_EQ(ColumnTexts(grid, 1), (Texts{"b", "", ""}));
  EXPECT_EQ(ColumnTexts(grid, 2), (Texts{"c", "", "last"}));

  GridModel single;
  single.AddItem("x\ty");
  EXPECT_EQ(single.CellText(0, 0), "x\ty");
}

TEST_F(GridModelTest, FirstRowBecomesCurrentAndEveryAddIsAnnounced) {
  Fill({});
  EXPECT_EQ(grid.Row(), kNoIndex);
  grid.AddItem("a", std::nullopt, true);
  grid.AddItem("b");
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(events.Count("ItemCountChanged"), 2);
  EXPECT_EQ(events.Count("RowColChanged"), 1);
  EXPECT_TRUE(grid.ItemChecked(0));
  EXPECT_FALSE(grid.ItemChecked(1));
}

TEST_F(GridModelTest, RemovingASelectedRowAnnouncesTheSelectionChange) {
  for (const bool multiSelect : {false, true}) {
    SCOPED_TRACE(multiSelect);
    RecordingEvents e;
    GridModel g(nullptr, &e);
    for (const char* text : {"a", "b", "c"}) g.AddItem(text);
    g.SetMultiSelect(multiSelect);
    g.SetItemSelected(1, true);
    g.RemoveItem(1);
    EXPECT_EQ(e.Count("SelectionChanged"), 1);
  }
}

TEST_F(GridModelTest, CellsWithTheSameColoursShareOnePairAndFreedPairsAreReused) {
  Fill({"a", "b", "c", "d"});
  const std::int32_t tableSize = grid.ColorPairs().Size();
  for (std::int32_t row = 0; row < 4; ++row) grid.SetCellBackColor(row, 1, 0x00FF00);
  const std::int32_t green = grid.CellColorPair(0, 1);
  EXPECT_EQ(grid.ColorPairs().ReferenceCount(green), 4);
  for (std::int32_t row = 1; row < 4; ++row) EXPECT_EQ(grid.CellColorPair(row, 1), green);

  grid.SetCellBackColor(3, 1, 0x0000FF);
  EXPECT_EQ(grid.ColorPairs().ReferenceCount(green), 3);
  EXPECT_EQ(grid.CellBackColor(3, 1), 0x0000FFu);
  EXPECT_EQ(grid.CellForeColor(3, 1), kSystemWindowText);

  // Every green cell changes: the green entry is free and takes the next new pair.
  grid.FillBackColor(0, 2, 1, 1, 0xABCDEF);
  grid.SetCellForeColor(0, 0, 0x123456);
  EXPECT_EQ(grid.CellColorPair(0, 0), green);
  EXPECT_EQ(grid.CellBackColor(0, 0), kSystemWindow);
  EXPECT_EQ(grid.ColorPairs().Size(), tableSize + ColorPairTable::kGrowth);
  EXPECT_EQ(ColorPairCounts(grid), CellsPerColorPair(grid));
}

TEST_F(GridModelTest, FillBackColorIgnoresEmptyBlocks) {
  Fill({"a", "b"});
  const std::string before = Snapshot(grid);
  grid.FillBackColor(1, 0, 0, 2, 0xFF);
  grid.FillBackColor(0, 1, 2, 1, 0xFF);
  grid.FillBackColor(-1, 1, 0, 2, 0xFF);
  EXPECT_EQ(Snapshot(grid), before);
}

TEST_F(GridModelTest, SwapRowExchangesRowsAndFollowsTheSecondQuietly) {
  Fill({"a", "b", "c"});
  events.raised.clear();
  grid.SwapRow(0, 2);
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"c", "b", "a"}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_TRUE(events.raised.empty());
}

TEST_F(GridModelTest, FormatStringDefinesColumnsByPrefix) {
  grid.SetFormatString("^Run|<Name|>Size|Plain");
  ASSERT_EQ(grid.Cols(), 3);
  const struct {
    const char* heading;
    std::int32_t alignment;
  } expected[] = {{"Run", 5}, {"Name", 4}, {"Size", 6}, {"Plain", 0}};
  for (std::int32_t col = 0; col < 4; ++col) {
    SCOPED_TRACE(col);
    EXPECT_EQ(grid.ColHeading(col), expected[col].heading);
    EXPECT_EQ(grid.ColAlignment(col), expected[col].alignment);
    EXPECT_EQ(grid.ColWidthPixels(col), 1000);
  }
  grid.AddItem("x");
  grid.SetFormatString("");
  EXPECT_EQ(grid.Cols(), 0);
  EXPECT_EQ(grid.ItemCount(), 0);
}

TEST_F(GridModelTest, ColumnZeroIsReusedWhileItsAlignmentIsZero) {
  EXPECT_EQ(grid.AddColumn("first"), 0);
  EXPECT_EQ(grid.AddColumn("second", 50, 4), 0);
  EXPECT_EQ(grid.AddColumn("third"), 1);
  EXPECT_EQ(grid.ColHeading(0), "second");
  EXPECT_EQ(grid.Cols(), 1);
}

TEST_F(GridModelTest, RowsAddedBeforeAColumnHaveNoCellInIt) {
  grid.AddColumn("a", 10, 4);
  grid.AddItem("old");
  grid.AddColumn("b", 10, 4);
  grid.AddItem("new\tcell");
  EXPECT_EQ(grid.RowCellCount(0), 1);
  EXPECT_THROW((void)grid.CellText(0, 1), std::out_of_range);
  EXPECT_EQ(grid.CellText(1, 1), "cell");
  grid.Sort(1, 0);
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"new", "old"}));
}

TEST_F(GridModelTest, WidthsAndHeightsAreConvertedFromScaleUnits) {
  grid.SetScaleUnits(kScaleTwips);
  grid.AddColumn("w", 1500, 4);
  grid.SetRowHeightMin(315);
  grid.AddItem("tall");
  grid.SetRowHeightMin(0);
  grid.AddItem("default");
  EXPECT_EQ(grid.ColWidthPixels(0), 100);
  EXPECT_EQ(grid.RowHeight(0), 21);
  EXPECT_EQ(grid.RowHeight(1), 16);
}

TEST_F(GridModelTest, ProgressValuesAreClampedAndOnlyKeptInProgressColumns) {
  Fill({"a"});
  grid.SetColType(1, ColumnType::Progress);
  const struct {
    std::int16_t set;
    std::int16_t progress;
  } cases[] = {{-5, 0}, {42, 42}, {250, 100}};
  for (const auto& c : cases) {
    grid.SetCellProgressValue(0, 1, c.set);
    grid.SetCellProgressValue(0, 2, c.set);
    EXPECT_EQ(grid.CellProgressValue(0, 1), c.progress);
    EXPECT_EQ(grid.CellProgressValue(0, 2), 0);
  }
}

TEST_F(GridModelTest, ImagesByKeyAreKeptNegated) {
  class Images : public GridImageList {
   public:
    std::optional<std::int32_t> IndexOfKey(std::string_view key) const override {
      return key == "disk" ? std::optional<std::int32_t>(3) : std::nullopt;
    }
  } images;
  Fill({"a"});
  EXPECT_THROW(grid.SetItemImageKey(0, "disk"), std::out_of_range);
  grid.SetImageList(&images);
  grid.SetItemImageKey(0, "disk");
  EXPECT_EQ(grid.ItemImage(0), -3);
  EXPECT_THROW(grid.SetItemImageKey(0, "cloud"), std::out_of_range);
  EXPECT_EQ(grid.ItemImage(0), -3);
}

TEST_F(GridModelTest, RedrawOffBatchesLayoutWorkIntoOnePaint) {
  grid.AddColumn("a", 10, 4);
  grid.SetRedraw(false);
  view = RecordingView{};
  for (int i = 0; i < 100; ++i) grid.AddItem("row");
  grid.SetCellText(5, 0, "changed");
  EXPECT_EQ(view.paints, 0);
  EXPECT_TRUE(grid.LayoutPending());
  EXPECT_TRUE(grid.ScrollBarsPending());
  grid.SetRedraw(true);
  EXPECT_EQ(view.paints, 1);
  EXPECT_EQ(view.metrics, 1);
  EXPECT_EQ(view.scrollBars, 1);
  EXPECT_FALSE(grid.LayoutPending());

  grid.SetCellText(5, 0, "again");
  EXPECT_EQ(view.paints, 2);
  grid.SetRedraw(false);
  grid.SetRedraw(true);
  EXPECT_EQ(view.paints, 2);
}

TEST_F(GridModelTest, ClearKeepsColumnsAndDoesNotRepaint) {
  Fill({"a", "b"});
  grid.SetCellBackColor(0, 0, 0xFF);
  const int paints = view.paints;
  grid.Clear();
  EXPECT_EQ(view.paints, paints);
  EXPECT_EQ(view.pointerResets, 2);  // on creation and now
  EXPECT_EQ(grid.Cols(), 2);
  EXPECT_EQ(grid.ColorPairs().Size(), 1);
  EXPECT_EQ(grid.ColorPairs().ReferenceCount(0), 0);
}

TEST_F(GridModelTest, BadIndexesThrowAndChangeNothing) {
  Fill({"a\tb\tc", "d\te\tf"});
  grid.SetCellBackColor(1, 1, 0xFF);
  // Bad rows of the row operations are the random model test's concern.
  const std::function<void(GridModel&)> calls[] = {
      [](GridModel& g) { g.SetCellText(0, 3, "x"); },
      [](GridModel& g) { g.SetCellForeColor(0, -1, 1); },
      [](GridModel& g) { g.SetItemBackColor(5, 1); },
      [](GridModel& g) { g.SetItemFontBold(-2, true); },
      [](GridModel& g) { g.FillBackColor(0, 2, 0, 1, 1); },
      [](GridModel& g) { g.FillBackColor(0, 1, 0, 3, 1); },
      [](GridModel& g) { g.SetCol(3); },
      [](GridModel& g) { g.Sort(3); },
      [](GridModel& g) { g.Sort(0, kNoIndex, 7); },
      [](GridModel& g) { g.ColSort(-2, true); },
      [](GridModel& g) { g.SetCols(-1); },
      [](GridModel& g) { g.SetColWidth(3, 1); },
      [](GridModel& g) { (void)g.FindItem("a", 3); },
  };
  const std::string before = Snapshot(grid);
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THROW(calls[i](grid), std::out_of_range);
    EXPECT_EQ(Snapshot(grid), before);
    EXPECT_EQ(grid.ColSortOrder(0), 0);
  }
}

}  // namespace
}  // namespace kelvane
