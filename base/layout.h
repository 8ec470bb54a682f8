#pragma once
// Geometry of the borderless windows, in 96-DPI units scaled to the
// monitor's DPI: the frame strips, the caption buttons and the controls.

#include <initializer_list>
#include <optional>
#include <vector>

namespace kelvane {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool Contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
  friend bool operator==(const Rect&, const Rect&) = default;
};

int ScaleToDpi(int value, int dpi);
Rect ScaleToDpi(const Rect& rect, int dpi);

// The drawn frame of a borderless window: a top strip with the title and
// caption buttons, and a bottom strip; both drag the window.
struct FrameLayout {
  Rect top;
  Rect bottom;
  std::optional<Rect> closeButton;
  std::optional<Rect> minimizeButton;
};

enum class FrameHit { Body, Drag, CloseButton, MinimizeButton };

// `width`/`height` are the window's client size in pixels at `dpi`.
FrameLayout ComputeFrame(int width, int height, int dpi, int topHeight96, int bottomHeight96, bool minimizeButton);
FrameHit HitTestFrame(const FrameLayout& frame, int x, int y);

struct FrameState {
  FrameHit hot = FrameHit::Body;
  FrameHit pressed = FrameHit::Body;
};

// Tracks the caption buttons of a borderless window: pressed look while a
// mouse button is held on one, and the button that a release completes.
class CaptionButtons {
 public:
  // Returns true when the window must repaint.
  bool OnButtonDown(FrameHit hit);
  bool OnMouseMove(FrameHit hit);
  // The button completed by the release, or Body when none.
  FrameHit OnButtonUp(FrameHit hit);
  const FrameState& state() const { return state_; }
  void Reset() { state_ = {}; }

 private:
  FrameState state_;
};

// One control's place in a window, in pixels. A drop-down list's rectangle
// is its box; `listHeight` is the room its list drops into below the box.
// The controls of a row of boxes (`rowBox`: the boxes, their spins, the
// drop-down lists and the labels beside them) all take the height of the
// row's drop-down lists, centred on the row, so that their texts share a
// baseline. An `attached` control (a spin) sits flush against the right of
// the control listed before it (its box).
template <typename Id>
struct LayoutSlot {
  Id id;
  Rect rect;
  int listHeight = 0;
  bool rowBox = false;
  bool attached = false;
};

// The size of a borderless window and its strips, in 96-DPI units.
struct WindowFrame96 {
  int width = 0;
  int height = 0;
  int top = 0;
  int bottom = 0;
  bool minimizeButton = false;
};

// A window's size, frame and control places, in pixels.
template <typename Id>
struct WindowLayout {
  int width = 0;
  int height = 0;
  FrameLayout frame;
  std::vector<LayoutSlot<Id>> slots;

  // An empty rectangle for a control the layout does not place.
  Rect at(Id id) const { return slotOf(id).rect; }
  LayoutSlot<Id> slotOf(Id id) const {
    for (const LayoutSlot<Id>& slot : slots) {
      if (slot.id == id) return slot;
    }
    return {id, {}};
  }
};

// `boxHeight` is the height, in pixels, that a drop-down list takes with the
// window's font at `dpi`; 0 keeps the rows' own height.
template <typename Id>
WindowLayout<Id> ScaleLayout(int dpi, const WindowFrame96& frame96, std::initializer_list<LayoutSlot<Id>> slots96,
                             int boxHeight = 0) {
  WindowLayout<Id> layout;
  layout.width = ScaleToDpi(frame96.width, dpi);
  layout.height = ScaleToDpi(frame96.height, dpi);
  layout.frame = ComputeFrame(layout.width, layout.height, dpi, frame96.top, frame96.bottom, frame96.minimizeButton);
  for (LayoutSlot<Id> slot : slots96) {
    // Heights, and the widths of attached controls, are scaled as sizes, so
    // that every box of a row and every spin keeps one size wherever it
    // sits; the other edges are scaled as edges, so that neighbours stay
    // flush.
    Rect rect = ScaleToDpi(slot.rect, dpi);
    rect.height = ScaleToDpi(slot.rect.height, dpi);
    if (slot.attached && !layout.slots.empty()) {
      rect.left = layout.slots.back().rect.right();
      rect.width = ScaleToDpi(slot.rect.width, dpi);
    }
    if (slot.rowBox && boxHeight > 0) {
      rect.top += (rect.height - boxHeight) / 2;
      rect.height = boxHeight;
    }
    slot.rect = rect;
    slot.listHeight = ScaleToDpi(slot.listHeight, dpi);
    layout.slots.push_back(slot);
  }
  return layout;
}

}  // namespace kelvane
