#pragma once
// Fonts and the drawn frame shared by the borderless windows.
#include <windows.h>

#include <string>
#include <string_view>

#include "base/handles_win32.h"
#include "base/layout.h"

namespace kelvane {

struct UiFonts {
  UniqueFont normal;
  UniqueFont title;
  UniqueFont large;  // bold, 12 pt

  static UiFonts ForDpi(int dpi);
};

struct FrameColors {
  static constexpr COLORREF kStrip = RGB(0x23, 0x39, 0x5B);
  static constexpr COLORREF kStripHot = RGB(0x36, 0x52, 0x7D);
  static constexpr COLORREF kStripPressed = RGB(0x16, 0x26, 0x40);
  static constexpr COLORREF kCloseHot = RGB(0xC4, 0x2B, 0x1C);
  static constexpr COLORREF kBody = RGB(0xFF, 0xFF, 0xFF);
  static constexpr COLORREF kFooter = RGB(0xEE, 0xF1, 0xF5);
  static constexpr COLORREF kFooterLine = RGB(0xD5, 0xDA, 0xE1);
  static constexpr COLORREF kFooterText = RGB(0x33, 0x3B, 0x47);
};

// Paints the body, the strips with the title and the caption buttons of a
// borderless window.
void PaintWindow(HWND window, HDC dc, const FrameLayout& frame, int dpi, const FrameState& state, HFONT titleFont,
                 std::wstring_view title);

// The mouse on a drawn frame: the strips drag the window; the caption
// buttons show their pressed look while held and act on release.
class FrameMouse {
 public:
  // For WM_NCHITTEST: the strips are the window's caption, except inside
  // `keepClient`, which stays clickable.
  LRESULT HitTest(HWND window, const FrameLayout& frame, POINT screen, const Rect* keepClient = nullptr) const;
  void ButtonDown(HWND window, const FrameLayout& frame, POINT client);
  // The caption button that the release completes, or Body.
  FrameHit ButtonUp(HWND window, const FrameLayout& frame, POINT client);
  void Move(HWND window, const FrameLayout& frame, POINT client);
  // WM_MOUSELEAVE: the pointer is over no part of the window any more.
  void Left(HWND window, const FrameLayout& frame);
  const FrameState& state() const { return buttons_.state(); }

 private:
  void Hover(HWND window, const FrameLayout& frame, POINT client);

  CaptionButtons buttons_;
  // Asked for once per stay: asking again when the leave arrives would,
  // with the pointer already outside, post the next leave at once, for ever.
  bool trackingLeave_ = false;
};

}  // namespace kelvane
