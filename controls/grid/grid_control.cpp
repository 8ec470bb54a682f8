#include "controls/grid/grid_control.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "base/value_codec.h"
#include "controls/grid/scale_units.h"

namespace kelvane {
namespace {

GridEvents& Nobody() {
  static GridEvents nobody;
  return nobody;
}

void AppendUtf8(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Letters and digits start a type-ahead search; blanks, punctuation and
// control characters do not.
bool IsLetterOrDigit(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  if (c >= 0x2000 && c <= 0x206F) return false;  // general punctuation and spaces
  if (c == 0x3000 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
  return true;
}

std::int64_t AsLong(const PropertyValue& value) { return std::get<std::int64_t>(value); }
std::int32_t AsInt(const PropertyValue& value) { return static_cast<std::int32_t>(AsLong(value)); }
OleColor AsColor(const PropertyValue& value) { return static_cast<OleColor>(AsLong(value)); }
bool AsBool(const PropertyValue& value) { return std::get<bool>(value); }

}  // namespace

GridControl::GridControl(GridSurface& surface, GridEvents* events)
    : surface_(surface), events_(events ? events : &Nobody()), model_(nullptr, events) {
  model_.SetView(this);
  metrics_ = ComputeMetrics({dpi_, 0, 0, false, std::nullopt, true});
}

void GridControl::SetEvents(GridEvents* events) {
  events_ = events ? events : &Nobody();
  model_.SetEvents(events);
}

void GridControl::SetImageList(const GridImageList* images, std::optional<ImageSize> size) {
  model_.SetImageList(images);
  imageSize_ = images ? size : std::nullopt;
  RefreshLayout();
}

// ---- Properties ----

PropertyValue GridControl::Property(GridProperty id) const {
  const GridProperties& p = properties_;
  using P = GridProperty;
  const auto color = [](OleColor c) { return PropertyValue(std::int64_t{c}); };
  const auto number = [](std::int64_t n) { return PropertyValue(n); };
  switch (id) {
    case P::Font: return p.font;
    case P::BackColor: return color(model_.BackColor());
    case P::BackColorBkg: return color(p.backColorBkg);
    case P::BackColorEdit: return color(p.backColorEdit);
    case P::BackColorFixed: return color(p.backColorFixed);
    case P::BackColorSel: return color(p.backColorSel);
    case P::ForeColor: return color(model_.ForeColor());
    case P::ForeColorEdit: return color(p.foreColorEdit);
    case P::ForeColorFixed: return color(p.foreColorFixed);
    case P::ForeColorSel: return color(p.foreColorSel);
    case P::ForeColorTotals: return color(p.foreColorTotals);
    case P::GridColor: return color(p.gridColor);
    case P::ProgressBarColor: return color(p.progressBarColor);
    case P::BorderStyle: return number(p.borderStyle);
    case P::DisplayEllipsis: return p.displayEllipsis;
    case P::FocusRectMode: return number(p.focusRectMode);
    case P::FocusRectColor: return color(p.focusRectColor);
    case P::FocusRectStyle: return number(p.focusRectStyle);
    case P::GridLines: return p.gridLines;
    case P::GridLineWidth: return number(p.gridLineWidth);
    case P::ThemeColor: return number(p.themeColor);
    case P::ThemeStyle: return number(p.themeStyle);
    case P::AllowUserResizing: return number(p.allowUserResizing);
    case P::CheckBoxes: return model_.CheckBoxes();
    case P::ColumnHeaders: return p.columnHeaders;
    case P::ColumnSort: return model_.ColumnSort();
    case P::Editable: return p.editable;
    case P::EditTrigger: return number(p.editTrigger);
    case P::FullRowSelect: return p.fullRowSelect;
    case P::HotHeaderTracking: return p.hotHeaderTracking;
    case P::MultiSelect: return model_.MultiSelect();
    case P::Redraw: return model_.Redraw();
    case P::ScrollTrack: return p.scrollTrack;
    case P::CacheIncrement: return number(model_.CacheIncrement());
    case P::Enabled: return p.enabled;
    case P::FormatString: return model_.FormatString();
    case P::Locked: return p.locked;
    case P::RowHeightMin: return number(model_.RowHeightMin());
    case P::ScaleUnits: return number(model_.ScaleUnits());
    case P::SearchColumn: return number(model_.SearchColumn());
    case P::IgnoreEmpty: return p.ignoreEmpty;
    case P::Striped: return p.striped;
    case P::SBackColor1: return color(p.stripeColor1);
    case P::SBackColor2: return color(p.stripeColor2);
  }
  return false;
}

// Stores a valid value without any of the work a setter does after it.
void GridControl::Assign(GridProperty id, const PropertyValue& value) {
  GridProperties& p = properties_;
  using P = GridProperty;
  switch (id) {
    case P::Font: p.font = std::get<FontDescription>(value); break;
    case P::BackColor: model_.SetBackColor(AsColor(value)); break;
    case P::BackColorBkg: p.backColorBkg = AsColor(value); break;
    case P::BackColorEdit: p.backColorEdit = AsColor(value); break;
    case P::BackColorFixed: p.backColorFixed = AsColor(value); break;
    case P::BackColorSel: p.backColorSel = AsColor(value); break;
    case P::ForeColor: model_.SetForeColor(AsColor(value)); break;
    case P::ForeColorEdit: p.foreColorEdit = AsColor(value); break;
    case P::ForeColorFixed: p.foreColorFixed = AsColor(value); break;
    case P::ForeColorSel: p.foreColorSel = AsColor(value); break;
    case P::ForeColorTotals: p.foreColorTotals = AsColor(value); break;
    case P::GridColor: p.gridColor = AsColor(value); break;
    case P::ProgressBarColor: p.progressBarColor = AsColor(value); break;
    case P::BorderStyle: p.borderStyle = AsInt(value); break;
    case P::DisplayEllipsis: p.displayEllipsis = AsBool(value); break;
    case P::FocusRectMode: p.focusRectMode = AsInt(value); break;
    case P::FocusRectColor: p.focusRectColor = AsColor(value); break;
    case P::FocusRectStyle: p.focusRectStyle = AsInt(value); break;
    case P::GridLines: p.gridLines = AsBool(value); break;
    case P::GridLineWidth: p.gridLineWidth = AsInt(value); break;
    case P::ThemeColor: p.themeColor = AsInt(value); break;
    case P::ThemeStyle: p.themeStyle = AsInt(value); break;
    case P::AllowUserResizing: p.allowUserResizing = AsInt(value); break;
    case P::CheckBoxes: model_.SetCheckBoxes(AsBool(value)); break;
    case P::ColumnHeaders: p.columnHeaders = AsBool(value); break;
    case P::ColumnSort: model_.SetColumnSort(AsBool(value)); break;
    case P::Editable: p.editable = AsBool(value); break;
    case P::EditTrigger: p.editTrigger = AsInt(value); break;
    case P::FullRowSelect: p.fullRowSelect = AsBool(value); break;
    case P::HotHeaderTracking: p.hotHeaderTracking = AsBool(value); break;
    case P::MultiSelect: model_.SetMultiSelect(AsBool(value)); break;
    case P::Redraw: model_.SetRedraw(AsBool(value)); break;
    case P::ScrollTrack: p.scrollTrack = AsBool(value); break;
    case P::CacheIncrement: model_.SetCacheIncrement(AsInt(value)); break;
    case P::Enabled: p.enabled = AsBool(value); break;
    case P::FormatString: model_.SetFormatString(std::get<std::string>(value)); break;
    case P::Locked: p.locked = AsBool(value); break;
    case P::RowHeightMin: model_.SetRowHeightMin(AsInt(value)); break;
    case P::ScaleUnits: model_.SetScaleUnits(AsInt(value)); break;
    case P::SearchColumn: model_.SetSearchColumn(AsInt(value)); break;
    case P::IgnoreEmpty: p.ignoreEmpty = AsBool(value); break;
    case P::Striped: p.striped = AsBool(value); break;
    case P::SBackColor1: p.stripeColor1 = AsColor(value); break;
    case P::SBackColor2: p.stripeColor2 = AsColor(value); break;
  }
}

bool GridControl::SetProperty(GridProperty id, const PropertyValue& value) {
  const StoredProperty& stored = StoredPropertyOf(id);
  const std::optional<PropertyValue> valid = ValidPropertyValue(stored, value);
  if (!valid) return false;
  Assign(id, *valid);
  using P = GridProperty;
  switch (id) {
    case P::Font:
      surface_.ApplyFont(properties_.font);
      RefreshLayout();
      break;
    case P::BackColorBkg:
    case P::BorderStyle:
      surface_.ApplyFrame(properties_.backColorBkg, properties_.borderStyle == 1);
      RecomputeScrollBars();
      Invalidate();
      break;
    case P::DisplayEllipsis:
    case P::RowHeightMin:
      RefreshLayout();
      break;
    case P::ThemeColor:
      ApplyColorScheme();
      Invalidate();
      break;
    // These do their own layout work.
    case P::CheckBoxes:
    case P::FormatString:
    case P::Redraw:
      break;
    default:
      model_.DrawGrid(false);
      break;
  }
  if (propertyChanged_) propertyChanged_(stored.publicName);
  return true;
}

void GridControl::ApplyColorScheme() {
  const std::optional<ColorScheme> scheme = ThemeColorScheme(properties_.themeColor);
  if (!scheme) return;
  model_.SetBackColor(scheme->back);
  model_.SetForeColor(scheme->fore);
  properties_.backColorSel = scheme->backSel;
  properties_.foreColorSel = scheme->foreSel;
  properties_.focusRectColor = scheme->focusRect;
  properties_.gridColor = scheme->grid;
}

void GridControl::InitProperties(const FontDescription& containerFont, LoadMode mode) {
  for (const StoredProperty& stored : StoredProperties()) {
    if (stored.id != GridProperty::FormatString) Assign(stored.id, stored.DefaultValue());
  }
  AfterLoad(containerFont, mode, std::nullopt);
}

void GridControl::ReadProperties(PropertyBag& bag, const FontDescription& containerFont, LoadMode mode) {
  std::string formatString;
  for (const GridProperty id : PropertyReadOrder()) {
    const StoredProperty& stored = StoredPropertyOf(id);
    const std::optional<PropertyValue> valid =
        ValidPropertyValue(stored, bag.ReadProperty(stored.storedName, stored.DefaultValue()));
    const PropertyValue value = valid ? *valid : stored.DefaultValue();
    // Its column widths are in ScaleUnits, which is read after it.
    if (id == GridProperty::FormatString) {
      formatString = std::get<std::string>(value);
    } else {
      Assign(id, value);
    }
  }
  AfterLoad(containerFont, mode, formatString);
}

void GridControl::AfterLoad(const FontDescription& containerFont, LoadMode mode, std::optional<std::string> formatString) {
  if (!ValidPropertyValue(StoredPropertyOf(GridProperty::Font), properties_.font)) properties_.font = containerFont;
  surface_.ApplyFont(properties_.font);
  surface_.ApplyFrame(properties_.backColorBkg, properties_.borderStyle == 1);
  // The stored columns exist before the owner adds rows. An empty one
  // leaves the columns alone rather than clearing the grid.
  if (formatString && !formatString->empty()) model_.SetFormatString(*formatString);
  RecomputeMetrics();
  ApplyColorScheme();
  if (mode == LoadMode::Run && !runTime_) {
    runTime_ = true;
    surface_.StartRunTime();
  }
  RecomputeScrollBars();
  Invalidate();
}

void GridControl::WriteProperties(PropertyBag& bag) const {
  for (const StoredProperty& stored : StoredProperties()) {
    bag.WriteProperty(stored.storedName, Property(stored.id), stored.DefaultValue());
  }
}

// ---- Layout ----

void GridControl::SetClientSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  RecomputeScrollBars();
  Invalidate();
}

void GridControl::SetDpi(int dpi) {
  dpi_ = dpi > 0 ? dpi : 96;
  RecomputeMetrics();
  RecomputeScrollBars();
  Invalidate();
}

Viewport GridControl::View() const {
  return {width_, height_, properties_.borderStyle == 1 ? 2 : 0, topRow_, leftCol_, properties_.columnHeaders};
}

void GridControl::RecomputeMetrics() {
  MetricsInput input;
  input.dpi = dpi_;
  input.textHeight = surface_.MeasureTextHeight();
  input.rowHeightMin =
      model_.RowHeightMin() < 1
          ? 0
          : ScaleToWholePixels(model_.RowHeightMin(), model_.ScaleUnits(), ScaleAxis::Vertical);
  input.checkBoxes = model_.CheckBoxes();
  input.images = imageSize_;
  input.displayEllipsis = properties_.displayEllipsis;
  metrics_ = ComputeMetrics(input);
}

void GridControl::RecomputeScrollBars() {
  // Showing or hiding a bar resizes the window, which comes back here; the
  // outer call repeats until the bars fit the window they leave.
  if (publishingScrollBars_) {
    scrollBarsStale_ = true;
    return;
  }
  for (int round = 0; round < 3; ++round) {
    scrollBarsStale_ = false;
    ranges_ = ComputeScrollRanges(model_, View(), metrics_);
    topRow_ = std::clamp(topRow_, 0, ranges_.maxTopRow);
    leftCol_ = std::clamp(leftCol_, 0, ranges_.maxLeftCol);
    PublishScrollBars();
    if (!scrollBarsStale_) break;
  }
}

void GridControl::PublishScrollBars() {
  publishingScrollBars_ = true;
  surface_.SetScrollBars({ranges_, topRow_, leftCol_});
  publishingScrollBars_ = false;
}

void GridControl::Paint() { Invalidate(); }

void GridControl::RefreshLayout() {
  if (model_.Redraw()) {
    model_.Refresh();
  } else {
    // Deferred until Redraw is switched on again.
    model_.DrawGrid(false);
    RecomputeMetrics();
  }
}

void GridControl::ResetPointerState() {
  if (buttonDown_) surface_.SetCapture(false);
  if (dragDirection_ != 0) surface_.SetDragTimer(false);
  pressedHeader_ = kNoIndex;
  pressedShown_ = false;
  hotHeader_ = kNoIndex;
  resizingCol_ = kNoIndex;
  buttonDown_ = false;
  dragSelecting_ = false;
  dragDirection_ = 0;
  anchorRow_ = kNoIndex;
  mouseRow_ = kNoIndex;
  mouseCol_ = kNoIndex;
  topRow_ = 0;
  if (editing_) CancelEdit();
}

const std::vector<PaintStep>& GridControl::PlanPaint() {
  PaintState state;
  state.view = View();
  state.metrics = metrics_;
  state.pressedHeader = pressedShown_ ? pressedHeader_ : kNoIndex;
  state.hotHeader = hotHeader_;
  state.hasFocus = hasFocus_;
  state.hasImages = imageSize_.has_value();
  kelvane::PlanPaint(model_, properties_, state, *events_, steps_);
  for (const ColumnSpan& span : Spans()) model_.SetColLeft(span.col, span.left);
  return steps_;
}

// ---- View and current cell ----

std::int32_t GridControl::ItemsVisible() const { return kelvane::ItemsVisible(View(), metrics_); }

std::int32_t GridControl::RowTop(std::int32_t row) const { return kelvane::RowTop(row, View(), metrics_); }

bool GridControl::IsBlankRow(std::int32_t row) const {
  return row >= 0 && row < model_.ItemCount() && TrimBlanks(model_.CellText(row, 0)).empty();
}

bool GridControl::MoveCurrentCell(std::int32_t row, std::int32_t col, bool scroll) {
  if (properties_.ignoreEmpty && IsBlankRow(row)) return false;
  if (!model_.SetCurrentCell(row, col)) return false;
  if (scroll) {
    ScrollIntoView(row, col);
    events_->Scroll();
  }
  return true;
}

void GridControl::ScrollIntoView(std::int32_t row, std::int32_t col) {
  const std::int32_t left = LeftColShowing(model_, col, leftCol_, width_, dpi_);
  std::int32_t top = topRow_;
  const std::int32_t fit = std::max(1, FullyVisibleRows(View(), metrics_));
  if (row >= 0 && row < top) top = row;
  if (row >= 0 && row > top + fit - 1) top = row - fit + 1;
  // Both axes move, whichever of them changed.
  const bool movedAcross = SetScrollPosition(ScrollAxis::Horizontal, left);
  const bool movedDown = SetScrollPosition(ScrollAxis::Vertical, top);
  if (movedAcross || movedDown) PublishScrollBars();
}

void GridControl::MakeRowVisible(std::int32_t row) {
  if (row < 0 || row >= model_.ItemCount()) return;
  ScrollIntoView(row, model_.Col());
  Invalidate();
}

bool GridControl::SetScrollPosition(ScrollAxis axis, std::int32_t position) {
  std::int32_t& current = axis == ScrollAxis::Vertical ? topRow_ : leftCol_;
  const std::int32_t max = axis == ScrollAxis::Vertical ? ranges_.maxTopRow : ranges_.maxLeftCol;
  const std::int32_t wanted = std::clamp(position, 0, max);
  if (wanted == current) return false;
  current = wanted;
  Invalidate();
  return true;
}

void GridControl::SetTopRow(std::int32_t row) {
  if (row < 0 || row > LastRow()) throw std::out_of_range("grid row index out of range");
  if (SetScrollPosition(ScrollAxis::Vertical, row)) {
    PublishScrollBars();
    events_->Scroll();
  }
  MoveCurrentCell(row, model_.Col(), false);
  Invalidate();
}

void GridControl::SetRow(std::int32_t row) {
  if (row != kNoIndex && (row < 0 || row > LastRow())) throw std::out_of_range("grid row index out of range");
  MoveCurrentCell(row, model_.Col(), false);
}

void GridControl::SetCol(std::int32_t col) {
  if (col != kNoIndex && (col < 0 || col > model_.Cols())) throw std::out_of_range("grid column index out of range");
  MoveCurrentCell(model_.Row(), col, false);
}

std::int32_t GridControl::RowAt(Point point) const {
  return RowFromY(point.y, View(), metrics_, model_.ItemCount());
}

std::string GridControl::HitTest(float x, float y, std::int32_t* col, std::int32_t* row) {
  if (col) *col = kNoIndex;
  if (row) *row = kNoIndex;
  EndPointerGesture();
  const auto device = [this](float value, ScaleAxis axis) {
    const double logical = ScaleToPixels(value, model_.ScaleUnits(), axis);
    return static_cast<int>(std::clamp(logical * dpi_ / 96.0, -1e9, 1e9));
  };
  const Point point{device(x, ScaleAxis::Horizontal), device(y, ScaleAxis::Vertical)};
  const std::int32_t hitCol = ColFromX(point.x, Spans());
  const std::int32_t hitRow = RowAt(point);
  if (hitCol == kNoIndex || hitRow == kNoIndex || hitCol >= model_.RowCellCount(hitRow)) return {};
  if (col) *col = hitCol;
  if (row) *row = hitRow;
  return model_.CellText(hitRow, hitCol);
}

// ---- Editing ----

bool GridControl::CanEdit() const { return !properties_.locked && properties_.editable && model_.ItemCount() > 0; }

std::optional<Rect> GridControl::CellRect(std::int32_t row, std::int32_t col) const {
  const std::vector<ColumnSpan> spans = Spans();
  const ColumnSpan* span = FindSpan(spans, col);
  if (span == nullptr) return std::nullopt;
  const int left = span->left + (col == 0 ? metrics_.textLeft - metrics_.textInset : 0);
  return Rect{left, RowTop(row), std::max(0, span->right() - 1 - left), std::max(0, metrics_.rowHeight - 1)};
}

bool GridControl::EditCell(std::int32_t row, std::int32_t col) {
  if (row < 0 || row > LastRow() || col < 0 || col > model_.Cols()) return false;
  if (editing_ && !UpdateCell()) return false;
  if (model_.ColType(col) == ColumnType::CheckBox || col >= model_.RowCellCount(row)) return false;
  bool cancel = false;
  events_->RequestEdit(row, col, cancel);
  if (cancel) return false;
  ScrollIntoView(row, col);
  const std::optional<Rect> rect = CellRect(row, col);
  if (!rect) return false;
  EditorRequest request;
  request.rect = *rect;
  request.text = model_.CellText(row, col);
  request.alignment = model_.CellAlignment(row, col) & kAlignHorizontalMask;
  request.backColor = properties_.backColorEdit;
  request.fontStyle = static_cast<std::uint8_t>(
      (model_.CellFontBold(row, col) ? kCellBold : 0) | (model_.CellFontItalic(row, col) ? kCellItalic : 0) |
      (model_.CellFontUnderline(row, col) ? kCellUnderline : 0));
  request.boundControl = model_.BoundControl(col);
  editing_ = true;
  editRow_ = row;
  editCol_ = col;
  editBound_ = request.boundControl;
  surface_.ShowEditor(request);
  return true;
}

bool GridControl::UpdateCell() {
  if (!editing_) return true;
  std::string text = surface_.EditorText(editBound_);
  const bool inGrid = editRow_ <= LastRow() && editCol_ < model_.RowCellCount(editRow_);
  if (inGrid && text != model_.CellText(editRow_, editCol_)) {
    bool cancel = false;
    events_->RequestUpdate(editRow_, editCol_, text, cancel);
    if (cancel) {
      surface_.FocusEditor(editBound_);
      return false;
    }
  }
  // Hiding the editor moves the focus, which must not commit a second time.
  editing_ = false;
  surface_.HideEditor(editBound_);
  if (inGrid) model_.SetCellText(editRow_, editCol_, text);
  RefreshLayout();
  return true;
}

void GridControl::CancelEdit() {
  if (!editing_) return;
  editing_ = false;
  surface_.HideEditor(editBound_);
  Invalidate();
}

std::int32_t GridControl::EditableColumn() const {
  if (model_.Col() != kNoIndex) return model_.Col();
  for (const ColumnSpan& span : Spans()) {
    if (model_.ColType(span.col) != ColumnType::CheckBox) return span.col;
  }
  return kNoIndex;
}

bool GridControl::ToggleEdit() {
  if (!CanEdit()) return false;
  if (editing_) {
    UpdateCell();
  } else if (model_.Row() != kNoIndex) {
    EditCell(model_.Row(), EditableColumn());
  }
  return true;
}

// ---- Mouse ----

float GridControl::LogicalToScaleUnits(double logical, ScaleAxis axis) const {
  const double unit = ScaleToPixels(1.0, model_.ScaleUnits(), axis);
  return static_cast<float>(unit > 0 ? logical / unit : logical);
}

float GridControl::ToScaleUnits(int pixels, ScaleAxis axis) const {
  return LogicalToScaleUnits(LogicalPixels(pixels, dpi_), axis);
}

void GridControl::RaiseMouseEvent(bool up, std::int32_t button, Point point, Modifiers modifiers) {
  const float x = ToScaleUnits(point.x, ScaleAxis::Horizontal);
  const float y = ToScaleUnits(point.y, ScaleAxis::Vertical);
  if (up) {
    events_->MouseUp(button, modifiers.ShiftState(), x, y);
  } else {
    events_->MouseMove(button, modifiers.ShiftState(), x, y);
  }
}

void GridControl::ToggleRowCheck(std::int32_t row) {
  model_.SetItemChecked(row, !model_.ItemChecked(row));
  events_->ItemChecked(row);
  Invalidate();
}

bool GridControl::HasCellCheckBox(std::int32_t row, std::int32_t col) const {
  return row != kNoIndex && col != kNoIndex && model_.ColType(col) == ColumnType::CheckBox &&
         col < model_.RowCellCount(row);
}

void GridControl::ToggleCellCheck(std::int32_t row, std::int32_t col) {
  // The owner may refuse, as it may refuse a text edit.
  bool cancel = false;
  events_->RequestEdit(row, col, cancel);
  if (cancel) return;
  model_.SetCellChecked(row, col, !model_.CellChecked(row, col));
  Invalidate();
}

void GridControl::Select(std::int32_t row, bool extend) {
  const bool changed = extend && anchorRow_ != kNoIndex ? model_.SelectOnly(anchorRow_, row)
                                                        : model_.SelectOnly(row, row);
  if (!extend || anchorRow_ == kNoIndex) anchorRow_ = row;
  if (changed) {
    events_->SelectionChanged();
    Invalidate();
  }
}

void GridControl::ButtonDown(MouseButton button, Point point, Modifiers modifiers) {
  suppressClick_ = false;
  if (properties_.locked || model_.ItemCount() == 0) return;
  const std::vector<ColumnSpan> spans = Spans();
  const std::int32_t row = RowAt(point);
  const std::int32_t col = ColFromX(point.x, spans);
  mouseRow_ = row;
  mouseCol_ = col;
  if (button != MouseButton::Left) {
    if (row == kNoIndex || !UpdateCell()) return;
    if (properties_.ignoreEmpty && IsBlankRow(row)) return;
    MoveCurrentCell(row, col, false);
    Select(row, false);
    Invalidate();
    return;
  }
  surface_.SetCapture(true);
  buttonDown_ = true;
  pressOverRow_ = row != kNoIndex;
  if (row == kNoIndex) {
    const std::optional<std::int32_t> edge =
        AllowsColumnResizing(properties_.allowUserResizing) ? ResizeEdgeAt(point.x, spans, dpi_) : std::nullopt;
    if (edge) {
      resizingCol_ = *edge;
      resizeStart_ = FindSpan(spans, *edge)->left;
      return;
    }
    if (IsOverHeader(point.y, metrics_) && col != kNoIndex) {
      pressedHeader_ = col;
      pressedShown_ = true;
      Invalidate();
    }
    return;
  }
  ClickOnRow(row, point, modifiers);
}

void GridControl::ClickOnRow(std::int32_t row, Point point, Modifiers modifiers) {
  if (!UpdateCell()) return;
  const std::vector<ColumnSpan> spans = Spans();
  const std::int32_t col = ColFromX(point.x, spans);
  if (model_.CheckBoxes() && HitsRowCheckBox(point.x, spans, metrics_)) ToggleRowCheck(row);
  if (col != kNoIndex && model_.ColType(col) == ColumnType::CheckBox && col < model_.RowCellCount(row)) {
    const ColumnSpan* span = FindSpan(spans, col);
    const Rect cell{span->left, RowTop(row), span->width, metrics_.rowHeight};
    if (CellCheckBoxRect(cell, model_.CellAlignment(row, col), metrics_).Contains(point.x, point.y)) {
      ToggleCellCheck(row, col);
    }
  }
  // A row the current cell may not move to is not selected either.
  if (properties_.ignoreEmpty && IsBlankRow(row)) return;
  dragSelecting_ = true;

  bool selectionChanged = false;
  if (modifiers.shift && model_.MultiSelect()) {
    selectionChanged = model_.SelectOnly(anchorRow_ == kNoIndex ? row : anchorRow_, row);
  } else if (modifiers.ctrl) {
    const bool wasSelected = model_.ItemSelected(row);
    if (!model_.MultiSelect()) model_.ClearSelection();
    model_.SetItemSelected(row, !wasSelected);
    selectionChanged = true;
    anchorRow_ = row;
  } else {
    if (!model_.ItemSelected(row)) selectionChanged = model_.SelectOnly(row, row);
    anchorRow_ = row;
  }
  if (selectionChanged) events_->SelectionChanged();
  MoveCurrentCell(row, col, false);
  Invalidate();
}

void GridControl::DoubleClick(Point point, Modifiers modifiers) {
  ButtonDown(MouseButton::Left, point, modifiers);
  // The release that ends a double click is not another click.
  suppressClick_ = true;
  if ((properties_.editTrigger & kEditOnDoubleClick) != 0 && RowAt(point) != kNoIndex) ToggleEdit();
  events_->DblClick();
}

void GridControl::EndPointerGesture() {
  if (buttonDown_) surface_.SetCapture(false);
  if (dragDirection_ != 0) surface_.SetDragTimer(false);
  const bool headerShown = pressedHeader_ != kNoIndex;
  buttonDown_ = false;
  dragSelecting_ = false;
  pressedHeader_ = kNoIndex;
  pressedShown_ = false;
  resizingCol_ = kNoIndex;
  dragDirection_ = 0;
  if (headerShown) Invalidate();
}

void GridControl::ButtonUp(MouseButton button, Point point, Modifiers modifiers) {
  if (button == MouseButton::Left && buttonDown_) {
    const std::vector<ColumnSpan> spans = Spans();
    const std::int32_t pressed = pressedHeader_;
    const bool resized = resizingCol_ != kNoIndex;
    const bool selecting = dragSelecting_;
    EndPointerGesture();
    if (resized) {
      RecomputeScrollBars();
      Invalidate();
      if (cursor_ != GridCursor::Arrow) surface_.SetCursor(cursor_ = GridCursor::Arrow);
    } else if (pressed != kNoIndex) {
      if (IsOverHeader(point.y, metrics_) && ColFromX(point.x, spans) == pressed) HeaderClicked(pressed, modifiers.ctrl);
    } else if (selecting) {
      const std::int32_t row = RowAt(point);
      if (row != kNoIndex && MoveCurrentCell(row, ColFromX(point.x, spans), false)) Invalidate();
    }
    if (!suppressClick_) {
      if ((properties_.editTrigger & kEditOnClick) != 0 && pressOverRow_ && RowAt(point) != kNoIndex) ToggleEdit();
      events_->Click();
    }
  } else if (button == MouseButton::Left && !suppressClick_) {
    events_->Click();
  }
  suppressClick_ = false;
  RaiseMouseEvent(true, static_cast<std::int32_t>(button), point, modifiers);
}

void GridControl::HeaderClicked(std::int32_t col, bool ctrl) {
  if (!model_.ColumnSort()) {
    Invalidate();
    events_->ColumnClick(col);
    return;
  }
  const std::int32_t sortCol = model_.SortColumn();
  if (ctrl && sortCol != kNoIndex) {
    if (col != model_.SubSortColumn()) model_.SetColSortOrder(col, 0);
    // The sort column keeps its order; only the sub-sort order turns.
    model_.Sort(kNoIndex, model_.ColSortOrder(sortCol), col, kNoIndex);
    return;
  }
  if (col != sortCol) {
    model_.SetColSortOrder(col, 0);
    model_.ClearSubSortColumn();
  }
  const std::int32_t subSort = model_.SubSortColumn();
  model_.Sort(col, kNoIndex, kNoIndex, subSort == kNoIndex ? kNoIndex : model_.ColSortOrder(subSort));
}

void GridControl::CaptureLost() {
  if (!buttonDown_) return;
  // Someone else took the mouse: the gesture ends without its effect.
  buttonDown_ = false;
  EndPointerGesture();
}

void GridControl::MouseEntered() {
  if (mouseInside_) return;
  mouseInside_ = true;
  surface_.TrackMouseLeave();
  events_->MouseEnter();
}

void GridControl::MouseLeft() {
  mouseInside_ = false;
  if (hotHeader_ != kNoIndex) {
    hotHeader_ = kNoIndex;
    Invalidate();
  }
  events_->MouseLeave();
}

void GridControl::TrackHeaders(Point point) {
  const std::vector<ColumnSpan> spans = Spans();
  const bool overHeader = IsOverHeader(point.y, metrics_);
  const std::int32_t col = ColFromX(point.x, spans);
  if (pressedHeader_ != kNoIndex) {
    const bool shown = overHeader && col == pressedHeader_;
    if (shown != pressedShown_) {
      pressedShown_ = shown;
      Invalidate();
    }
  }
  if (!buttonDown_ && properties_.hotHeaderTracking) {
    const std::int32_t hot = overHeader ? col : kNoIndex;
    if (hot != hotHeader_) {
      hotHeader_ = hot;
      Invalidate();
    }
  }
  if (!buttonDown_) {
    GridCursor cursor = GridCursor::Arrow;
    if (RowAt(point) == kNoIndex && AllowsColumnResizing(properties_.allowUserResizing) &&
        ResizeEdgeAt(point.x, spans, dpi_)) {
      cursor = GridCursor::SizeWestEast;
    }
    if (cursor != cursor_) surface_.SetCursor(cursor_ = cursor);
  }
}

void GridControl::MouseMove(Point point, Modifiers modifiers, std::int32_t buttons) {
  if (properties_.locked || model_.ItemCount() < 2) return;
  mouseRow_ = RowAt(point);
  mouseCol_ = ColFromX(point.x, Spans());
  RaiseMouseEvent(false, buttons, point, modifiers);
  TrackHeaders(point);
  const bool leftDown = (buttons & static_cast<std::int32_t>(MouseButton::Left)) != 0;
  if (!leftDown || !buttonDown_) return;

  if (resizingCol_ != kNoIndex) {
    const int width = point.x - resizeStart_;
    if (width <= 1) return;
    const std::int32_t logical = LogicalPixels(width, dpi_);
    if (logical == model_.ColWidthPixels(resizingCol_)) return;
    model_.SetColWidth(resizingCol_, LogicalToScaleUnits(logical, ScaleAxis::Horizontal));
    Invalidate();
    events_->ColumnSizeChanged(resizingCol_, logical);
    return;
  }
  if (!dragSelecting_) return;
  const int direction = point.y < 0 ? 1 : point.y >= height_ ? 2 : 0;
  if (direction != dragDirection_) {
    if (dragDirection_ == 0 || direction == 0) surface_.SetDragTimer(direction != 0);
    dragDirection_ = direction;
  }
  if (direction != 0 || modifiers.shift) return;
  const std::int32_t row = RowAt(point);
  if (row == kNoIndex || (properties_.ignoreEmpty && IsBlankRow(row))) return;
  Select(row, model_.MultiSelect());
  if (MoveCurrentCell(row, mouseCol_ == kNoIndex ? model_.Col() : mouseCol_, false)) Invalidate();
}

void GridControl::DragTimer() {
  if (dragDirection_ == 0 || model_.Row() == kNoIndex) return;
  const std::int32_t row = std::clamp(model_.Row() + (dragDirection_ == 1 ? -1 : 1), 0, LastRow());
  if (row == model_.Row() || (properties_.ignoreEmpty && IsBlankRow(row))) return;
  Select(row, model_.MultiSelect());
  MoveCurrentCell(row, model_.Col(), true);
  Invalidate();
}

// ---- Scrolling ----

void GridControl::ScrollBy(ScrollAxis axis, std::int32_t delta) {
  const std::int32_t from = axis == ScrollAxis::Vertical ? topRow_ : leftCol_;
  const std::int64_t wanted = std::int64_t{from} + delta;
  Scroll(axis, ScrollCode::ThumbPosition,
         static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, 0, std::numeric_limits<std::int32_t>::max())));
}

