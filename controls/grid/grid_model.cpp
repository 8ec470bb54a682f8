#include "controls/grid/grid_model.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kelvane {
namespace {

constexpr std::int32_t kDefaultRowHeight = 16;
constexpr float kFormatStringWidth = 1000;
constexpr std::size_t kMaxCellsPerRow = 0xFFFF;

GridView& NoView() {
  static GridView view;
  return view;
}

GridEvents& NoEvents() {
  static GridEvents events;
  return events;
}

[[noreturn]] void ThrowBadIndex(const char* what) { throw std::out_of_range(what); }

// The store grows geometrically so that appending stays O(1) amortised;
// CacheIncrement is the least it grows by.
template <class T>
void MakeRoom(std::vector<T>& items, std::size_t extra, std::size_t minimumStep) {
  if (items.size() + extra <= items.capacity()) return;
  items.reserve(std::max(items.size() + std::max(extra, minimumStep), items.capacity() * 2));
}

// Gives memory back once a store is mostly empty, at a cost that the
// removals since the last growth have paid for.
template <class T>
void ShrinkWhenSparse(std::vector<T>& items) {
  if (items.capacity() > 64 && items.size() < items.capacity() / 4) items.shrink_to_fit();
}

}  // namespace

GridModel::GridModel(GridView* view, GridEvents* events)
    : view_(view ? view : &NoView()), events_(events ? events : &NoEvents()) {
  columns_.resize(1);
  Clear();
}

void GridModel::SetView(GridView* view) { view_ = view ? view : &NoView(); }
void GridModel::SetEvents(GridEvents* events) { events_ = events ? events : &NoEvents(); }

// ---- Columns ----

const GridModel::Column& GridModel::ColumnAt(std::int32_t col) const {
  if (col < 0 || static_cast<std::size_t>(col) >= columns_.size()) ThrowBadIndex("grid column index out of range");
  return columns_[static_cast<std::size_t>(col)];
}

GridModel::Column& GridModel::ColumnAt(std::int32_t col) {
  return const_cast<Column&>(std::as_const(*this).ColumnAt(col));
}

std::int32_t GridModel::PixelWidth(float width) const {
  return ScaleToWholePixels(width, scaleUnits_, ScaleAxis::Horizontal, screen_);
}

std::int32_t GridModel::AddColumn(std::string_view caption, float width, std::int32_t alignment, ColumnType type,
                                  std::string_view format) {
  if (columns_[0].alignment != 0) columns_.emplace_back();
  const std::size_t index = columns_[0].alignment == 0 ? 0 : columns_.size() - 1;
  Column& column = columns_[index];
  column = Column{};
  column.heading = caption;
  column.width = width;
  column.widthPixels = PixelWidth(width);
  column.alignment = alignment;
  column.type = type;
  column.format = format;
  RefreshLayout();
  return static_cast<std::int32_t>(index);
}

void GridModel::ResetColumns(std::size_t count) {
  columns_.assign(count, Column{});
  // The old indexes name columns that no longer exist.
  sortCol_ = kNoIndex;
  subSortCol_ = kNoIndex;
  if (col_ >= static_cast<std::int32_t>(count)) col_ = kNoIndex;
}

void GridModel::SetCols(std::int32_t highest) {
  if (highest < 0) ThrowBadIndex("a grid keeps at least one column");
  ResetColumns(static_cast<std::size_t>(highest) + 1);
}

