#pragma once
// GridCtl's behaviour without its window: the model, the properties, the
// scroll positions and the interaction state (current cell, pressed, hot and
// resized headers, drag selection, in-place editing, focus, type-ahead). The
// window turns its messages into the plain events below and carries out
// what the control asks of it through GridSurface.
//
// Lengths are device pixels of a window at the control's DPI unless a name
// says otherwise. Indexes a caller passes are checked: an index outside the
// tables throws std::out_of_range and changes nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/layout.h"
#include "controls/grid/grid_events.h"
#include "controls/grid/grid_layout.h"
#include "controls/grid/grid_model.h"
#include "controls/grid/grid_paint.h"
#include "controls/grid/grid_properties.h"

namespace kelvane {

// Mouse buttons as the events report them.
enum class MouseButton : std::int32_t { Left = 1, Right = 2, Middle = 4 };

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  // 1 Shift, 2 Ctrl, 4 Alt, as KeyDown and the mouse events report them.
  std::int32_t ShiftState() const { return (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0); }
};

struct Point {
  int x = 0;
  int y = 0;
};

// Key codes the grid acts on (the platform's virtual-key numbers).
enum GridKey : std::int32_t {
  kKeyEnter = 0x0D,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyA = 0x41,
  kKeyF2 = 0x71,
};

enum class GridCursor { Arrow, SizeWestEast };
enum class ScrollAxis { Vertical, Horizontal };
// Scroll-bar request codes.
enum class ScrollCode : std::int32_t {
  LineUp = 0,
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbPosition = 4,
  ThumbTrack = 5,
  Top = 6,
  Bottom = 7,
  EndScroll = 8,
};
// Scroll-bar clicks move this many rows or columns.
inline constexpr std::int32_t kScrollPage = 5;
// Drag selection outside the window moves one row per tick of this length.
inline constexpr std::uint32_t kDragScrollMs = 25;
// Keys typed within this time extend the type-ahead search.
inline constexpr std::uint64_t kTypeAheadMs = 1000;
// One notch of a mouse wheel.
inline constexpr int kWheelNotch = 120;

// Where the keyboard focus went when the grid or its edit box lost it.
enum class FocusTarget { Grid, Editor, Elsewhere };

enum class LoadMode { Design, Run };

struct ScrollBarsState {
  ScrollRanges ranges;
  std::int32_t topRow = 0;
  std::int32_t leftCol = 0;
  friend bool operator==(const ScrollBarsState&, const ScrollBarsState&) = default;
};

// The edit box (or the column's bound control) opened over a cell.
struct EditorRequest {
  Rect rect;
  std::string text;
  // The horizontal part of the cell's alignment: 0 left, 1 centre, 2 right.
  std::int32_t alignment = 0;
  OleColor backColor = 0;
  std::uint8_t fontStyle = 0;
  // 0 for the grid's own edit box.
  std::uintptr_t boundControl = 0;
};

// What the control asks of its window.
class GridSurface {
 public:
  virtual ~GridSurface() = default;
  // The height of "A" in the grid's font.
  virtual int MeasureTextHeight() = 0;
  // Paint again, everything.
  virtual void Invalidate() = 0;
  virtual void SetScrollBars(const ScrollBarsState& bars) = 0;
  virtual void SetCapture(bool on) = 0;
  virtual void SetCursor(GridCursor cursor) = 0;
  // While on, DragTimer is called every kDragScrollMs.
  virtual void SetDragTimer(bool on) = 0;
  // Asks for MouseLeave when the pointer leaves the window.
  virtual void TrackMouseLeave() = 0;
  virtual void ShowEditor(const EditorRequest& request) = 0;
  virtual void FocusEditor(std::uintptr_t boundControl) = 0;
  virtual std::string EditorText(std::uintptr_t boundControl) = 0;
  virtual void HideEditor(std::uintptr_t boundControl) = 0;
  virtual void ApplyFont(const FontDescription& font) = 0;
  // The window's own background and whether it has a single-line border.
  virtual void ApplyFrame(OleColor background, bool border) = 0;
  // Run-time set-up: subclassing, flat scroll bars, mouse-leave tracking.
  virtual void StartRunTime() = 0;
};

