#pragma once
// A view and an event listener that record what the grid model asks of them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/grid/grid_model.h"

namespace kelvane::testing {

class RecordingView : public GridView {
 public:
  int paints = 0;
  int metrics = 0;
  int scrollBars = 0;
  int pointerResets = 0;
  bool acceptEdit = true;
  std::function<void()> onPaint;

  void RecomputeMetrics() override { ++metrics; }
  void RecomputeScrollBars() override { ++scrollBars; }
  void Paint() override {
    ++paints;
    if (onPaint) onPaint();
  }
  bool UpdateCell() override { return acceptEdit; }
  void ResetPointerState() override { ++pointerResets; }
};

class RecordingEvents : public GridEvents {
 public:
  std::vector<std::string> raised;
  // Answers CustomSort; unset, it compares the texts.
  std::function<bool(const std::string& placed, const std::string& other)> placeBefore;
  int customSortCalls = 0;

  int Count(const std::string& name) const {
    int count = 0;
    for (const auto& event : raised) count += event == name ? 1 : 0;
    return count;
  }

  void ItemCountChanged() override { raised.push_back("ItemCountChanged"); }
  void RowColChanged() override { raised.push_back("RowColChanged"); }
  void SelectionChanged() override { raised.push_back("SelectionChanged"); }
  void SortComplete() override { raised.push_back("SortComplete"); }
  void CustomSort(bool ascending, std::int32_t, const std::string& placed, const std::string& other,
                  bool& before) override {
    ++customSortCalls;
    before = placeBefore ? placeBefore(placed, other) : (ascending ? placed < other : placed > other);
  }
};

// A grid wired to both recorders.
class RecordedGridTest : public ::testing::Test {
 protected:
  RecordingView view;
  RecordingEvents events;
  GridModel grid{&view, &events};
};

// The texts of one column, in display order.
inline std::vector<std::string> ColumnTexts(const GridModel& grid, std::int32_t col) {
  std::vector<std::string> texts;
  for (std::int32_t row = 0; row < grid.ItemCount(); ++row) texts.push_back(grid.CellText(row, col));
  return texts;
}

// For every colour-pair entry, the number of cells that use it.
inline std::vector<std::int32_t> CellsPerColorPair(const GridModel& grid) {
  std::vector<std::int32_t> users(static_cast<std::size_t>(grid.ColorPairs().Size()));
  for (std::int32_t row = 0; row < grid.ItemCount(); ++row) {
    for (std::int32_t col = 0; col < grid.RowCellCount(row); ++col) {
      const std::int32_t pair = grid.CellColorPair(row, col);
      if (pair != ColorPairTable::kNone) ++users.at(static_cast<std::size_t>(pair));
    }
  }
  return users;
}

inline std::vector<std::int32_t> ColorPairCounts(const GridModel& grid) {
  std::vector<std::int32_t> counts;
  for (std::int32_t i = 0; i < grid.ColorPairs().Size(); ++i) counts.push_back(grid.ColorPairs().ReferenceCount(i));
  return counts;
}

}  // namespace kelvane::testing
