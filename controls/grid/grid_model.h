#pragma once
// The data behind GridCtl, the owner-drawn grid control: the column table,
// the rows in the order they were added (storage order), their cells, the
// display order through which every public row index goes, and the colour
// pairs the cells share. Painting and input belong to the Win32 control,
// which implements GridView; the owner hears the events through GridEvents.
//
// Row and column indexes are zero-based; a row index is a display position.
// An index outside the tables throws std::out_of_range and leaves the model
// as it was.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/grid/grid_color_pairs.h"
#include "controls/grid/grid_events.h"
#include "controls/grid/scale_units.h"

namespace kelvane {

enum class ColumnType : std::int16_t { Text = 0, Number = 1, Date = 2, CheckBox = 3, Progress = 4, Custom = 5 };

// How FindItem matches a cell text against the search text.
enum class SearchMode : std::int32_t {
  Equal = 0,
  NotLess = 1,
  Prefix = 2,
  Nothing = 3,
  // Same first character and not less: what type-ahead uses.
  TypeAhead = 4,
  // Contains the search text, always ignoring case.
  Contains = 5,
};

// Cell flag bits. A progress column keeps its value 0..100 in the flags instead.
inline constexpr std::uint16_t kCellChecked = 2;
inline constexpr std::uint16_t kCellBold = 8;
inline constexpr std::uint16_t kCellItalic = 16;
inline constexpr std::uint16_t kCellUnderline = 32;
// Row flag bits.
inline constexpr std::uint16_t kRowChecked = 2;
inline constexpr std::uint16_t kRowSelected = 4;

inline constexpr OleColor kSystemWindow = 0x80000005;
inline constexpr OleColor kSystemWindowText = 0x80000008;
// A column's sort order: this value sorts ascending, every other descending.
inline constexpr std::int32_t kSortAscending = 1;
// "No row", "no column", and a Sort argument that keeps the current setting.
inline constexpr std::int32_t kNoIndex = -1;

class GridModel {
 public:
  // Either pointer may be null; the model then talks to nobody.
  explicit GridModel(GridView* view = nullptr, GridEvents* events = nullptr);

  void SetView(GridView* view);
  void SetEvents(GridEvents* events);
  void SetImageList(const GridImageList* images) { images_ = images; }
  void SetScreenScale(const ScreenScale& screen) { screen_ = screen; }

  // ---- Columns (indexes 0 to Cols()) ----
  // Column 0 counts as free while its alignment is 0 and is overwritten then.
  std::int32_t AddColumn(std::string_view caption = {}, float width = 0, std::int32_t alignment = 0,
                         ColumnType type = ColumnType::Text, std::string_view format = {});
  std::int32_t Cols() const { return static_cast<std::int32_t>(columns_.size()) - 1; }
  // Recreates the column table with `highest` + 1 fresh columns.
  void SetCols(std::int32_t highest);
  const std::string& FormatString() const { return formatString_; }
  // "^", "<" or ">" before a "|"-separated heading centres, left- or
  // right-aligns its column.
  void SetFormatString(std::string_view format);

  const std::string& ColHeading(std::int32_t col) const { return ColumnAt(col).heading; }
  void SetColHeading(std::int32_t col, std::string_view heading) { ColumnAt(col).heading = heading; }
  const std::string& ColFormat(std::int32_t col) const { return ColumnAt(col).format; }
  void SetColFormat(std::int32_t col, std::string_view format) { ColumnAt(col).format = format; }
  const std::string& ColTag(std::int32_t col) const { return ColumnAt(col).tag; }
  void SetColTag(std::int32_t col, std::string_view tag) { ColumnAt(col).tag = tag; }
  std::int32_t ColAlignment(std::int32_t col) const { return ColumnAt(col).alignment; }
  void SetColAlignment(std::int32_t col, std::int32_t alignment) { ColumnAt(col).alignment = alignment; }
  ColumnType ColType(std::int32_t col) const { return ColumnAt(col).type; }
  void SetColType(std::int32_t col, ColumnType type) { ColumnAt(col).type = type; }
  bool ColVisible(std::int32_t col) const { return ColumnAt(col).visible; }
  void SetColVisible(std::int32_t col, bool visible);
  float ColWidth(std::int32_t col) const { return ColumnAt(col).width; }
  void SetColWidth(std::int32_t col, float width);
  std::int32_t ColWidthPixels(std::int32_t col) const { return ColumnAt(col).widthPixels; }
  // The left edge in pixels, as the layout last placed the column.
  std::int32_t ColLeft(std::int32_t col) const { return ColumnAt(col).left; }
  void SetColLeft(std::int32_t col, std::int32_t pixels) { ColumnAt(col).left = pixels; }
  std::int32_t ColSortOrder(std::int32_t col) const { return ColumnAt(col).sortOrder; }
  void SetColSortOrder(std::int32_t col, std::int32_t order) { ColumnAt(col).sortOrder = order; }
  // An outside control (an opaque handle, 0 for none) that follows the column.
  void BindControl(std::int32_t col, std::uintptr_t control, std::int16_t moveControl);
  std::uintptr_t BoundControl(std::int32_t col) const { return ColumnAt(col).boundControl; }
  std::int16_t BoundMoveControl(std::int32_t col) const { return ColumnAt(col).moveControl; }

