#pragma once
// Where the grid puts things, in device pixels: the metrics taken from the
// font, the columns shown from the horizontal scroll position, the rows that
// fit, what lies under a point, the scroll ranges, the sort arrows and the
// focus rectangle. Lengths the owner gives (column widths, RowHeightMin) are
// in 96-DPI pixels and scaled to the window's DPI here, so the grid keeps its
// proportions on every monitor.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/layout.h"
#include "controls/grid/grid_colors.h"
#include "controls/grid/grid_model.h"

namespace kelvane {

// DrawText flags the grid uses.
inline constexpr std::uint32_t kTextSingleLine = 0x20;
inline constexpr std::uint32_t kTextNoPrefix = 0x800;
inline constexpr std::uint32_t kTextWordEllipsis = 0x40000;
// The horizontal part of a text-alignment code: 0 left, 1 centre, 2 right.
inline constexpr std::int32_t kAlignHorizontalMask = 3;

struct ImageSize {
  int width = 0;
  int height = 0;
};

struct MetricsInput {
  int dpi = 96;
  // The height of "A" in the grid's font, in device pixels.
  int textHeight = 0;
  // RowHeightMin in 96-DPI pixels; below 1 the rows follow the font.
  std::int32_t rowHeightMin = 0;
  bool checkBoxes = false;
  std::optional<ImageSize> images;
  bool displayEllipsis = true;
};

struct GridMetrics {
  int dpi = 96;
  int textHeight = 0;
  int headerHeight = 0;
  // The height of every row, and the unit of ItemsVisible.
  int rowHeight = 0;
  int checkBoxSize = 0;
  // Where the row check box starts, from the left of column 0.
  int checkBoxLeft = 0;
  // Where the content of column 0 starts, after the check box and the image;
  // the area left of it belongs to the row, not to the selection.
  int textLeft = 0;
  // The inset of text in every other column.
  int textInset = 0;
  int imageLeft = 0;
  int imageTop = 0;
  std::uint32_t textFlags = kTextSingleLine | kTextNoPrefix;
};

GridMetrics ComputeMetrics(const MetricsInput& input);

// A length in 96-DPI pixels on a window of `dpi`, never negative and never
// beyond what fits a coordinate.
int DevicePixels(std::int64_t logical, int dpi);
// The other way, rounded to the nearest 96-DPI pixel.
std::int32_t LogicalPixels(int device, int dpi);

// A column as it is shown: its left edge and width in device pixels.
struct ColumnSpan {
  std::int32_t col = 0;
  int left = 0;
  int width = 0;
  int right() const { return left + width; }
};

// The visible columns from `leftCol` on, laid side by side from x = 0.
std::vector<ColumnSpan> ShownColumns(const GridModel& model, std::int32_t leftCol, int dpi);
// Where the last shown column ends.
int GridWidth(const std::vector<ColumnSpan>& spans);
const ColumnSpan* FindSpan(const std::vector<ColumnSpan>& spans, std::int32_t col);

// What the window looks like from inside: its client area, its border as the
// layout counts it, and the scroll positions.
struct Viewport {
  int width = 0;
  int height = 0;
  // 2 with a single-line border, 0 without.
  int borderWidth = 0;
  std::int32_t topRow = 0;
  std::int32_t leftCol = 0;
  // With headers, y below the header maps to rows; without, rows start one
  // row height further up.
  bool columnHeaders = true;
};

// The number of rows that fit, rounded to the nearest whole row; never
// negative.
std::int32_t ItemsVisible(const Viewport& view, const GridMetrics& metrics);
// The rows that fit entirely; what paging and scrolling into view use.
std::int32_t FullyVisibleRows(const Viewport& view, const GridMetrics& metrics);
// The last row that is at least partly in the window (kNoIndex when none).
std::int32_t LastRowInView(const Viewport& view, const GridMetrics& metrics, std::int32_t itemCount);
// The top of a display row, counted from the first row shown.
int RowTop(std::int32_t row, const Viewport& view, const GridMetrics& metrics);

// kNoIndex above the rows and past the last row.
std::int32_t RowFromY(int y, const Viewport& view, const GridMetrics& metrics, std::int32_t itemCount);
// kNoIndex left of the first and right of the last shown column.
std::int32_t ColFromX(int x, const std::vector<ColumnSpan>& spans);
bool IsOverHeader(int y, const GridMetrics& metrics);

// The column whose right edge is within 4 pixels of x (edge - 4 <= x <
// edge + 4). Where edges meet, the later column wins, so that a column
// dragged to zero width can be pulled open again.
std::optional<std::int32_t> ResizeEdgeAt(int x, const std::vector<ColumnSpan>& spans, int dpi);

// AllowUserResizing values that let the user drag column edges.
bool AllowsColumnResizing(std::int32_t allowUserResizing);

struct ScrollRanges {
  std::int32_t maxTopRow = 0;
  bool verticalShown = false;
  std::int32_t maxLeftCol = 0;
  bool horizontalShown = false;
  friend bool operator==(const ScrollRanges&, const ScrollRanges&) = default;
};

// Rows scroll until the last row is fully shown; columns scroll by whole
// columns while the shown columns are wider than the window.
ScrollRanges ComputeScrollRanges(const GridModel& model, const Viewport& view, const GridMetrics& metrics);

// The first column to show so that `col` is fully in view, moving as little
// as possible from `leftCol`.
std::int32_t LeftColShowing(const GridModel& model, std::int32_t col, std::int32_t leftCol, int viewWidth, int dpi);

// One horizontal line of a sort arrow.
struct ArrowLine {
  int x = 0;
  int y = 0;
  int length = 0;
  friend bool operator==(const ArrowLine&, const ArrowLine&) = default;
};

// The arrow of the sort column (5 lines, the longest 9 pixels at 96 DPI) or
// of the sub-sort column (3 lines, the longest 6), 12 pixels in from the
// column's right edge and 6 below the header's top; ascending points up.
// Columns narrower than the longest line get none.
std::vector<ArrowLine> SortArrow(const ColumnSpan& span, bool ascending, bool subSort, int dpi);

// The heading's rectangle: 3 pixels in on the left, 6 on the right, 13 when
// an arrow takes the right end.
Rect HeaderTextRect(const ColumnSpan& span, int headerHeight, bool arrow, int dpi);

// The row fill: with Striped, the control's own back colour alternates
// between the two stripe colours by the row's position on screen; other
// colours are never striped.
OleColor StripeColor(OleColor fill, OleColor backColor, bool striped, std::int32_t position, OleColor stripe1,
                     OleColor stripe2);

// Whether a row is painted highlighted: selected while FullRowSelect or
// MultiSelect is on.
bool DrawnSelected(bool selected, bool fullRowSelect, bool multiSelect);

struct FocusInput {
  bool hasFocus = false;
  std::int32_t mode = 1;  // 0 none, 1 row, 2 cell
  bool fullRowSelect = true;
  std::int32_t row = kNoIndex;
  std::int32_t col = kNoIndex;
};

// The focus rectangle in the window, or nothing when none is drawn.
std::optional<Rect> FocusRectangle(const FocusInput& focus, const std::vector<ColumnSpan>& spans,
                                   const Viewport& view, const GridMetrics& metrics, std::int32_t lastDrawnRow);

// The row check box, relative to the row's top-left corner in column 0.
Rect RowCheckBoxRect(const GridMetrics& metrics);
// The check box of a check-box cell, placed by the cell's alignment.
Rect CellCheckBoxRect(const Rect& cell, std::int32_t alignment, const GridMetrics& metrics);
// Whether x (in the window) hits the row check box: column 0 must be the
// first column shown.
bool HitsRowCheckBox(int x, const std::vector<ColumnSpan>& spans, const GridMetrics& metrics);

// A progress cell's frame and the part of it filled for `percent`.
struct ProgressBar {
  Rect frame;
  Rect fill;
};
ProgressBar ProgressBarIn(const Rect& cell, std::int32_t percent, int dpi);

}  // namespace kelvane