void GridControl::Scroll(ScrollAxis axis, ScrollCode code, std::int32_t thumb) {
  const std::int32_t from = axis == ScrollAxis::Vertical ? topRow_ : leftCol_;
  const std::int32_t max = axis == ScrollAxis::Vertical ? ranges_.maxTopRow : ranges_.maxLeftCol;
  std::int64_t to = from;
  switch (code) {
    case ScrollCode::LineUp: to = std::int64_t{from} - 1; break;
    case ScrollCode::LineDown: to = std::int64_t{from} + 1; break;
    case ScrollCode::PageUp: to = std::int64_t{from} - kScrollPage; break;
    case ScrollCode::PageDown: to = std::int64_t{from} + kScrollPage; break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::ThumbTrack: to = thumb; break;
    case ScrollCode::Top: to = 0; break;
    case ScrollCode::Bottom: to = max; break;
    case ScrollCode::EndScroll:
      if (!properties_.scrollTrack) Invalidate();
      return;
  }
  const auto position = static_cast<std::int32_t>(std::clamp<std::int64_t>(to, 0, max));
  if (position == from) return;
  (axis == ScrollAxis::Vertical ? topRow_ : leftCol_) = position;
  UpdateCell();
  PublishScrollBars();
  if (code != ScrollCode::ThumbTrack || properties_.scrollTrack) Invalidate();
  events_->Scroll();
}

