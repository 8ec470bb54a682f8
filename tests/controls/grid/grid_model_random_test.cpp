// Long random sequences of grid operations, checked after every step against
// a plain reference: a vector of rows in display order.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <utility>

#include "controls/grid/grid_model.h"
#include "controls/grid/grid_recorders.h"
#include "controls/grid/grid_text.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

using testing::CellsPerColorPair;
using testing::ColorPairCounts;
using testing::RecordingEvents;

constexpr std::int32_t kColumns = 3;
constexpr ColumnType kSortableTypes[] = {ColumnType::Text, ColumnType::Number, ColumnType::Date,
                                         ColumnType::CheckBox, ColumnType::Custom};
// Few distinct texts, so that sorts meet many equal keys.
const char* const kTexts[] = {"", "a", "B", "b", "10", "9", "1", "1.0", "-3", "2024-01-02",
                              "2023-12-31 10:00", "x\xC3\xA9", "\xC3\xA9"};
constexpr OleColor kColors[] = {0x0000FF, 0x00FF00, 0xFF0000, kSystemWindow, kSystemWindowText};

struct RefCell {
  std::string text;
  std::uint16_t flags = 0;
  ColorPair colors{kSystemWindow, kSystemWindowText};
};

struct RefRow {
  std::int32_t id = 0;
  std::vector<RefCell> cells;
  bool checked = false;
  bool selected = false;
};

struct Reference {
  std::vector<RefRow> rows;
  std::int32_t current = kNoIndex;
  std::int32_t sortCol = kNoIndex;
  std::int32_t subSortCol = kNoIndex;
  std::int32_t orders[kColumns] = {};
  ColumnType types[kColumns] = {};
  bool multiSelect = false;

  std::int32_t Count() const { return static_cast<std::int32_t>(rows.size()); }
  void Clear() {
    rows.clear();
    current = sortCol = subSortCol = kNoIndex;
  }
  void StableSort(std::vector<RefRow>::iterator first, std::vector<RefRow>::iterator last, std::int32_t col) {
    const bool ascending = orders[col] == kSortAscending;
    const auto compare = [&](const auto& key) {
      std::stable_sort(first, last, [&](const RefRow& a, const RefRow& b) {
        return ascending ? key(a) < key(b) : key(b) < key(a);
      });
    };
    switch (types[col]) {
      case ColumnType::Number: return compare([col](const RefRow& r) { return LeadingNumber(r.cells[col].text); });
      case ColumnType::Date: return compare([col](const RefRow& r) { return DateSortKey(r.cells[col].text); });
      case ColumnType::CheckBox:
        return compare([col](const RefRow& r) { return (r.cells[col].flags & kCellChecked) ? 0 : 1; });
      default: return compare([col](const RefRow& r) { return r.cells[col].text; });
    }
  }
  void Sort(std::int32_t col, std::int32_t order, std::int32_t subCol, std::int32_t subOrder) {
    if (col != kNoIndex) sortCol = col;
    if (subCol != kNoIndex) subSortCol = subCol;
    if (sortCol == kNoIndex) std::swap(sortCol, subSortCol);
    if (subSortCol == sortCol) subSortCol = kNoIndex;
    if (sortCol != kNoIndex) orders[sortCol] = order != kNoIndex ? order : orders[sortCol] != 0 ? 0 : 1;
    if (subSortCol != kNoIndex) orders[subSortCol] = subOrder != kNoIndex ? subOrder : orders[subSortCol] != 0 ? 0 : 1;
    if (sortCol == kNoIndex) return;
    const std::int32_t currentId = current == kNoIndex ? -1 : rows[current].id;
    StableSort(rows.begin(), rows.end(), sortCol);
    if (subSortCol != kNoIndex) {
      auto runStart = rows.begin();
      while (runStart != rows.end()) {
        const auto runEnd = std::find_if(runStart, rows.end(), [&](const RefRow& r) {
          return r.cells[sortCol].text != runStart->cells[sortCol].text;
        });
        StableSort(runStart, runEnd, subSortCol);
        runStart = runEnd;
      }
    }
    for (std::int32_t i = 0; i < Count(); ++i) {
      if (rows[i].id == currentId) current = i;
    }
  }
};

class RandomGridRun {
 public:
  explicit RandomGridRun(std::uint32_t seed) : random_(seed) {
    for (std::int32_t col = 0; col < kColumns; ++col) grid_.AddColumn("", 50, 4);
  }

  void Step() {
    const int choice = Uniform(0, 99);
    if (choice < 22) return Add(std::nullopt);
    if (choice < 32) return Add(Uniform(-1, ref_.Count() + 1));
    if (choice < 44 + (ref_.Count() > 40 ? 20 : 0)) return Remove();
    if (choice < 52) return Swap();
    if (choice < 58) return SortRows();
    if (choice < 73) return Recolor();
    if (choice < 83) return Flag();
    if (choice < 91) return SetText();
    if (choice < 96) return MoveCurrent();
    if (choice < 98) return ToggleMultiSelect();
    ref_.Clear();
    grid_.Clear();
  }