  // ---- Rows ----
  // `text` holds the cells' texts separated by TAB. An insert position below
  // 1 or not below the number of rows appends. Returns the new display row.
  std::int32_t AddItem(std::string_view text = {}, std::optional<std::int32_t> insertAt = std::nullopt,
                       bool checked = false);
  void RemoveItem(std::int32_t row);
  // Empties the rows and colour pairs; columns stay. Does not repaint.
  void Clear();
  std::int32_t ItemCount() const { return static_cast<std::int32_t>(order_.size()); }
  std::int32_t RowCount() const { return ItemCount(); }

  bool ItemChecked(std::int32_t row) const { return (RowAt(row).flags & kRowChecked) != 0; }
  void SetItemChecked(std::int32_t row, bool checked);
  bool ItemSelected(std::int32_t row) const { return (RowAt(row).flags & kRowSelected) != 0; }
  void SetItemSelected(std::int32_t row, bool selected);
  std::int32_t ItemData(std::int32_t row) const { return RowAt(row).itemData; }
  void SetItemData(std::int32_t row, std::int32_t data) { RowAt(row).itemData = data; }
  const std::string& ItemTag(std::int32_t row) const { return RowAt(row).tag; }
  void SetItemTag(std::int32_t row, std::string_view tag) { RowAt(row).tag = tag; }
  // An image index; an image chosen by key is kept as the negated index.
  std::int32_t ItemImage(std::int32_t row) const { return RowAt(row).image; }
  void SetItemImage(std::int32_t row, std::int32_t index);
  // Throws std::out_of_range when no image list knows the key.
  void SetItemImageKey(std::int32_t row, std::string_view key);
  void SetItemBackColor(std::int32_t row, OleColor color);
  void SetItemForeColor(std::int32_t row, OleColor color);
  void SetItemFontBold(std::int32_t row, bool bold);
  std::int32_t RowHeight(std::int32_t row) const { return RowAt(row).height; }
  // The number of cells the row got: one per column at the time it was added.
  std::int32_t RowCellCount(std::int32_t row) const;
  std::int32_t StorageIndex(std::int32_t row) const;

  std::int32_t CheckedCount() const { return CountRowFlag(kRowChecked); }
  std::int32_t SelectedCount() const { return selectedCount_; }
  // Unselects every row; false when none was selected. Costs one row when
  // a single row was selected, so moving a single selection stays cheap at
  // any size.
  bool ClearSelection();
  // Selects the display rows from `first` to `last` (either order) and
  // unselects all others; false when that was already the selection.
  bool SelectOnly(std::int32_t first, std::int32_t last);
  // Exchanges two display rows and makes `row2` current (without an event).
  void SwapRow(std::int32_t row1, std::int32_t row2);

