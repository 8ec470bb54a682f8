#include "base/frame_win32.h"

#include "base/system_win32.h"

namespace kelvane {
namespace {

void FillRect(HDC dc, const Rect& r, COLORREF color) {
  const RECT rect{r.left, r.top, r.right(), r.bottom()};
  SetDCBrushColor(dc, color);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintGlyph(HDC dc, const Rect& button, FrameHit kind, int dpi) {
  const int half = ScaleToDpi(5, dpi);
  const int cx = button.left + button.width / 2;
  const int cy = button.top + button.height / 2;
  LOGBRUSH brush{BS_SOLID, RGB(255, 255, 255), 0};
  const UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                                   static_cast<DWORD>(std::max(1, ScaleToDpi(1, dpi))), &brush, 0, nullptr));
  const SelectionGuard select(dc, pen.get());
  if (kind == FrameHit::CloseButton) {
    MoveToEx(dc, cx - half, cy - half, nullptr);
    LineTo(dc, cx + half + 1, cy + half + 1);
    MoveToEx(dc, cx + half, cy - half, nullptr);
    LineTo(dc, cx - half - 1, cy + half + 1);
  } else {
    MoveToEx(dc, cx - half, cy, nullptr);
    LineTo(dc, cx + half + 1, cy);
  }
}

void PaintButton(HDC dc, const std::optional<Rect>& rect, FrameHit kind, const FrameState& state, int dpi) {
  if (!rect) return;
  COLORREF background = FrameColors::kStrip;
  if (state.pressed == kind) {
    background = kind == FrameHit::CloseButton ? RGB(0x94, 0x1E, 0x13) : FrameColors::kStripPressed;
  } else if (state.hot == kind) {
    background = kind == FrameHit::CloseButton ? FrameColors::kCloseHot : FrameColors::kStripHot;
  }
  FillRect(dc, *rect, background);
  PaintGlyph(dc, *rect, kind, dpi);
}

}  // namespace

UiFonts UiFonts::ForDpi(int dpi) {
  UiFonts fonts;
  fonts.normal = CreateMessageFont(dpi, 9);
  fonts.title = CreateMessageFont(dpi, 9, FW_SEMIBOLD);
  fonts.large = CreateMessageFont(dpi, 12, FW_BOLD);
  return fonts;
}

void PaintWindow(HWND window, HDC dc, const FrameLayout& frame, int dpi, const FrameState& state, HFONT titleFont,
                 std::wstring_view title) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, {0, 0, client.right, client.bottom}, FrameColors::kBody);
  FillRect(dc, frame.top, FrameColors::kStrip);
  FillRect(dc, frame.bottom, FrameColors::kFooter);
  FillRect(dc, {frame.bottom.left, frame.bottom.top, frame.bottom.width, std::max(1, ScaleToDpi(1, dpi))},
           FrameColors::kFooterLine);
  PaintButton(dc, frame.minimizeButton, FrameHit::MinimizeButton, state, dpi);
  PaintButton(dc, frame.closeButton, FrameHit::CloseButton, state, dpi);

  SetBkMode(dc, TRANSPARENT);
  const SelectionGuard select(dc, titleFont);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT titleRect{ScaleToDpi(12, dpi), frame.top.top, frame.top.right() - ScaleToDpi(80, dpi), frame.top.bottom()};
  DrawTextW(dc, title.data(), static_cast<int>(title.size()), &titleRect,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT FrameMouse::HitTest(HWND window, const FrameLayout& frame, POINT screen, const Rect* keepClient) const {
  ScreenToClient(window, &screen);
  if (keepClient != nullptr && keepClient->Contains(screen.x, screen.y)) return HTCLIENT;
  // The system moves the window while a strip is dragged.
  return HitTestFrame(frame, screen.x, screen.y) == FrameHit::Drag ? HTCAPTION : HTCLIENT;
}

void FrameMouse::ButtonDown(HWND window, const FrameLayout& frame, POINT client) {
  if (!buttons_.OnButtonDown(HitTestFrame(frame, client.x, client.y))) return;
  SetCapture(window);
  InvalidateRect(window, nullptr, FALSE);
}

FrameHit FrameMouse::ButtonUp(HWND window, const FrameLayout& frame, POINT client) {
  const FrameHit completed = buttons_.OnButtonUp(HitTestFrame(frame, client.x, client.y));
  if (GetCapture() == window) ReleaseCapture();
  InvalidateRect(window, nullptr, FALSE);
  return completed;
}

void FrameMouse::Move(HWND window, const FrameLayout& frame, POINT client) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  Hover(window, frame, client);
}

void FrameMouse::Left(HWND window, const FrameLayout& frame) {
  trackingLeave_ = false;
  Hover(window, frame, {-1, -1});
}

void FrameMouse::Hover(HWND window, const FrameLayout& frame, POINT client) {
  if (buttons_.OnMouseMove(HitTestFrame(frame, client.x, client.y))) InvalidateRect(window, nullptr, FALSE);
}

}  // namespace kelvane