void GridModel::SetFormatString(std::string_view format) {
  formatString_ = format;
  if (format.empty()) {
    ResetColumns(1);
    Clear();
    RefreshLayout();
    return;
  }
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t bar = format.find('|', start);
    fields.push_back(format.substr(start, bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  if (fields.size() > columns_.size()) ResetColumns(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Column& column = columns_[i];
    std::string_view heading = fields[i];
    const char prefix = heading.empty() ? '\0' : heading.front();
    if (prefix == '^' || prefix == '<' || prefix == '>') {
      column.alignment = prefix == '^' ? 5 : prefix == '<' ? 4 : 6;
      heading.remove_prefix(1);
    }
    column.heading = heading;
    column.width = kFormatStringWidth;
    column.widthPixels = PixelWidth(kFormatStringWidth);
    column.visible = true;
  }
  RefreshLayout();
}

void GridModel::SetColVisible(std::int32_t col, bool visible) {
  ColumnAt(col).visible = visible;
  DrawGrid(false);
}

void GridModel::SetColWidth(std::int32_t col, float width) {
  Column& column = ColumnAt(col);
  column.width = width;
  column.widthPixels = PixelWidth(width);
  DrawGrid(false);
}

void GridModel::BindControl(std::int32_t col, std::uintptr_t control, std::int16_t moveControl) {
  Column& column = ColumnAt(col);
  column.boundControl = control;
  column.moveControl = moveControl;
}

// ---- Rows ----

std::size_t GridModel::CheckedRow(std::int32_t row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= order_.size()) ThrowBadIndex("grid row index out of range");
  return static_cast<std::size_t>(row);
}

std::size_t GridModel::StorageOf(std::int32_t row) const {
  return static_cast<std::size_t>(order_[CheckedRow(row)]);
}

std::int32_t GridModel::StorageIndex(std::int32_t row) const { return static_cast<std::int32_t>(StorageOf(row)); }

template <class Visit>
void GridModel::ForEachCellOf(std::size_t storage, Visit visit) {
  for (std::size_t col = 0; col < rows_[storage].cellCount; ++col) visit(slots_[col][storage]);
}

std::int32_t GridModel::RowCellCount(std::int32_t row) const { return RowAt(row).cellCount; }

std::int32_t GridModel::AddItem(std::string_view text, std::optional<std::int32_t> insertAt, bool checked) {
  const std::size_t cellCount = columns_.size();
  if (cellCount > kMaxCellsPerRow) ThrowBadIndex("too many columns for a row");
  const auto step = static_cast<std::size_t>(cacheIncrement_);
  // A new column slot starts with empty cells for the rows already there.
  while (slots_.size() < cellCount) slots_.emplace_back(rows_.size());
  MakeRoom(rows_, 1, step);
  MakeRoom(order_, 1, step);
  for (std::vector<Cell>& slot : slots_) MakeRoom(slot, 1, step);

  const auto storage = static_cast<std::int32_t>(rows_.size());
  const std::int32_t position = insertAt && *insertAt >= 1 && *insertAt < storage ? *insertAt : storage;

  RowRecord record;
  record.height = rowHeightMin_ < 1 ? kDefaultRowHeight
                                    : ScaleToWholePixels(rowHeightMin_, scaleUnits_, ScaleAxis::Vertical, screen_);
  record.flags = checked ? kRowChecked : 0;
  record.cellCount = static_cast<std::uint16_t>(cellCount);
  const std::int32_t pair = colorPairs_.AssignMany(ColorPairTable::kNone, {backColor_, foreColor_},
                                                   static_cast<std::int32_t>(cellCount));
  for (std::size_t i = 0; i < cellCount; ++i) {
    std::string_view part;
    if (cellCount == 1) {
      part = text;
    } else {
      const std::size_t tab = text.find('\t');
      part = text.substr(0, tab);
      text = tab == std::string_view::npos ? std::string_view{} : text.substr(tab + 1);
    }
    slots_[i].push_back(Cell{std::string(part), pair, static_cast<std::int16_t>(columns_[i].alignment), 0});
  }
  for (std::size_t i = cellCount; i < slots_.size(); ++i) slots_[i].emplace_back();
  rows_.push_back(std::move(record));
  order_.insert(order_.begin() + position, storage);

  RefreshLayout();
  MakeFirstRowCurrentIfNone();
  events_->ItemCountChanged();
  return position;
}

void GridModel::RemoveItem(std::int32_t row) {
  const std::size_t storage = StorageOf(row);
  const bool wasSelected = (rows_[storage].flags & kRowSelected) != 0;
  const bool wasLast = static_cast<std::size_t>(row) + 1 == order_.size();
  if (wasSelected) --selectedCount_;
  if (lastSelected_ == static_cast<std::int32_t>(storage)) {
    lastSelected_ = kNoIndex;
  } else if (lastSelected_ > static_cast<std::int32_t>(storage)) {
    --lastSelected_;
  }

  ForEachCellOf(storage, [this](const Cell& cell) {
    if (cell.colorPair != ColorPairTable::kNone) colorPairs_.Release(cell.colorPair);
  });
  for (std::vector<Cell>& slot : slots_) {
    slot.erase(slot.begin() + static_cast<std::ptrdiff_t>(storage));
    ShrinkWhenSparse(slot);
  }
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(storage));
  order_.erase(order_.begin() + row);
  for (std::int32_t& entry : order_) {
    if (entry > static_cast<std::int32_t>(storage)) --entry;
  }
  ShrinkWhenSparse(rows_);
  ShrinkWhenSparse(order_);

  bool selectionChanged = false;
  if (order_.empty()) {
    Clear();
  } else {
    const auto last = static_cast<std::int32_t>(order_.size()) - 1;
    if (wasSelected) {
      // A single selection moves on to the row that took the removed one's place.
      if (!multiSelect_) {
        const std::size_t next = StorageOf(wasLast ? last : row);
        if ((rows_[next].flags & kRowSelected) == 0) ++selectedCount_;
        rows_[next].flags |= kRowSelected;
        lastSelected_ = static_cast<std::int32_t>(next);
      }
      selectionChanged = true;
    }
    // The current row fell off the end.
    if (row_ > last) row_ = last;
  }
  RefreshLayout();
  if (selectionChanged) events_->SelectionChanged();
  MakeFirstRowCurrentIfNone();
  events_->ItemCountChanged();
}