  // ---- Cells ----
  const std::string& CellText(std::int32_t row, std::int32_t col) const { return CellAt(row, col).text; }
  void SetCellText(std::int32_t row, std::int32_t col, std::string_view text);
  // Replaces a cell's text while it is being painted, without asking for
  // another paint.
  void StoreDrawnText(std::int32_t row, std::int32_t col, std::string text) { CellAt(row, col).text = std::move(text); }
  std::int32_t CellAlignment(std::int32_t row, std::int32_t col) const { return CellAt(row, col).alignment; }
  void SetCellAlignment(std::int32_t row, std::int32_t col, std::int32_t alignment);
  bool CellChecked(std::int32_t row, std::int32_t col) const { return CellFlag(row, col, kCellChecked); }
  void SetCellChecked(std::int32_t row, std::int32_t col, bool on) { SetCellFlag(row, col, kCellChecked, on); }
  bool CellFontBold(std::int32_t row, std::int32_t col) const { return CellFlag(row, col, kCellBold); }
  void SetCellFontBold(std::int32_t row, std::int32_t col, bool on) { SetCellFlag(row, col, kCellBold, on); }
  bool CellFontItalic(std::int32_t row, std::int32_t col) const { return CellFlag(row, col, kCellItalic); }
  void SetCellFontItalic(std::int32_t row, std::int32_t col, bool on) { SetCellFlag(row, col, kCellItalic, on); }
  bool CellFontUnderline(std::int32_t row, std::int32_t col) const { return CellFlag(row, col, kCellUnderline); }
  void SetCellFontUnderline(std::int32_t row, std::int32_t col, bool on) {
    SetCellFlag(row, col, kCellUnderline, on);
  }
  // A cell without a colour pair shows the grid's BackColor and ForeColor.
  OleColor CellBackColor(std::int32_t row, std::int32_t col) const { return ColorsOf(CellAt(row, col)).back; }
  void SetCellBackColor(std::int32_t row, std::int32_t col, OleColor color);
  OleColor CellForeColor(std::int32_t row, std::int32_t col) const { return ColorsOf(CellAt(row, col)).fore; }
  void SetCellForeColor(std::int32_t row, std::int32_t col, OleColor color);
  // Only progress columns keep a value; elsewhere it reads 0 and sets nothing.
  std::int16_t CellProgressValue(std::int32_t row, std::int32_t col) const;
  void SetCellProgressValue(std::int32_t row, std::int32_t col, std::int16_t value);
  // The cell's colour-pair index (ColorPairTable::kNone for none).
  std::int32_t CellColorPair(std::int32_t row, std::int32_t col) const { return CellAt(row, col).colorPair; }
  const ColorPairTable& ColorPairs() const { return colorPairs_; }
  // Gives a block of cells one back colour; an empty or reversed block does
  // nothing. Does not repaint.
  void FillBackColor(std::int32_t firstRow, std::int32_t lastRow, std::int32_t firstCol, std::int32_t lastCol,
                     OleColor color);

  // ---- Current cell ----
  std::int32_t Row() const { return row_; }
  void SetRow(std::int32_t row);
  std::int32_t Col() const { return col_; }
  void SetCol(std::int32_t col);
  // Moves both at once, with one RowColChanged; false when nothing changed.
  bool SetCurrentCell(std::int32_t row, std::int32_t col);

