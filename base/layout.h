#pragma once
// Geometry of the borderless windows, in 96-DPI units scaled to the
// monitor's DPI: the frame strips, the caption buttons and the controls.

#include <map>
#include <optional>
#include <string>

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

// Control rectangles by name, in pixels.
struct WindowLayout {
  int width = 0;
  int height = 0;
  FrameLayout frame;
  std::map<std::string, Rect> controls;
  const Rect& at(const std::string& name) const { return controls.at(name); }
};

WindowLayout MainWindowLayout(int dpi);
WindowLayout PromptLayout(int dpi);

}  // namespace kelvane
