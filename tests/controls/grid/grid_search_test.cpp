#include <gtest/gtest.h>

#include "controls/grid/grid_model.h"

namespace kelvane {
namespace {

TEST(GridSearch, FindItemMatchesByModeAndCase) {
  GridModel grid;
  grid.AddColumn("name", 100, 4);
  grid.AddColumn("other", 100, 4);
  for (const char* row : {"x\tpear", "x\tApple pie", "x\tapple", "x\tBanana", "x\tÄrger", "x\tжук", "x\t"}) {
    grid.AddItem(row);
  }
  const struct {
    const char* text;
    SearchMode mode;
    bool matchCase;
    std::int32_t row;
  } cases[] = {
      {"APPLE", SearchMode::Equal, false, 2},
      {"APPLE", SearchMode::Equal, true, kNoIndex},
      {"apple", SearchMode::Equal, true, 2},
      {"äRGER", SearchMode::Equal, false, 4},
      {"ЖУК", SearchMode::Equal, false, 5},
      {"apple", SearchMode::Prefix, false, 1},
      {"apple", SearchMode::Prefix, true, 2},
      {"apple p", SearchMode::Prefix, false, 1},
      {"b", SearchMode::NotLess, true, 0},
      {"q", SearchMode::NotLess, false, 4},
      {"\xD1\x8F", SearchMode::NotLess, true, kNoIndex},
      {"bz", SearchMode::TypeAhead, false, kNoIndex},
      {"ba", SearchMode::TypeAhead, false, 3},
      {"a", SearchMode::TypeAhead, true, 2},
      {"Ä", SearchMode::TypeAhead, true, 4},
      {"PIE", SearchMode::Contains, true, 1},
      {"rg", SearchMode::Contains, false, 4},
      {"nan", SearchMode::Contains, false, 3},
      {"apple", SearchMode::Nothing, false, kNoIndex},
      {"", SearchMode::Contains, false, kNoIndex},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " mode " + std::to_string(static_cast<int>(c.mode)));
    EXPECT_EQ(grid.FindItem(c.text, 1, c.mode, c.matchCase), c.row);
  }
}

TEST(GridSearch, FindItemUsesTheSearchColumnAndTheDisplayOrder) {
  GridModel grid;
  grid.AddColumn("a", 10, 4);
  grid.AddColumn("b", 10, 4);
  for (const char* row : {"2\tsame", "1\tsame", "3\tother"}) grid.AddItem(row);
  grid.SetSearchColumn(1);
  EXPECT_EQ(grid.FindItem("other"), 2);
  grid.Sort(0, kSortAscending);
  EXPECT_EQ(grid.FindItem("same"), 0);
  EXPECT_EQ(grid.CellText(0, 0), "1");
  grid.SetSearchColumn(-1);
  EXPECT_EQ(grid.FindItem("same"), kNoIndex);
}

}  // namespace
}  // namespace kelvane