void GridModel::Clear() {
  rows_ = {};
  slots_ = {};
  order_ = {};
  colorPairs_.Clear();
  row_ = kNoIndex;
  col_ = kNoIndex;
  sortCol_ = kNoIndex;
  subSortCol_ = kNoIndex;
  selectedCount_ = 0;
  lastSelected_ = kNoIndex;
  view_->ResetPointerState();
}

void GridModel::MakeFirstRowCurrentIfNone() {
  if (row_ != kNoIndex || order_.empty()) return;
  row_ = 0;
  events_->RowColChanged();
}

void GridModel::SetRowFlag(std::int32_t row, std::uint16_t bit, bool on) {
  const std::size_t storage = StorageOf(row);
  RowRecord& record = rows_[storage];
  if (bit == kRowSelected && ((record.flags & bit) != 0) != on) {
    selectedCount_ += on ? 1 : -1;
    if (on) lastSelected_ = static_cast<std::int32_t>(storage);
  }
  record.flags = static_cast<std::uint16_t>(on ? record.flags | bit : record.flags & ~bit);
  DrawGrid(false);
}

bool GridModel::ClearSelection() {
  if (selectedCount_ == 0) return false;
  if (selectedCount_ == 1 && lastSelected_ != kNoIndex &&
      (rows_[static_cast<std::size_t>(lastSelected_)].flags & kRowSelected) != 0) {
    rows_[static_cast<std::size_t>(lastSelected_)].flags &= static_cast<std::uint16_t>(~kRowSelected);
  } else {
    for (RowRecord& record : rows_) record.flags &= static_cast<std::uint16_t>(~kRowSelected);
  }
  selectedCount_ = 0;
  lastSelected_ = kNoIndex;
  DrawGrid(false);
  return true;
}

