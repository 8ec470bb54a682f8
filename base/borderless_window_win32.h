#pragma once
// The program's borderless windows: a drawn frame whose strips drag the
// window and whose caption buttons act on release, a white body, and static
// controls and buttons on the body's colour. The main window, the prompt and
// the options dialog derive from it.
#include <windows.h>

#include <optional>

#include "base/frame_win32.h"
#include "base/layout.h"
#include "base/window_base_win32.h"

namespace kelvane {

class BorderlessWindow : public WindowBase {
 protected:
  // The DPI the window is laid out for; the fonts follow it.
  void SetDpi(int dpi);
  void SetFrame(const FrameLayout& frame) { frame_ = frame; }
  const FrameLayout& frame() const { return frame_; }
  int dpi() const { return dpi_; }
  const UiFonts& fonts() const { return fonts_; }

  // Handles the frame's messages and passes the rest to the default procedure.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

  // Lays the window out for `dpi` (SetDpi, SetFrame, the controls' places
  // and fonts) and returns its size in pixels: when it opens, and when it
  // moves to a monitor of another DPI.
  virtual SIZE LayOut(int dpi) = 0;

  // A click on a caption button completed by its release.
  virtual void OnCaptionButton(FrameHit button) = 0;
  // A mouse button released over the body.
  virtual void OnBodyRelease(POINT) {}
  // A part of the strips that stays clickable instead of dragging.
  virtual std::optional<Rect> ClickableInFrame() const { return std::nullopt; }
  // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the body's colours unless overridden.
  virtual LRESULT OnControlColor(HDC dc, HWND control);
  // Paints what the window shows besides the frame.
  virtual void PaintBody(HDC) {}

  // Enter arrives as IDOK from the dialog manager, which cannot tell which
  // button a window that is not a dialog counts as its default. As in a
  // dialog, Enter presses the push button that has the focus; true when it
  // did, and the window's own default button is then not pressed.
  bool PressFocusedPushButton() const;

 private:
  void OnPaint();
  LRESULT OnHitTest(POINT screen) const;
  void OnButtonUp(POINT client);
  LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
  void OnNextControl(WPARAM wParam, LPARAM lParam);
  void OnDpiChanged(int dpi, const RECT& suggested);

  FrameLayout frame_;
  int dpi_ = 96;
  UiFonts fonts_;
  UniqueBrush bodyBrush_;
  FrameMouse mouse_;
  // The control that had the focus when the window was last left.
  HWND lastFocus_ = nullptr;
};

}  // namespace kelvane
