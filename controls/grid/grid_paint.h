#pragma once
// What one paint of the grid draws, as a list of simple drawing steps in
// window coordinates. The platform's painter carries them out in order and
// decides nothing; everything about what goes where, in which colour and
// which look, is decided here.

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "base/layout.h"
#include "controls/grid/grid_colors.h"
#include "controls/grid/grid_layout.h"
#include "controls/grid/grid_model.h"
#include "controls/grid/grid_properties.h"

namespace kelvane {

struct FillStep {
  Rect rect;
  OleColor color;
};

// A header cell's look in the given style; its background is already filled.
struct HeaderStep {
  Rect rect;
  std::int32_t style;
  HeaderLook look;
};

// Font style bits as the cell flags hold them.
inline constexpr std::uint8_t kFontStyleMask = kCellBold | kCellItalic | kCellUnderline;

struct TextStep {
  Rect rect;
  // Valid until the grid changes.
  std::string_view text;
  OleColor color;
  // DrawText flags: the alignment code and the grid's text flags.
  std::uint32_t flags;
  std::uint8_t fontStyle;
};

struct CheckBoxStep {
  Rect rect;
  bool checked;
};

struct ProgressStep {
  ProgressBar bar;
  OleColor color;
};

struct ImageStep {
  int x;
  int y;
  std::int32_t index;
};

// A line from (x1, y1) up to, not including, (x2, y2).
struct LineStep {
  int x1;
  int y1;
  int x2;
  int y2;
  int width;
  OleColor color;
};

struct FocusStep {
  Rect rect;
  // 0 the system's dotted focus rectangle, 1 a frame in `color`.
  std::int32_t style;
  OleColor color;
};

// Limits drawing to a cell; without a rectangle, lifts the limit.
struct ClipStep {
  std::optional<Rect> rect;
};

using PaintStep =
    std::variant<FillStep, HeaderStep, TextStep, CheckBoxStep, ProgressStep, ImageStep, LineStep, FocusStep, ClipStep>;

// What the painting needs to know besides the model and the properties.
struct PaintState {
  Viewport view;
  GridMetrics metrics;
  // Drawn pressed while the pointer is over it.
  std::int32_t pressedHeader = kNoIndex;
  std::int32_t hotHeader = kNoIndex;
  bool hasFocus = false;
  bool hasImages = false;
};

// Fills `steps` (emptied first) with one paint of the grid. Raises
// BeforeDrawGrid, BeforeDrawText for every cell drawn, and AfterDrawGrid;
// texts the owner changes in BeforeDrawText, and texts formatted by their
// column's format, are stored back into their cells without a repaint.
void PlanPaint(GridModel& model, const GridProperties& properties, const PaintState& state, GridEvents& events,
               std::vector<PaintStep>& steps);

}  // namespace kelvane