bool GridModel::SelectOnly(std::int32_t first, std::int32_t last) {
  if (first > last) std::swap(first, last);
  CheckedRow(first);
  CheckedRow(last);
  const std::int32_t wanted = last - first + 1;
  bool already = selectedCount_ == wanted;
  for (std::int32_t row = first; already && row <= last; ++row) already = ItemSelected(row);
  if (already) return false;
  ClearSelection();
  for (std::int32_t row = first; row <= last; ++row) rows_[StorageOf(row)].flags |= kRowSelected;
  selectedCount_ = wanted;
  lastSelected_ = static_cast<std::int32_t>(StorageOf(last));
  DrawGrid(false);
  return true;
}

void GridModel::SetItemChecked(std::int32_t row, bool checked) { SetRowFlag(row, kRowChecked, checked); }
void GridModel::SetItemSelected(std::int32_t row, bool selected) { SetRowFlag(row, kRowSelected, selected); }

std::int32_t GridModel::CountRowFlag(std::uint16_t bit) const {
  return static_cast<std::int32_t>(
      std::count_if(rows_.begin(), rows_.end(), [bit](const RowRecord& r) { return (r.flags & bit) != 0; }));
}

void GridModel::SetItemImage(std::int32_t row, std::int32_t index) {
  RowAt(row).image = index;
  DrawGrid(false);
}

void GridModel::SetItemImageKey(std::int32_t row, std::string_view key) {
  RowRecord& record = RowAt(row);
  const std::optional<std::int32_t> index = images_ ? images_->IndexOfKey(key) : std::nullopt;
  if (!index) ThrowBadIndex("no image with that key");
  record.image = -*index;
  DrawGrid(false);
}

void GridModel::SetItemBackColor(std::int32_t row, OleColor color) {
  ForEachCellOf(StorageOf(row), [&](Cell& cell) { RecolorCell(cell, {color, ColorsOf(cell).fore}); });
  DrawGrid(false);
}

void GridModel::SetItemForeColor(std::int32_t row, OleColor color) {
  ForEachCellOf(StorageOf(row), [&](Cell& cell) { RecolorCell(cell, {ColorsOf(cell).back, color}); });
  DrawGrid(false);
}

void GridModel::SetItemFontBold(std::int32_t row, bool bold) {
  ForEachCellOf(StorageOf(row), [bold](Cell& cell) {
    cell.flags = static_cast<std::uint16_t>(bold ? cell.flags | kCellBold : cell.flags & ~kCellBold);
  });
  DrawGrid(false);
}

void GridModel::SwapRow(std::int32_t row1, std::int32_t row2) {
  std::swap(order_.at(CheckedRow(row1)), order_.at(CheckedRow(row2)));
  row_ = row2;
  DrawGrid(false);
}

// ---- Cells ----

const GridModel::Cell& GridModel::CellAt(std::int32_t row, std::int32_t col) const {
  const std::size_t storage = StorageOf(row);
  ColumnAt(col);
  if (col >= rows_[storage].cellCount) ThrowBadIndex("the row was added before this column existed");
  return slots_[static_cast<std::size_t>(col)][storage];
}

GridModel::Cell& GridModel::CellAt(std::int32_t row, std::int32_t col) {
  return const_cast<Cell&>(std::as_const(*this).CellAt(row, col));
}

void GridModel::SetCellText(std::int32_t row, std::int32_t col, std::string_view text) {
  CellAt(row, col).text = text;
  DrawGrid(false);
}

void GridModel::SetCellAlignment(std::int32_t row, std::int32_t col, std::int32_t alignment) {
  CellAt(row, col).alignment = static_cast<std::int16_t>(alignment);
  DrawGrid(false);
}

bool GridModel::CellFlag(std::int32_t row, std::int32_t col, std::uint16_t bit) const {
  return (CellAt(row, col).flags & bit) != 0;
}

void GridModel::SetCellFlag(std::int32_t row, std::int32_t col, std::uint16_t bit, bool on) {
  Cell& cell = CellAt(row, col);
  cell.flags = static_cast<std::uint16_t>(on ? cell.flags | bit : cell.flags & ~bit);
  DrawGrid(false);
}

ColorPair GridModel::ColorsOf(const Cell& cell) const {
  if (cell.colorPair == ColorPairTable::kNone) return {backColor_, foreColor_};
  return colorPairs_.Pair(cell.colorPair);
}

