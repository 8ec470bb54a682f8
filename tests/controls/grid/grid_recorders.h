#pragma once
// A view and an event listener that record what the grid model asks of them.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
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

  // The names raised that begin with `prefix`.
  std::vector<std::string> Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& event : raised) {
      if (event.rfind(prefix, 0) == 0) found.push_back(event);
    }
    return found;
  }

  void ItemCountChanged() override { raised.push_back("ItemCountChanged"); }
  void RowColChanged() override { raised.push_back("RowColChanged"); }
  void SelectionChanged() override { raised.push_back("SelectionChanged"); }
  void SortComplete() override { raised.push_back("SortComplete"); }
  void Click() override { raised.push_back("Click"); }
  void DblClick() override { raised.push_back("DblClick"); }
  void KeyDown(std::int32_t key, std::int32_t shift) override { raised.push_back(Numbered("KeyDown", key, shift)); }
  void KeyPress(std::int32_t character) override { raised.push_back(Numbered("KeyPress", character)); }
  void KeyUp(std::int32_t key, std::int32_t shift) override { raised.push_back(Numbered("KeyUp", key, shift)); }
  void MouseMove(std::int32_t button, std::int32_t, float x, float y) override {
    raised.push_back(Numbered("MouseMove", button, static_cast<int>(x), static_cast<int>(y)));
  }
  void MouseUp(std::int32_t button, std::int32_t, float, float) override { raised.push_back(Numbered("MouseUp", button)); }
  void ColumnClick(std::int32_t col) override { raised.push_back(Numbered("ColumnClick", col)); }
  void ColumnSizeChanged(std::int32_t col, std::int32_t width) override {
    raised.push_back(Numbered("ColumnSizeChanged", col, width));
  }
  void ItemChecked(std::int32_t row) override { raised.push_back(Numbered("ItemChecked", row)); }
  void MouseEnter() override { raised.push_back("MouseEnter"); }
  void MouseLeave() override { raised.push_back("MouseLeave"); }
  void Scroll() override { raised.push_back("Scroll"); }
  void ThemeChanged() override { raised.push_back("ThemeChanged"); }
  void RequestEdit(std::int32_t row, std::int32_t col, bool& cancel) override {
    raised.push_back(Numbered("RequestEdit", row, col));
    cancel = refuseEdit;
  }
  void RequestUpdate(std::int32_t row, std::int32_t col, std::string& text, bool& cancel) override {
    raised.push_back(Numbered("RequestUpdate", row, col) + ":" + text);
    cancel = refuseUpdate;
  }
  void BeforeDrawGrid(std::int32_t& first, std::int32_t& last) override {
    raised.push_back(Numbered("BeforeDrawGrid", first, last));
    if (lastRowToDraw) last = *lastRowToDraw;
  }
  void BeforeDrawText(std::int32_t& storage, std::int32_t& col, std::string& text) override {
    if (rewriteText) rewriteText(storage, col, text);
  }
  void AfterDrawGrid() override { raised.push_back("AfterDrawGrid"); }

  bool refuseEdit = false;
  bool refuseUpdate = false;
  std::optional<std::int32_t> lastRowToDraw;
  std::function<void(std::int32_t storage, std::int32_t col, std::string& text)> rewriteText;

 private:
  template <class... Numbers>
  static std::string Numbered(const char* name, Numbers... numbers) {
    std::string text = name;
    ((text += ":" + std::to_string(numbers)), ...);
    return text;
  }

 public:
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