class GridControl final : private GridView {
 public:
  GridControl(GridSurface& surface, GridEvents* events = nullptr);
  GridControl(const GridControl&) = delete;
  GridControl& operator=(const GridControl&) = delete;

  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }
  void SetEvents(GridEvents* events);
  void SetImageList(const GridImageList* images, std::optional<ImageSize> size);

  // ---- Properties ----
  const GridProperties& Properties() const { return properties_; }
  PropertyValue Property(GridProperty id) const;
  // False, changing nothing, when the value is of the wrong type or out of
  // range. Reports the change under the property's public name.
  bool SetProperty(GridProperty id, const PropertyValue& value);
  void OnPropertyChanged(std::function<void(std::string_view)> listener) { propertyChanged_ = std::move(listener); }

  // A newly placed control: the defaults and the container's font.
  void InitProperties(const FontDescription& containerFont, LoadMode mode);
  // Reads every stored property (wrong types and values out of range read
  // as their defaults), then applies font, frame, FormatString, metrics and
  // the ThemeColor scheme; at run time it also sets up the window.
  void ReadProperties(PropertyBag& bag, const FontDescription& containerFont, LoadMode mode);
  void WriteProperties(PropertyBag& bag) const;
  bool RunTime() const { return runTime_; }

  // ---- The window ----
  void SetClientSize(int width, int height);
  // Recomputes metrics for a new DPI; the window has recreated its fonts.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }
  const GridMetrics& Metrics() const { return metrics_; }
  Viewport View() const;
  ScrollBarsState ScrollBars() const { return {ranges_, topRow_, leftCol_}; }
  GridCursor Cursor() const { return cursor_; }
  // What one paint draws; raises the drawing events.
  const std::vector<PaintStep>& PlanPaint();

  // ---- View and current cell ----
  std::int32_t ItemsVisible() const;
  std::int32_t RowTop(std::int32_t row) const;
  std::int32_t TopRow() const { return topRow_; }
  // Scrolls `row` to the top (as far as the range allows) and makes it current.
  void SetTopRow(std::int32_t row);
  std::int32_t LeftCol() const { return leftCol_; }
  void EnsureVisible(std::int32_t row) { SetTopRow(row); }
  // Scrolls as little as it takes to show `row` whole; the current cell stays.
  void MakeRowVisible(std::int32_t row);
  std::int32_t Row() const { return model_.Row(); }
  void SetRow(std::int32_t row);
  std::int32_t Col() const { return model_.Col(); }
  void SetCol(std::int32_t col);
  std::int32_t MouseRow() const { return mouseRow_; }
  std::int32_t MouseCol() const { return mouseCol_; }
  // The text of the cell at (x, y) in ScaleUnits, with its column and row;
  // empty and -1, -1 when there is no cell. Ends a header press or column drag.
  std::string HitTest(float x, float y, std::int32_t* col = nullptr, std::int32_t* row = nullptr);

  // ---- Editing ----
  bool Editing() const { return editing_; }
  bool CanEdit() const;
  bool EditCell(std::int32_t row, std::int32_t col);
  // Commits an open edit; false when the owner refused the new text, and
  // the edit then stays open.
  bool UpdateCell() override;
  bool ToggleEdit();
  void CancelEdit();

  // ---- Input ----
  void ButtonDown(MouseButton button, Point point, Modifiers modifiers);
  void DoubleClick(Point point, Modifiers modifiers);
  void ButtonUp(MouseButton button, Point point, Modifiers modifiers);
  // `buttons`: the buttons held, as MouseButton bits.
  void MouseMove(Point point, Modifiers modifiers, std::int32_t buttons);
  // The pointer entered the window (first move while outside).
  void MouseEntered();
  void MouseLeft();
  // The mouse lost the capture to someone else.
  void CaptureLost();
  void Wheel(int delta, Modifiers modifiers);
  void Scroll(ScrollAxis axis, ScrollCode code, std::int32_t thumb = 0);
  void DragTimer();
  // True when the grid handled the key (KeyDown is raised only otherwise).
  bool KeyDown(std::int32_t key, Modifiers modifiers);
  void KeyUp(std::int32_t key, Modifiers modifiers);
  // A typed character; `nowMs` is a millisecond clock.
  void Character(char32_t character, std::uint64_t nowMs);
  // Whether the grid takes this key from a dialog that would otherwise use
  // it (Enter for the default button, Escape for cancel).
  bool WantsDialogKey(std::int32_t key) const;
  void FocusGained();
  void FocusLost(FocusTarget target);
  void EditorFocusLost(FocusTarget target);
  void ThemeChanged();
  bool HasFocus() const { return hasFocus_; }

  // Interaction state, for the window and for tests.
  std::int32_t PressedHeader() const { return pressedHeader_; }
  std::int32_t HotHeader() const { return hotHeader_; }
  std::int32_t ResizingColumn() const { return resizingCol_; }
  bool MouseInside() const { return mouseInside_; }
  const std::string& TypeAheadText() const { return typeAhead_; }

 private:
  // GridView: what the model asks of its window.
  void RecomputeMetrics() override;
  void RecomputeScrollBars() override;
  void Paint() override;
  void ResetPointerState() override;

  void Invalidate() { surface_.Invalidate(); }
  void RefreshLayout();
  void Assign(GridProperty id, const PropertyValue& value);
  void ApplyColorScheme();
  void AfterLoad(const FontDescription& containerFont, LoadMode mode, std::optional<std::string> formatString);

  std::vector<ColumnSpan> Spans() const { return ShownColumns(model_, leftCol_, dpi_); }
  std::int32_t RowAt(Point point) const;
  std::int32_t LastRow() const { return model_.ItemCount() - 1; }
  bool IsBlankRow(std::int32_t row) const;
  // The one operation that moves the current cell: IgnoreEmpty, no change
  // when equal, RowColChanged, and with `scroll` the view follows.
  bool MoveCurrentCell(std::int32_t row, std::int32_t col, bool scroll);
  void ScrollIntoView(std::int32_t row, std::int32_t col);
  bool HasCellCheckBox(std::int32_t row, std::int32_t col) const;
  void ToggleCellCheck(std::int32_t row, std::int32_t col);
  bool SetScrollPosition(ScrollAxis axis, std::int32_t position);
  void PublishScrollBars();
  void ScrollBy(ScrollAxis axis, std::int32_t delta);
  void Select(std::int32_t row, bool extend);
  void ToggleRowCheck(std::int32_t row);
  void ClickOnRow(std::int32_t row, Point point, Modifiers modifiers);
  void HeaderClicked(std::int32_t col, bool ctrl);
  void TrackHeaders(Point point);
  void EndPointerGesture();
  std::optional<Rect> CellRect(std::int32_t row, std::int32_t col) const;
  std::int32_t EditableColumn() const;
  void MoveByKey(std::int32_t row, std::int32_t col, bool extend);
  float LogicalToScaleUnits(double logical, ScaleAxis axis) const;
  float ToScaleUnits(int pixels, ScaleAxis axis) const;
  void RaiseMouseEvent(bool up, std::int32_t button, Point point, Modifiers modifiers);

  GridSurface& surface_;
  GridEvents* events_;
  GridModel model_;
  GridProperties properties_;
  std::function<void(std::string_view)> propertyChanged_;
  std::optional<ImageSize> imageSize_;
  bool runTime_ = false;

  int dpi_ = 96;
  int width_ = 0;
  int height_ = 0;
  GridMetrics metrics_;
  std::int32_t topRow_ = 0;
  std::int32_t leftCol_ = 0;
  ScrollRanges ranges_;
  bool publishingScrollBars_ = false;
  bool scrollBarsStale_ = false;

  std::int32_t pressedHeader_ = kNoIndex;
  bool pressedShown_ = false;
  std::int32_t hotHeader_ = kNoIndex;
  std::int32_t resizingCol_ = kNoIndex;
  int resizeStart_ = 0;
  GridCursor cursor_ = GridCursor::Arrow;
  bool buttonDown_ = false;
  bool dragSelecting_ = false;
  bool pressOverRow_ = false;
  bool suppressClick_ = false;
  // 0 none, 1 up, 2 down.
  int dragDirection_ = 0;
  int wheelRemainder_ = 0;
  std::int32_t anchorRow_ = kNoIndex;
  std::int32_t mouseRow_ = kNoIndex;
  std::int32_t mouseCol_ = kNoIndex;

  bool editing_ = false;
  std::int32_t editRow_ = kNoIndex;
  std::int32_t editCol_ = kNoIndex;
  std::uintptr_t editBound_ = 0;

  bool hasFocus_ = false;
  bool mouseInside_ = false;
  std::string typeAhead_;
  std::uint64_t typeAheadMs_ = 0;

  std::vector<PaintStep> steps_;
};

}  // namespace kelvane