void GridControl::Wheel(int delta, Modifiers modifiers) {
  // Fine-grained wheels send parts of a notch; whole notches scroll a line.
  wheelRemainder_ += delta;
  const int lines = wheelRemainder_ / kWheelNotch;
  wheelRemainder_ -= lines * kWheelNotch;
  if (lines != 0) ScrollBy(modifiers.shift ? ScrollAxis::Horizontal : ScrollAxis::Vertical, -lines);
}

// ---- Keyboard ----

void GridControl::MoveByKey(std::int32_t row, std::int32_t col, bool extend) {
  if (model_.ItemCount() == 0 || row == kNoIndex) return;
  if (properties_.ignoreEmpty && IsBlankRow(row)) return;
  Select(row, extend);
  MoveCurrentCell(row, col, true);
  Invalidate();
}

bool GridControl::KeyDown(std::int32_t key, Modifiers modifiers) {
  const std::int32_t row = model_.Row();
  const std::int32_t col = model_.Col();
  const std::int32_t last = LastRow();
  const bool extend = modifiers.shift && model_.MultiSelect();
  const auto clampRow = [last](std::int64_t r) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(r, 0, last)); };
  bool consumed = true;
  switch (key) {
    case kKeyF2:
      consumed = (properties_.editTrigger & kEditOnF2) != 0;
      if (consumed) ToggleEdit();
      break;
    case kKeySpace:
      // The row's own check box first; otherwise a check box in the current
      // cell, which is how a keyboard user reaches it.
      if (model_.CheckBoxes() && row != kNoIndex) {
        ToggleRowCheck(row);
      } else if (!editing_ && HasCellCheckBox(row, col)) {
        ToggleCellCheck(row, col);
      } else {
        consumed = false;
      }
      break;
    case kKeyA:
      consumed = modifiers.ctrl && model_.MultiSelect();
      if (consumed && last >= 0 && model_.SelectOnly(0, last)) {
        events_->SelectionChanged();
        Invalidate();
      }
      break;
    case kKeyUp:
    case kKeyDown:
      if (UpdateCell() && row != kNoIndex) MoveByKey(clampRow(std::int64_t{row} + (key == kKeyUp ? -1 : 1)), col, extend);
      break;
    case kKeyLeft:
    case kKeyRight:
      consumed = !editing_;
      if (consumed && row != kNoIndex) {
        const std::int32_t next = std::clamp(col + (key == kKeyLeft ? -1 : 1), 0, model_.Cols());
        MoveByKey(row, next, false);
      }
      break;
    case kKeyPageUp:
    case kKeyPageDown:
      if (UpdateCell() && row != kNoIndex) {
        const std::int32_t page = std::max(1, FullyVisibleRows(View(), metrics_));
        MoveByKey(clampRow(std::int64_t{row} + (key == kKeyPageUp ? -page : page)), col, extend);
      }
      break;
    case kKeyHome:
    case kKeyEnd: {
      const bool home = key == kKeyHome;
      if (extend) {
        if (row != kNoIndex) MoveByKey(home ? 0 : last, col, true);
      } else if (modifiers.ctrl) {
        if (UpdateCell() && row != kNoIndex) MoveByKey(home ? 0 : last, col, false);
      } else if (!editing_) {
        const std::vector<ColumnSpan> all = ShownColumns(model_, 0, dpi_);
        if (row != kNoIndex && !all.empty()) MoveByKey(row, home ? all.front().col : all.back().col, false);
      } else {
        consumed = false;
      }
      break;
    }
    case kKeyEnter:
      consumed = (properties_.editTrigger & kEditOnEnter) != 0;
      if (consumed) ToggleEdit();
      break;
    case kKeyEscape:
      consumed = (properties_.editTrigger & kEditOnEnter) != 0 && editing_;
      if (consumed) CancelEdit();
      break;
    default:
      consumed = false;
      break;
  }
  if (!consumed) events_->KeyDown(key, modifiers.ShiftState());
  return consumed;
}

