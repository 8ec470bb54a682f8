#include "controls/grid/grid_layout.h"

#include <algorithm>
#include <limits>

#include "base/value_codec.h"

namespace kelvane {
namespace {

// Coordinates stay far from the int range, so sums of them never overflow.
constexpr std::int64_t kMaxCoordinate = std::numeric_limits<int>::max() / 4;

constexpr int kDefaultRowHeight = 16;
constexpr int kRowTextPadding = 3;
constexpr int kHeaderTextPadding = 4;
constexpr int kCheckBoxPadding = 4;
constexpr int kMaxCheckBox = 16;
constexpr int kInset = 3;
constexpr int kImageGap = 2;
constexpr int kResizeReach = 4;
constexpr int kArrowFromRight = 12;
constexpr int kArrowFromTop = 6;
constexpr int kSortArrowLength = 9;
constexpr int kSubSortArrowLength = 6;
constexpr int kHeaderTextRightInset = 6;
constexpr int kHeaderTextRightInsetWithArrow = 13;
constexpr int kProgressInset = 2;

int Scaled(int value, int dpi) { return ScaleToDpi(value, dpi); }

std::int32_t FloorDiv(std::int32_t a, std::int32_t b) {
  const std::int32_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int ColumnDeviceWidth(const GridModel& model, std::int32_t col, int dpi) {
  return DevicePixels(model.ColWidthPixels(col), dpi);
}

}  // namespace

int DevicePixels(std::int64_t logical, int dpi) {
  if (logical <= 0) return 0;
  const std::int64_t scaled = (logical * dpi + 48) / 96;
  return static_cast<int>(std::min(scaled, kMaxCoordinate));
}

std::int32_t LogicalPixels(int device, int dpi) {
  if (dpi <= 0) return device;
  const std::int64_t scaled = static_cast<std::int64_t>(device) * 96;
  return static_cast<std::int32_t>(scaled >= 0 ? (scaled + dpi / 2) / dpi : (scaled - dpi / 2) / dpi);
}

GridMetrics ComputeMetrics(const MetricsInput& input) {
  const int dpi = input.dpi;
  GridMetrics m;
  m.dpi = dpi;
  m.textHeight = std::max(0, input.textHeight);
  m.rowHeight = input.rowHeightMin >= 1
                    ? std::max(1, DevicePixels(input.rowHeightMin, dpi))
                    : std::max(Scaled(kDefaultRowHeight, dpi), m.textHeight + Scaled(kRowTextPadding, dpi));
  m.headerHeight = std::max(m.textHeight + Scaled(kHeaderTextPadding, dpi), m.rowHeight);
  m.checkBoxSize = std::clamp(m.rowHeight - Scaled(kCheckBoxPadding, dpi), 0, Scaled(kMaxCheckBox, dpi));
  m.checkBoxLeft = Scaled(kInset, dpi);
  m.textInset = Scaled(kInset, dpi);
  m.textLeft = input.checkBoxes ? m.checkBoxLeft + m.checkBoxSize + Scaled(kInset, dpi) : m.textInset;
  if (input.images) {
    m.imageLeft = m.textLeft;
    m.imageTop = (m.rowHeight - input.images->height) / 2;
    m.textLeft += input.images->width + Scaled(kImageGap, dpi);
  }
  m.textFlags = kTextSingleLine | kTextNoPrefix | (input.displayEllipsis ? kTextWordEllipsis : 0);
  return m;
}

std::vector<ColumnSpan> ShownColumns(const GridModel& model, std::int32_t leftCol, int dpi) {
  std::vector<ColumnSpan> spans;
  std::int64_t x = 0;
  for (std::int32_t col = std::max(leftCol, 0); col <= model.Cols(); ++col) {
    if (!model.ColVisible(col)) continue;
    const int width = ColumnDeviceWidth(model, col, dpi);
    spans.push_back({col, static_cast<int>(x), width});
    x = std::min(x + width, kMaxCoordinate);
  }
  return spans;
}

int GridWidth(const std::vector<ColumnSpan>& spans) { return spans.empty() ? 0 : spans.back().right(); }

const ColumnSpan* FindSpan(const std::vector<ColumnSpan>& spans, std::int32_t col) {
  const auto it = std::find_if(spans.begin(), spans.end(), [col](const ColumnSpan& s) { return s.col == col; });
  return it == spans.end() ? nullptr : &*it;
}

std::int32_t ItemsVisible(const Viewport& view, const GridMetrics& metrics) {
  if (metrics.rowHeight <= 0) return 0;
  const double rows =
      static_cast<double>(view.height - metrics.headerHeight - 2 * view.borderWidth) / metrics.rowHeight;
  return std::max(0, static_cast<std::int32_t>(RoundHalfEven(rows)));
}

std::int32_t FullyVisibleRows(const Viewport& view, const GridMetrics& metrics) {
  if (metrics.rowHeight <= 0) return 0;
  return std::max(0, (view.height - metrics.headerHeight) / metrics.rowHeight);
}

std::int32_t LastRowInView(const Viewport& view, const GridMetrics& metrics, std::int32_t itemCount) {
  const int area = view.height - metrics.headerHeight;
  if (metrics.rowHeight <= 0 || area <= 0 || view.topRow >= itemCount || view.topRow < 0) return kNoIndex;
  const std::int32_t rows = (area + metrics.rowHeight - 1) / metrics.rowHeight;
  return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{view.topRow} + rows - 1, itemCount - 1));
}

