#include <gtest/gtest.h>

#include <random>

#include "controls/grid/grid_model.h"
#include "controls/grid/grid_recorders.h"

namespace kelvane {
namespace {

using testing::ColumnTexts;
using Texts = std::vector<std::string>;

class GridSortTest : public testing::RecordedGridTest {
 protected:

  void Columns(std::initializer_list<ColumnType> types) {
    for (const ColumnType type : types) grid.AddColumn("", 100, 4, type);
  }
  void Rows(std::initializer_list<const char*> rows) {
    for (const char* row : rows) grid.AddItem(row);
  }
};

TEST_F(GridSortTest, EachColumnTypeHasItsOwnOrder) {
  const struct {
    ColumnType type;
    Texts unsorted;
    Texts ascending;
  } cases[] = {
      {ColumnType::Text, {"b", "A", "a"}, {"A", "a", "b"}},
      {ColumnType::Text, {"10", "9", "100"}, {"10", "100", "9"}},
      {ColumnType::Progress, {"10", "9", "100"}, {"10", "100", "9"}},
      {ColumnType::Text, {"é", "z", "", "e\xCC\x81"}, {"", "e\xCC\x81", "z", "é"}},
      {ColumnType::Text, {"abcdefgh2", "abcdefgh", "abcdefgh10", "abcdefg"},
       {"abcdefg", "abcdefgh", "abcdefgh10", "abcdefgh2"}},
      {ColumnType::Text, {std::string("b\0\0", 3), "b", std::string("b\0", 2)},
       {"b", std::string("b\0", 2), std::string("b\0\0", 3)}},
      {ColumnType::Number, {"10", "9", "100"}, {"9", "10", "100"}},
      {ColumnType::Number, {"3 apples", "x", "-2", "1e2", "2.5"}, {"-2", "x", "2.5", "3 apples", "1e2"}},
      {ColumnType::Date,
       {"2024-03-01", "soon", "2024/02/29 23:59", "1999-12-31T08:00:00"},
       {"soon", "1999-12-31T08:00:00", "2024/02/29 23:59", "2024-03-01"}},
      {ColumnType::Date, {"0001-01-01", "2024-02-30"}, {"2024-02-30", "0001-01-01"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unsorted.front());
    GridModel g;
    g.AddColumn("", 10, 4, c.type);
    for (const auto& text : c.unsorted) g.AddItem(text);
    g.Sort(0, kSortAscending);
    EXPECT_EQ(ColumnTexts(g, 0), c.ascending);
    g.Sort(0, 0);
    EXPECT_EQ(ColumnTexts(g, 0), Texts(c.ascending.rbegin(), c.ascending.rend()));
  }
}

TEST_F(GridSortTest, EverySortCompletesAndTheCurrentRowStaysOnItsContent) {
  Columns({ColumnType::Date, ColumnType::Text});
  grid.Sort(0);
  grid.AddItem("not a date");
  grid.Sort(0);
  EXPECT_EQ(events.Count("SortComplete"), 2) << "empty and one-row grids";
  Rows({"\td", "\ta", "\tc"});
  grid.SetRow(1);
  events.raised.clear();
  grid.Sort(1, kSortAscending);
  EXPECT_EQ(grid.CellText(grid.Row(), 1), "d");
  EXPECT_EQ(events.raised, (Texts{"SortComplete"}));
}

TEST_F(GridSortTest, RefusedEditStopsTheSort) {
  Columns({ColumnType::Text});
  Rows({"b", "a"});
  view.acceptEdit = false;
  grid.Sort(0);
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"b", "a"}));
  EXPECT_EQ(grid.SortColumn(), kNoIndex);
  EXPECT_EQ(events.Count("SortComplete"), 0);
}

TEST_F(GridSortTest, ColSortSetsTheDirectionAndActsAsAHeaderSort) {
  Columns({ColumnType::Text, ColumnType::Text});
  Rows({"a\t1", "b\t2", "a\t3"});
  grid.Sort(0, kSortAscending, 1, kSortAscending);
  bool columnSortWhilePainting = false;
  view.onPaint = [&] { columnSortWhilePainting = grid.ColumnSort(); };
  grid.ColSort(0, false);
  EXPECT_TRUE(columnSortWhilePainting);
  EXPECT_FALSE(grid.ColumnSort());
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"b", "a", "a"}));
  EXPECT_EQ(ColumnTexts(grid, 1), (Texts{"2", "1", "3"}));
  EXPECT_EQ(grid.ColSortOrder(0), 0);
  EXPECT_EQ(grid.ColSortOrder(1), kSortAscending);
  grid.ColSort(0, false);
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"b", "a", "a"}));
}

TEST_F(GridSortTest, CustomColumnsAskTheOwner) {
  Columns({ColumnType::Custom});
  Rows({"bb", "a", "ccc", "dd"});
  // By length, shortest first when ascending.
  events.placeBefore = [](const std::string& placed, const std::string& other) {
    return placed.size() < other.size();
  };
  grid.Sort(0, kSortAscending);
  EXPECT_EQ(ColumnTexts(grid, 0), (Texts{"a", "bb", "dd", "ccc"}));
}

TEST_F(GridSortTest, ContradictoryOwnerAnswersStillGiveAPermutationInLinearithmicTime) {
  Columns({ColumnType::Custom});
  constexpr int kRows = 1024;
  for (int i = 0; i < kRows; ++i) grid.AddItem(std::to_string(i));
  std::mt19937 random(7);
  for (const bool alwaysBefore : {false, true}) {
    events.placeBefore = [&](const std::string&, const std::string&) { return alwaysBefore || random() % 2 == 0; };
    events.customSortCalls = 0;
    grid.Sort(0);
    EXPECT_LE(events.customSortCalls, kRows * 10);
    std::vector<std::int32_t> storage;
    for (std::int32_t row = 0; row < kRows; ++row) storage.push_back(grid.StorageIndex(row));
    std::sort(storage.begin(), storage.end());
    for (std::int32_t i = 0; i < kRows; ++i) ASSERT_EQ(storage[i], i);
  }
}

}  // namespace
}  // namespace kelvane
