#include "base/borderless_window_win32.h"

#include <windowsx.h>

namespace kelvane {
namespace {

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

void BorderlessWindow::SetFrame(const FrameLayout& frame, int dpi) {
  frame_ = frame;
  dpi_ = dpi;
  fonts_ = UiFonts::ForDpi(dpi);
  if (!bodyBrush_) bodyBrush_.reset(CreateSolidBrush(FrameColors::kBody));
}

LRESULT BorderlessWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_NCHITTEST: return OnHitTest(PointOf(lParam));
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      mouse_.ButtonDown(hwnd(), frame_, PointOf(lParam)); return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: OnButtonUp(PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: mouse_.Move(hwnd(), frame_, PointOf(lParam)); return 0;
    case WM_MOUSELEAVE: mouse_.Move(hwnd(), frame_, {-1, -1}); return 0;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return Default(message, wParam, lParam);
  }
}

LRESULT BorderlessWindow::OnControlColor(HDC dc, HWND) {
  SetBkColor(dc, FrameColors::kBody);
  return reinterpret_cast<LRESULT>(bodyBrush_.get());
}

bool BorderlessWindow::PressFocusedPushButton() const {
  const HWND focus = GetFocus();
  if (focus == nullptr || GetParent(focus) != hwnd()) return false;
  if ((SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) return false;
  SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

void BorderlessWindow::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd(), &paint);
  PaintWindow(hwnd(), dc, frame_, dpi_, mouse_.state(), fonts_.title.get());
  PaintBody(dc);
  EndPaint(hwnd(), &paint);
}

LRESULT BorderlessWindow::OnHitTest(POINT screen) const {
  const std::optional<Rect> clickable = ClickableInFrame();
  return mouse_.HitTest(hwnd(), frame_, screen, clickable ? &*clickable : nullptr);
}

void BorderlessWindow::OnButtonUp(POINT client) {
  const FrameHit completed = mouse_.ButtonUp(hwnd(), frame_, client);
  if (completed != FrameHit::Body) {
    OnCaptionButton(completed);
  } else {
    OnBodyRelease(client);
  }
}

}  // namespace kelvane
