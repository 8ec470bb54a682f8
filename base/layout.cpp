#include "base/layout.h"

namespace kelvane {
namespace {

constexpr int kCaptionButtonWidth = 36;

bool IsButton(FrameHit hit) { return hit == FrameHit::CloseButton || hit == FrameHit::MinimizeButton; }

}  // namespace

int ScaleToDpi(int value, int dpi) {
  // Rounds half away from zero, as the system scales metrics.
  const long long scaled = static_cast<long long>(value) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

Rect ScaleToDpi(const Rect& rect, int dpi) {
  // Edges are scaled, not sizes, so neighbouring rectangles stay flush.
  const int left = ScaleToDpi(rect.left, dpi);
  const int top = ScaleToDpi(rect.top, dpi);
  return {left, top, ScaleToDpi(rect.right(), dpi) - left, ScaleToDpi(rect.bottom(), dpi) - top};
}

FrameLayout ComputeFrame(int width, int height, int dpi, int topHeight96, int bottomHeight96, bool minimizeButton) {
  FrameLayout frame;
  const int top = ScaleToDpi(topHeight96, dpi);
  const int bottom = ScaleToDpi(bottomHeight96, dpi);
  frame.top = {0, 0, width, top};
  frame.bottom = {0, height - bottom, width, bottom};
  const int buttonWidth = ScaleToDpi(kCaptionButtonWidth, dpi);
  frame.closeButton = Rect{width - buttonWidth, 0, buttonWidth, top};
  if (minimizeButton) frame.minimizeButton = Rect{width - 2 * buttonWidth, 0, buttonWidth, top};
  return frame;
}

FrameHit HitTestFrame(const FrameLayout& frame, int x, int y) {
  if (frame.closeButton && frame.closeButton->Contains(x, y)) return FrameHit::CloseButton;
  if (frame.minimizeButton && frame.minimizeButton->Contains(x, y)) return FrameHit::MinimizeButton;
  if (frame.top.Contains(x, y) || frame.bottom.Contains(x, y)) return FrameHit::Drag;
  return FrameHit::Body;
}

bool CaptionButtons::OnButtonDown(FrameHit hit) {
  if (!IsButton(hit)) return false;
  state_.pressed = hit;
  return true;
}

bool CaptionButtons::OnMouseMove(FrameHit hit) {
  const FrameHit hot = IsButton(hit) ? hit : FrameHit::Body;
  if (hot == state_.hot) return false;
  state_.hot = hot;
  return true;
}

FrameHit CaptionButtons::OnButtonUp(FrameHit hit) {
  const FrameHit pressed = state_.pressed;
  state_.pressed = FrameHit::Body;
  return pressed != FrameHit::Body && pressed == hit ? pressed : FrameHit::Body;
}

}  // namespace kelvane
