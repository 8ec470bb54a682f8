#include "base/layout.h"

namespace kelvane {
namespace {

constexpr int kCaptionButtonWidth = 36;
constexpr int kMainWidth = 300;
constexpr int kMainHeight = 284;
constexpr int kMainTop = 30;
constexpr int kMainBottom = 28;
constexpr int kPromptWidth = 340;
constexpr int kPromptHeight = 238;
constexpr int kPromptTop = 30;
constexpr int kPromptBottom = 14;

WindowLayout Build(int dpi, int width96, int height96, int top96, int bottom96, bool minimize,
                   std::map<std::string, Rect> controls96) {
  WindowLayout layout;
  layout.width = ScaleToDpi(width96, dpi);
  layout.height = ScaleToDpi(height96, dpi);
  layout.frame = ComputeFrame(layout.width, layout.height, dpi, top96, bottom96, minimize);
  for (const auto& [name, rect] : controls96) layout.controls[name] = ScaleToDpi(rect, dpi);
  return layout;
}

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

WindowLayout MainWindowLayout(int dpi) {
  constexpr int m = 14;     // margin
  constexpr int c = 92;     // second column
  constexpr int r = kMainWidth - m;
  return Build(dpi, kMainWidth, kMainHeight, kMainTop, kMainBottom, true,
               {
                   {"lblAction", {m, 44, c - m - 6, 20}},
                   {"cmbAction", {c, 41, r - c, 200}},
                   {"optIn", {m, 76, c - m - 6, 22}},
                   {"txtPeriod", {c, 76, 44, 23}},
                   {"vsPeriod", {c + 44, 76, 17, 23}},
                   {"cmbUnit", {c + 68, 76, r - c - 68, 200}},
                   {"optAt", {m, 107, c - m - 6, 22}},
                   {"txtHour", {c, 107, 32, 23}},
                   {"vsHour", {c + 32, 107, 17, 23}},
                   {"txtMin", {c + 56, 107, 32, 23}},
                   {"vsMin", {c + 88, 107, 17, 23}},
                   {"cmbT", {c + 112, 107, r - c - 112, 200}},
                   {"chkPrompt", {m, 142, r - m, 20}},
                   {"chkBlink", {m, 166, 150, 22}},
                   {"txtBlink", {170, 166, 40, 23}},
                   {"vsBlink", {210, 166, 17, 23}},
                   {"lblSeconds", {232, 169, r - 232, 20}},
                   {"chkForce", {m, 192, r - m, 20}},
                   {"cmdTimer", {m, 222, 130, 28}},
                   {"cmdAdv", {r - 130, 222, 130, 28}},
                   {"lblStatus", {10, kMainHeight - kMainBottom + 2, 230, kMainBottom - 4}},
                   {"ImgShowHidden", {kMainWidth - 30, kMainHeight - kMainBottom + 6, 16, 16}},
               });
}

WindowLayout PromptLayout(int dpi) {
  constexpr int m = 14;
  constexpr int t = 78;  // text column, right of the picture
  constexpr int r = kPromptWidth - m;
  return Build(dpi, kPromptWidth, kPromptHeight, kPromptTop, kPromptBottom, false,
               {
                   {"title", {10, 0, 200, kPromptTop}},
                   {"picture", {m, 44, 48, 48}},
                   {"lblAction", {t, 40, r - t, 28}},
                   {"Label1", {t, 72, r - t, 18}},
                   {"Label3", {t, 92, r - t, 18}},
                   {"Label2", {t, 112, r - t, 18}},
                   {"Label4", {t, 138, 64, 20}},
                   {"txtSnooz", {t + 66, 136, 40, 23}},
                   {"vsBlink", {t + 106, 136, 17, 23}},
                   {"lblSnoozMin", {t + 130, 138, 50, 20}},
                   {"cmdAbort", {m, 178, 96, 28}},
                   {"cmdExecute", {m + 107, 178, 96, 28}},
                   {"cmdSnooz", {m + 214, 178, 96, 28}},
               });
}

}  // namespace kelvane