void GridControl::KeyUp(std::int32_t key, Modifiers modifiers) { events_->KeyUp(key, modifiers.ShiftState()); }

bool GridControl::WantsDialogKey(std::int32_t key) const {
  if (key == kKeyEnter) return (properties_.editTrigger & kEditOnEnter) != 0 && (editing_ || CanEdit());
  if (key == kKeyEscape) return (properties_.editTrigger & kEditOnEnter) != 0 && editing_;
  return false;
}

void GridControl::Character(char32_t character, std::uint64_t nowMs) {
  if (!properties_.enabled) return;
  const bool enterOrEscape = character == U'\r' || character == U'\n' || character == 0x1B;
  if ((properties_.editTrigger & kEditOnEnter) != 0 && enterOrEscape) return;
  if (!editing_ && IsLetterOrDigit(character)) {
    if (typeAhead_.empty() || nowMs - typeAheadMs_ >= kTypeAheadMs) typeAhead_.clear();
    AppendUtf8(typeAhead_, character);
    typeAheadMs_ = nowMs;
    const std::int32_t found = model_.FindItem(typeAhead_, model_.SearchColumn(), SearchMode::TypeAhead);
    if (found != kNoIndex && !(properties_.ignoreEmpty && IsBlankRow(found))) {
      Select(found, false);
      SetTopRow(found);
    }
  }
  events_->KeyPress(static_cast<std::int32_t>(character));
}

// ---- Focus and theme ----

void GridControl::FocusGained() {
  if (!properties_.enabled) return;
  hasFocus_ = true;
  Invalidate();
}

void GridControl::FocusLost(FocusTarget target) {
  // The edit box is part of the grid: the focus rectangle stays while it
  // has the focus.
  if (target == FocusTarget::Editor) return;
  if (hasFocus_) {
    hasFocus_ = false;
    Invalidate();
  }
  if (target == FocusTarget::Elsewhere) UpdateCell();
}

void GridControl::EditorFocusLost(FocusTarget target) {
  if (target == FocusTarget::Grid) return;
  FocusLost(FocusTarget::Elsewhere);
}

void GridControl::ThemeChanged() {
  Invalidate();
  events_->ThemeChanged();
}

}  // namespace kelvane