int RowTop(std::int32_t row, const Viewport& view, const GridMetrics& metrics) {
  const std::int64_t top = metrics.headerHeight + std::int64_t{row - view.topRow} * metrics.rowHeight;
  return static_cast<int>(std::clamp(top, -kMaxCoordinate, kMaxCoordinate));
}

std::int32_t RowFromY(int y, const Viewport& view, const GridMetrics& metrics, std::int32_t itemCount) {
  if (metrics.rowHeight <= 0) return kNoIndex;
  std::int64_t row = 0;
  if (view.columnHeaders) {
    if (y < metrics.headerHeight) return kNoIndex;
    row = std::int64_t{view.topRow} + (y - metrics.headerHeight) / metrics.rowHeight;
  } else {
    row = std::int64_t{view.topRow} + FloorDiv(y, metrics.rowHeight) - 1;
    // Rows scrolled away above the window cannot be under the pointer.
    if (row < view.topRow) return kNoIndex;
  }
  return row < itemCount ? static_cast<std::int32_t>(row) : kNoIndex;
}

std::int32_t ColFromX(int x, const std::vector<ColumnSpan>& spans) {
  for (const ColumnSpan& span : spans) {
    if (x >= span.left && x < span.right()) return span.col;
  }
  return kNoIndex;
}

bool IsOverHeader(int y, const GridMetrics& metrics) { return y >= 0 && y < metrics.headerHeight; }

std::optional<std::int32_t> ResizeEdgeAt(int x, const std::vector<ColumnSpan>& spans, int dpi) {
  const int reach = Scaled(kResizeReach, dpi);
  std::optional<std::int32_t> found;
  for (const ColumnSpan& span : spans) {
    if (span.right() - reach <= x && x < span.right() + reach) found = span.col;
  }
  return found;
}

bool AllowsColumnResizing(std::int32_t allowUserResizing) { return allowUserResizing == 1 || allowUserResizing == 4; }

ScrollRanges ComputeScrollRanges(const GridModel& model, const Viewport& view, const GridMetrics& metrics) {
  ScrollRanges ranges;
  const std::int32_t count = model.ItemCount();
  const std::int32_t fit = FullyVisibleRows(view, metrics);
  if (count > fit) {
    ranges.verticalShown = true;
    ranges.maxTopRow = count - std::max(fit, 1);
  }
  if (GridWidth(ShownColumns(model, 0, metrics.dpi)) > view.width) {
    ranges.horizontalShown = true;
    ranges.maxLeftCol = std::max(0, model.Cols() - 1);
  }
  return ranges;
}

std::int32_t LeftColShowing(const GridModel& model, std::int32_t col, std::int32_t leftCol, int viewWidth, int dpi) {
  if (col < 0 || col > model.Cols() || !model.ColVisible(col)) return leftCol;
  if (col <= leftCol) return col;
  std::int64_t used = 0;
  for (std::int32_t c = leftCol; c <= col; ++c) {
    if (model.ColVisible(c)) used += ColumnDeviceWidth(model, c, dpi);
  }
  while (used > viewWidth && leftCol < col) {
    if (model.ColVisible(leftCol)) used -= ColumnDeviceWidth(model, leftCol, dpi);
    ++leftCol;
  }
  while (leftCol < col && !model.ColVisible(leftCol)) ++leftCol;
  return leftCol;
}