  void Check() const {
    ASSERT_EQ(grid_.ItemCount(), ref_.Count());
    std::vector<std::int32_t> storage;
    for (std::int32_t row = 0; row < ref_.Count(); ++row) storage.push_back(grid_.StorageIndex(row));
    std::sort(storage.begin(), storage.end());
    for (std::int32_t i = 0; i < ref_.Count(); ++i) ASSERT_EQ(storage[i], i) << "display order is no permutation";
    for (std::int32_t row = 0; row < ref_.Count(); ++row) {
      const RefRow& expected = ref_.rows[row];
      ASSERT_EQ(grid_.ItemData(row), expected.id) << "row " << row;
      ASSERT_EQ(grid_.ItemChecked(row), expected.checked) << "row " << row;
      ASSERT_EQ(grid_.ItemSelected(row), expected.selected) << "row " << row;
      for (std::int32_t col = 0; col < kColumns; ++col) {
        const RefCell& cell = expected.cells[col];
        ASSERT_EQ(grid_.CellText(row, col), cell.text) << row << ',' << col;
        ASSERT_EQ(grid_.CellChecked(row, col), (cell.flags & kCellChecked) != 0) << row << ',' << col;
        ASSERT_EQ(grid_.CellFontBold(row, col), (cell.flags & kCellBold) != 0) << row << ',' << col;
        ASSERT_EQ(grid_.CellBackColor(row, col), cell.colors.back) << row << ',' << col;
        ASSERT_EQ(grid_.CellForeColor(row, col), cell.colors.fore) << row << ',' << col;
      }
    }
    const auto countRows = [this](bool RefRow::*flag) {
      return static_cast<std::int32_t>(std::count_if(ref_.rows.begin(), ref_.rows.end(), [flag](const RefRow& r) {
        return r.*flag;
      }));
    };
    ASSERT_EQ(grid_.CheckedCount(), countRows(&RefRow::checked));
    ASSERT_EQ(grid_.SelectedCount(), countRows(&RefRow::selected));
    ASSERT_EQ(ColorPairCounts(grid_), CellsPerColorPair(grid_));
    ASSERT_EQ(grid_.Row(), ref_.current);
    ASSERT_EQ(grid_.SortColumn(), ref_.sortCol);
    ASSERT_EQ(grid_.SubSortColumn(), ref_.subSortCol);
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  const char* AnyText() { return kTexts[Uniform(0, std::size(kTexts) - 1)]; }
  OleColor AnyColor() { return kColors[Uniform(0, std::size(kColors) - 1)]; }
  // Mostly a real row, sometimes one past either end.
  std::int32_t AnyRow() {
    if (ref_.Count() == 0 || Uniform(0, 9) == 0) return Uniform(0, 1) ? -1 : ref_.Count();
    return Uniform(0, ref_.Count() - 1);
  }
  bool Valid(std::int32_t row) const { return row >= 0 && row < ref_.Count(); }

  template <class Call>
  void ExpectOutOfRange(Call call) {
    EXPECT_THROW(call(), std::out_of_range);
  }

  void Add(std::optional<std::int32_t> at) {
    RefRow row{.id = nextId_++, .cells = std::vector<RefCell>(kColumns), .checked = Uniform(0, 3) == 0};
    // Up to one part more than there are columns; the extra part is dropped.
    const int parts = Uniform(0, kColumns + 1);
    std::string text;
    for (int part = 0; part < parts; ++part) {
      const char* piece = AnyText();
      if (part > 0) text += '\t';
      text += piece;
      if (part < kColumns) row.cells[part].text = piece;
    }
    const std::int32_t position = at && *at >= 1 && *at < ref_.Count() ? *at : ref_.Count();
    ASSERT_EQ(grid_.AddItem(text, at, row.checked), position);
    grid_.SetItemData(position, row.id);
    ref_.rows.insert(ref_.rows.begin() + position, row);
    if (ref_.current == kNoIndex) ref_.current = 0;
  }

  void Remove() {
    const std::int32_t row = AnyRow();
    if (!Valid(row)) return ExpectOutOfRange([&] { grid_.RemoveItem(row); });
    grid_.RemoveItem(row);
    const bool wasSelected = ref_.rows[row].selected;
    const bool wasLast = row == ref_.Count() - 1;
    ref_.rows.erase(ref_.rows.begin() + row);
    if (ref_.rows.empty()) return ref_.Clear();
    if (wasSelected && !ref_.multiSelect) ref_.rows[wasLast ? ref_.Count() - 1 : row].selected = true;
    ref_.current = std::min(ref_.current, ref_.Count() - 1);
    if (ref_.current == kNoIndex) ref_.current = 0;
  }

  void Swap() {
    const std::int32_t a = AnyRow(), b = AnyRow();
    if (!Valid(a) || !Valid(b)) return ExpectOutOfRange([&] { grid_.SwapRow(a, b); });
    grid_.SwapRow(a, b);
    std::swap(ref_.rows[a], ref_.rows[b]);
    ref_.current = b;
  }

  void SortRows() {
    for (std::int32_t col = 0; col < kColumns; ++col) {
      ref_.types[col] = kSortableTypes[Uniform(0, std::size(kSortableTypes) - 1)];
      grid_.SetColType(col, ref_.types[col]);
    }
    const std::int32_t col = Uniform(-1, kColumns - 1), order = Uniform(-1, 1);
    const std::int32_t subCol = Uniform(0, 2) == 0 ? kNoIndex : Uniform(0, kColumns - 1), subOrder = Uniform(-1, 1);
    grid_.Sort(col, order, subCol, subOrder);
    ref_.Sort(col, order, subCol, subOrder);
  }

  void Recolor() {
    const std::int32_t row = AnyRow(), col = Uniform(0, kColumns - 1);
    const OleColor color = AnyColor();
    const int what = Uniform(0, 6);
    if (!Valid(row)) {
      return ExpectOutOfRange([&] {
        if (what < 2) grid_.SetCellBackColor(row, col, color);
        else grid_.SetItemForeColor(row, color);
      });
    }
    RefRow& target = ref_.rows[row];
    switch (what) {
      case 0: grid_.SetCellBackColor(row, col, color); target.cells[col].colors.back = color; break;
      case 1: grid_.SetCellForeColor(row, col, color); target.cells[col].colors.fore = color; break;
      case 2: grid_.SetItemBackColor(row, color); for (auto& c : target.cells) c.colors.back = color; break;
      case 3: grid_.SetItemForeColor(row, color); for (auto& c : target.cells) c.colors.fore = color; break;
      default: {
        const std::int32_t lastRow = std::min(row + Uniform(0, 3), ref_.Count() - 1);
        grid_.FillBackColor(row, lastRow, col, kColumns - 1, color);
        for (std::int32_t r = row; r <= lastRow; ++r) {
          for (std::int32_t c = col; c < kColumns; ++c) ref_.rows[r].cells[c].colors.back = color;
        }
      }
    }
  }

  void Flag() {
    const std::int32_t row = AnyRow(), col = Uniform(0, kColumns - 1);
    const bool on = Uniform(0, 1) == 1;
    const int what = Uniform(0, 6);
    if (!Valid(row)) return ExpectOutOfRange([&] { grid_.SetCellChecked(row, col, on); });
    RefRow& target = ref_.rows[row];
    const auto setBit = [on](std::uint16_t& flags, std::uint16_t bit) {
      flags = static_cast<std::uint16_t>(on ? flags | bit : flags & ~bit);
    };
    switch (what) {
      case 0: grid_.SetCellChecked(row, col, on); setBit(target.cells[col].flags, kCellChecked); break;
      case 1: grid_.SetCellFontBold(row, col, on); setBit(target.cells[col].flags, kCellBold); break;
      case 2: grid_.SetItemFontBold(row, on); for (auto& c : target.cells) setBit(c.flags, kCellBold); break;
      case 3: grid_.SetItemChecked(row, on); target.checked = on; break;
      case 4: grid_.SetItemSelected(row, on); target.selected = on; break;
      case 5: {
        bool any = false;
        for (RefRow& r : ref_.rows) any = std::exchange(r.selected, false) || any;
        ASSERT_EQ(grid_.ClearSelection(), any);
        break;
      }
      default: {
        const std::int32_t other = Uniform(0, ref_.Count() - 1);
        grid_.SelectOnly(row, other);
        for (std::int32_t r = 0; r < ref_.Count(); ++r) {
          ref_.rows[r].selected = r >= std::min(row, other) && r <= std::max(row, other);
        }
      }
    }
  }

  void SetText() {
    const std::int32_t row = AnyRow(), col = Uniform(0, kColumns - 1);
    const char* text = AnyText();
    if (!Valid(row)) return ExpectOutOfRange([&] { grid_.SetCellText(row, col, text); });
    grid_.SetCellText(row, col, text);
    ref_.rows[row].cells[col].text = text;
  }

  void MoveCurrent() {
    const std::int32_t row = Uniform(-1, ref_.Count());
    if (row != kNoIndex && !Valid(row)) return ExpectOutOfRange([&] { grid_.SetRow(row); });
    grid_.SetRow(row);
    ref_.current = row;
  }

  void ToggleMultiSelect() {
    ref_.multiSelect = !ref_.multiSelect;
    grid_.SetMultiSelect(ref_.multiSelect);
  }

  std::mt19937 random_;
  RecordingEvents events_;
  GridModel grid_{nullptr, &events_};
  Reference ref_;
  std::int32_t nextId_ = 1000;
};

class GridModelRandomTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(GridModelRandomTest, RandomOperationsAgreeWithTheReference) {
  RandomGridRun run(GetParam());
  for (int step = 0; step < 3000; ++step) {
    SCOPED_TRACE(step);
    run.Step();
    ASSERT_NO_FATAL_FAILURE(run.Check());
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GridModelRandomTest, ::testing::Values(1u, 2u, 3u, 20240601u));

}  // namespace
}  // namespace kelvane