  // ---- Properties the model itself uses ----
  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor color) { backColor_ = color; }
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor color) { foreColor_ = color; }
  std::int32_t CacheIncrement() const { return cacheIncrement_; }
  void SetCacheIncrement(std::int32_t rows) { cacheIncrement_ = rows < 0 ? 1 : rows; }
  std::int32_t RowHeightMin() const { return rowHeightMin_; }
  void SetRowHeightMin(std::int32_t height) { rowHeightMin_ = height; }
  std::int32_t ScaleUnits() const { return scaleUnits_; }
  void SetScaleUnits(std::int32_t units) { scaleUnits_ = units; }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on) { multiSelect_ = on; }
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool on);
  bool ColumnSort() const { return columnSort_; }
  void SetColumnSort(bool on) { columnSort_ = on; }
  std::int32_t SearchColumn() const { return searchColumn_; }
  void SetSearchColumn(std::int32_t col) { searchColumn_ = col; }

  // ---- Redraw batching ----
  bool Redraw() const { return redraw_; }
  // Switching painting back on does the layout work deferred meanwhile.
  void SetRedraw(bool on);
  bool LayoutPending() const { return layoutPending_; }
  bool ScrollBarsPending() const { return scrollBarsPending_; }
  void Refresh();
  // Without force and while Redraw is off this only notes that painting is due.
  void DrawGrid(bool force);

  // ---- Sorting and searching ----
  // kNoIndex keeps the column; an order of kNoIndex toggles the column's order.
  void Sort(std::int32_t sortCol = kNoIndex, std::int32_t sortOrder = kNoIndex, std::int32_t subSortCol = kNoIndex,
            std::int32_t subSortOrder = kNoIndex);
  void ColSort(std::int32_t col, bool ascending);
  std::int32_t SortColumn() const { return sortCol_; }
  std::int32_t SubSortColumn() const { return subSortCol_; }
  void ClearSubSortColumn() { subSortCol_ = kNoIndex; }
  // The first display row whose text in `col` (kNoIndex: SearchColumn)
  // matches, or kNoIndex. Without matchCase, letter case is ignored.
  std::int32_t FindItem(std::string_view text, std::int32_t col = kNoIndex, SearchMode mode = SearchMode::Equal,
                        bool matchCase = false) const;

 private:
  struct Column {
    std::uintptr_t boundControl = 0;
    float width = 0;
    std::int32_t alignment = 0;
    std::int32_t sortOrder = 0;
    ColumnType type = ColumnType::Text;
    std::int32_t widthPixels = 0;
    std::int32_t left = 0;
    std::int16_t moveControl = 0;
    bool visible = true;
    std::string heading;
    std::string format;
    std::string tag;
  };
  struct RowRecord {
    std::int32_t height = 0;
    std::int32_t image = 0;
    std::int32_t itemData = 0;
    std::uint16_t flags = 0;
    // Cells 0 to cellCount - 1: one per column when the row was added.
    std::uint16_t cellCount = 0;
    std::string tag;
  };
  struct Cell {
    std::string text;
    std::int32_t colorPair = ColorPairTable::kNone;
    std::int16_t alignment = 0;
    std::uint16_t flags = 0;
  };

  const Column& ColumnAt(std::int32_t col) const;
  Column& ColumnAt(std::int32_t col);
  // The row as an index into order_; throws when there is no such row.
  std::size_t CheckedRow(std::int32_t row) const;
  std::size_t StorageOf(std::int32_t row) const;
  const RowRecord& RowAt(std::int32_t row) const { return rows_[StorageOf(row)]; }
  RowRecord& RowAt(std::int32_t row) { return rows_[StorageOf(row)]; }
  template <class Visit>
  void ForEachCellOf(std::size_t storage, Visit visit);
  const Cell& CellAt(std::int32_t row, std::int32_t col) const;
  Cell& CellAt(std::int32_t row, std::int32_t col);
  // One column's cells in storage order, for sorting and searching; rows
  // added before the column existed read as empty cells there. Empty when no
  // row has a cell in the column.
  std::span<const Cell> ColumnCells(std::int32_t col) const {
    if (static_cast<std::size_t>(col) >= slots_.size()) return {};
    return slots_[static_cast<std::size_t>(col)];
  }

  bool CellFlag(std::int32_t row, std::int32_t col, std::uint16_t bit) const;
  void SetCellFlag(std::int32_t row, std::int32_t col, std::uint16_t bit, bool on);
  void SetRowFlag(std::int32_t row, std::uint16_t bit, bool on);
  std::int32_t CountRowFlag(std::uint16_t bit) const;
  ColorPair ColorsOf(const Cell& cell) const;
  void RecolorCell(Cell& cell, ColorPair wanted) { cell.colorPair = colorPairs_.Assign(cell.colorPair, wanted); }
  void ResetColumns(std::size_t count);
  std::int32_t PixelWidth(float width) const;
  // Sets the current row or column (`current` is row_ or col_).
  void MoveCurrentCell(std::int32_t& current, std::int32_t wanted);
  void MakeFirstRowCurrentIfNone();
  void RefreshLayout();

  void SortDisplayRange(std::span<std::int32_t> range, std::int32_t col);
  void SubSortRuns();

  GridView* view_;
  GridEvents* events_;
  const GridImageList* images_ = nullptr;
  ScreenScale screen_;

  std::vector<Column> columns_;
  std::vector<RowRecord> rows_;
  // Cells column by column: slots_[col][storage]. A scan or sort of one column
  // then reads one dense array. Every slot holds a cell for every row; cells
  // past a row's cellCount stay empty and are not reachable as cells.
  std::vector<std::vector<Cell>> slots_;
  // Display position -> storage index.
  std::vector<std::int32_t> order_;
  ColorPairTable colorPairs_;
  std::string formatString_;

  std::int32_t row_ = kNoIndex;
  std::int32_t col_ = kNoIndex;
  std::int32_t sortCol_ = kNoIndex;
  std::int32_t subSortCol_ = kNoIndex;
  std::int32_t selectedCount_ = 0;
  // The storage index of the row selected last, while it may still be.
  std::int32_t lastSelected_ = kNoIndex;

  OleColor backColor_ = kSystemWindow;
  OleColor foreColor_ = kSystemWindowText;
  std::int32_t cacheIncrement_ = 10;
  std::int32_t rowHeightMin_ = 0;
  std::int32_t scaleUnits_ = kScalePixels;
  bool multiSelect_ = false;
  bool checkBoxes_ = false;
  bool columnSort_ = false;
  std::int32_t searchColumn_ = 0;
  bool redraw_ = true;
  bool layoutPending_ = false;
  bool scrollBarsPending_ = false;
};

}  // namespace kelvane
