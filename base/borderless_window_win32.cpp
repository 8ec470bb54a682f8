#include "base/borderless_window_win32.h"

#include <windowsx.h>

#include <string>

#include "base/system_win32.h"

namespace kelvane {
namespace {

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

void BorderlessWindow::SetDpi(int dpi) {
  if (dpi == dpi_ && fonts_.normal) return;
  dpi_ = dpi;
  fonts_ = UiFonts::ForDpi(dpi);
  if (!bodyBrush_) bodyBrush_.reset(CreateSolidBrush(FrameColors::kBody));
}

void BorderlessWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  // The suggested rectangle keeps the window under the pointer while it is
  // dragged across; its size is the window's own at the new DPI.
  const SIZE size = LayOut(dpi);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
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
    case WM_MOUSELEAVE: mouse_.Left(hwnd(), frame_); return 0;
    case WM_ACTIVATE: return OnActivate(wParam, lParam);
    case WM_NEXTDLGCTL: OnNextControl(wParam, lParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return Default(message, wParam, lParam);
  }
}

LRESULT BorderlessWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
  // As in a dialog, coming back to the window puts the keyboard where it
  // was left, rather than on the window itself.
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
    return 0;
  }
  if (HIWORD(wParam) == 0 && lastFocus_ != nullptr && IsChild(hwnd(), lastFocus_) && IsWindowEnabled(lastFocus_) &&
      IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
    return 0;
  }
  return Default(WM_ACTIVATE, wParam, lParam);
}

void BorderlessWindow::OnNextControl(WPARAM wParam, LPARAM lParam) {
  // Only dialogs handle this message by themselves, but the dialog manager
  // that takes these windows' keys sends it for a label's mnemonic: to the
  // label, then on to the control after it.
  const HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                          : GetNextDlgTabItem(hwnd(), GetFocus(), wParam != 0 ? TRUE : FALSE);
  if (target == nullptr || !IsChild(hwnd(), target)) return;
  SetFocus(target);
  // As in a dialog, a box reached from the keyboard has its text selected,
  // to be typed over.
  if ((SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageW(target, EM_SETSEL, 0, -1);
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
  // The window's title, without the blank the main window's begins with.
  const std::wstring title = WindowText(hwnd());
  const std::size_t start = title.find_first_not_of(L' ');
  PaintWindow(hwnd(), dc, frame_, dpi_, mouse_.state(), fonts_.title.get(),
              start == std::wstring::npos ? std::wstring_view() : std::wstring_view(title).substr(start));
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
