#pragma once
// The frame control's child window: it shows ShadowFrame's picture for its
// size and its monitor's DPI, on the background its parent gives static
// controls. The window lets clicks through and stays below its siblings, so
// the controls placed over it keep their input and are not painted over.
#include <windows.h>

#include "base/layout.h"
#include "base/window_base_win32.h"
#include "controls/frame/shadow_frame.h"

namespace kelvane {

class ShadowFrameWindow : public WindowBase, private FrameView {
 public:
  ShadowFrameWindow() : frame_(this) {}

  // `place` is in the parent's client pixels; `id` is the control id.
  bool Create(HWND parent, int id, const Rect& place);

  // Its properties; every change repaints the window.
  ShadowFrame& frame() { return frame_; }
  const ShadowFrame& frame() const { return frame_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  void Repaint() override;
  void OnPaint() noexcept;
  // The brush colour the parent answers WM_CTLCOLORSTATIC with, as the
  // container's background; the dialog face colour when it gives none.
  Colour ContainerColour(HDC dc) const noexcept;

  ShadowFrame frame_;
};

}  // namespace kelvane