std::vector<ArrowLine> SortArrow(const ColumnSpan& span, bool ascending, bool subSort, int dpi) {
  const int sortLongest = Scaled(kSortArrowLength, dpi);
  if (span.width < sortLongest) return {};
  const int longest = subSort ? Scaled(kSubSortArrowLength, dpi) : sortLongest;
  const int lines = subSort ? longest / 2 : (longest + 1) / 2;
  const int x = span.right() - Scaled(kArrowFromRight, dpi);
  const int y = Scaled(kArrowFromTop, dpi);
  std::vector<ArrowLine> arrow;
  for (int k = 0; k < lines; ++k) {
    // Steps in from the longest line.
    const int step = ascending ? lines - 1 - k : k;
    arrow.push_back({x + step, y + k, longest - 2 * step});
  }
  return arrow;
}

Rect HeaderTextRect(const ColumnSpan& span, int headerHeight, bool arrow, int dpi) {
  const int left = span.left + Scaled(kInset, dpi);
  const int right = span.right() - Scaled(arrow ? kHeaderTextRightInsetWithArrow : kHeaderTextRightInset, dpi);
  return {left, 0, std::max(0, right - left), headerHeight};
}

OleColor StripeColor(OleColor fill, OleColor backColor, bool striped, std::int32_t position, OleColor stripe1,
                     OleColor stripe2) {
  if (!striped || fill != backColor) return fill;
  return position % 2 == 1 ? stripe2 : stripe1;
}

bool DrawnSelected(bool selected, bool fullRowSelect, bool multiSelect) {
  return selected && (fullRowSelect || multiSelect);
}

std::optional<Rect> FocusRectangle(const FocusInput& focus, const std::vector<ColumnSpan>& spans,
                                   const Viewport& view, const GridMetrics& metrics, std::int32_t lastDrawnRow) {
  if (!focus.hasFocus || focus.row < view.topRow || focus.row > lastDrawnRow) return std::nullopt;
  const int top = RowTop(focus.row, view, metrics) + 1;
  const int height = metrics.rowHeight - 1;
  if (focus.mode == 2) {
    const ColumnSpan* span = FindSpan(spans, focus.col);
    if (span == nullptr || span->width <= 0) return std::nullopt;
    return Rect{span->left, top, span->width, height};
  }
  if (focus.mode != 1 || !focus.fullRowSelect) return std::nullopt;
  const int left = !spans.empty() && spans.front().col == 0 ? metrics.textLeft : 0;
  const int right = GridWidth(spans);
  if (right <= left) return std::nullopt;
  return Rect{left, top, right - left, height};
}

Rect RowCheckBoxRect(const GridMetrics& metrics) {
  const int size = metrics.checkBoxSize;
  return {metrics.checkBoxLeft, (metrics.rowHeight - size) / 2, size, size};
}

Rect CellCheckBoxRect(const Rect& cell, std::int32_t alignment, const GridMetrics& metrics) {
  const int size = metrics.checkBoxSize;
  int left = cell.left + metrics.textInset;
  switch (alignment & kAlignHorizontalMask) {
    case 1: left = cell.left + (cell.width - size) / 2; break;
    case 2: left = cell.right() - metrics.textInset - size; break;
    default: break;
  }
  return {left, cell.top + (cell.height - size) / 2, size, size};
}

bool HitsRowCheckBox(int x, const std::vector<ColumnSpan>& spans, const GridMetrics& metrics) {
  if (spans.empty() || spans.front().col != 0) return false;
  return x >= 0 && x < metrics.checkBoxLeft + metrics.checkBoxSize && x < spans.front().right();
}

ProgressBar ProgressBarIn(const Rect& cell, std::int32_t percent, int dpi) {
  const int inset = Scaled(kProgressInset, dpi);
  const Rect frame{cell.left + inset, cell.top + inset, std::max(0, cell.width - 2 * inset),
                   std::max(0, cell.height - 2 * inset)};
  const int filled = static_cast<int>(std::int64_t{frame.width} * std::clamp(percent, 0, 100) / 100);
  return {frame, Rect{frame.left, frame.top, filled, frame.height}};
}

}  // namespace kelvane