void GridModel::SetCellBackColor(std::int32_t row, std::int32_t col, OleColor color) {
  Cell& cell = CellAt(row, col);
  RecolorCell(cell, {color, ColorsOf(cell).fore});
  DrawGrid(false);
}

void GridModel::SetCellForeColor(std::int32_t row, std::int32_t col, OleColor color) {
  Cell& cell = CellAt(row, col);
  RecolorCell(cell, {ColorsOf(cell).back, color});
  DrawGrid(false);
}

std::int16_t GridModel::CellProgressValue(std::int32_t row, std::int32_t col) const {
  const Cell& cell = CellAt(row, col);
  return ColumnAt(col).type == ColumnType::Progress ? static_cast<std::int16_t>(cell.flags) : 0;
}

void GridModel::SetCellProgressValue(std::int32_t row, std::int32_t col, std::int16_t value) {
  Cell& cell = CellAt(row, col);
  if (ColumnAt(col).type != ColumnType::Progress) return;
  cell.flags = static_cast<std::uint16_t>(std::clamp<std::int16_t>(value, 0, 100));
  DrawGrid(false);
}

void GridModel::FillBackColor(std::int32_t firstRow, std::int32_t lastRow, std::int32_t firstCol,
                              std::int32_t lastCol, OleColor color) {
  if (firstRow < 0 || firstRow > lastRow || firstCol < 0 || firstCol > lastCol) return;
  // Every cell is checked before the first one changes.
  for (std::int32_t row = firstRow; row <= lastRow; ++row) CellAt(row, lastCol);
  for (std::int32_t row = firstRow; row <= lastRow; ++row) {
    for (std::int32_t col = firstCol; col <= lastCol; ++col) {
      Cell& cell = CellAt(row, col);
      RecolorCell(cell, {color, ColorsOf(cell).fore});
    }
  }
}

// ---- Current cell ----

void GridModel::SetRow(std::int32_t row) {
  if (row != kNoIndex) CheckedRow(row);
  MoveCurrentCell(row_, row);
}

void GridModel::SetCol(std::int32_t col) {
  if (col != kNoIndex) ColumnAt(col);
  MoveCurrentCell(col_, col);
}

bool GridModel::SetCurrentCell(std::int32_t row, std::int32_t col) {
  if (row != kNoIndex) CheckedRow(row);
  if (col != kNoIndex) ColumnAt(col);
  if (row == row_ && col == col_) return false;
  row_ = row;
  col_ = col;
  DrawGrid(false);
  events_->RowColChanged();
  return true;
}

void GridModel::MoveCurrentCell(std::int32_t& current, std::int32_t wanted) {
  if (wanted == current) return;
  current = wanted;
  DrawGrid(false);
  events_->RowColChanged();
}

// ---- Redraw batching ----

void GridModel::SetCheckBoxes(bool on) {
  checkBoxes_ = on;
  RefreshLayout();
}

void GridModel::RefreshLayout() {
  if (redraw_) {
    Refresh();
  } else {
    layoutPending_ = true;
    scrollBarsPending_ = true;
  }
}

void GridModel::Refresh() {
  layoutPending_ = false;
  scrollBarsPending_ = false;
  view_->RecomputeMetrics();
  view_->RecomputeScrollBars();
  DrawGrid(true);
}

void GridModel::DrawGrid(bool force) {
  if (!force && !redraw_) {
    layoutPending_ = true;
    return;
  }
  view_->Paint();
}

void GridModel::SetRedraw(bool on) {
  redraw_ = on;
  const bool scrollBars = scrollBarsPending_;
  const bool layout = layoutPending_;
  scrollBarsPending_ = false;
  layoutPending_ = false;
  if (!on) return;
  if (scrollBars) view_->RecomputeScrollBars();
  if (layout) {
    view_->RecomputeMetrics();
    view_->Paint();
  }
}

}  // namespace kelvane
