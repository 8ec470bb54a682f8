#include "base/window_layouts.h"

namespace kelvane {
namespace {

constexpr WindowFrame96 kMainFrame{300, 284, 30, 28, true};
constexpr WindowFrame96 kPromptFrame{340, 258, 30, 14, false};
constexpr WindowFrame96 kAboutFrame{340, 296, 30, 14, false};

// The height of a row of boxes until the drop-down lists' is known.
constexpr int kRow = 23;
// The spin beside every number box, in both windows.
constexpr int kSpinWidth = 17;
// The room a drop-down list drops into.
constexpr int kList = 160;

// The members of a row of boxes.
template <typename Id>
constexpr LayoutSlot<Id> Box(Id id, int left, int top, int width) {
  return {id, {left, top, width, kRow}, 0, true, false};
}
template <typename Id>
constexpr LayoutSlot<Id> Spin(Id id, int top) {
  return {id, {0, top, kSpinWidth, kRow}, 0, true, true};
}
template <typename Id>
constexpr LayoutSlot<Id> List(Id id, int left, int top, int width) {
  return {id, {left, top, width, kRow}, kList, true, false};
}

}  // namespace

WindowLayout<MainControl> MainWindowLayout(int dpi, int boxHeight) {
  using enum MainControl;
  constexpr int m = 14;     // margin
  constexpr int c = 92;     // second column
  constexpr int r = kMainFrame.width - m;
  constexpr int footer = kMainFrame.height - kMainFrame.bottom;
  constexpr int action = 41;
  constexpr int in = 74;
  constexpr int at = 105;
  constexpr int blink = 163;
  return ScaleLayout<MainControl>(dpi, kMainFrame,
                                  {
                                      Box(lblAction, m, action, c - m - 6),
                                      List(cmbAction, c, action, r - c),
                                      Box(optIn, m, in, c - m - 6),
                                      Box(txtPeriod, c, in, 44),
                                      Spin(vsPeriod, in),
                                      List(cmbUnit, c + 68, in, r - c - 68),
                                      Box(optAt, m, at, c - m - 6),
                                      Box(txtHour, c, at, 32),
                                      Spin(vsHour, at),
                                      Box(txtMin, c + 56, at, 32),
                                      Spin(vsMin, at),
                                      List(cmbT, c + 112, at, r - c - 112),
                                      {chkPrompt, {m, 139, r - m, 20}},
                                      Box(chkBlink, m, blink, 150),
                                      Box(txtBlink, 170, blink, 40),
                                      Spin(vsBlink, blink),
                                      Box(lblSeconds, 233, blink, r - 233),
                                      {chkForce, {m, 192, r - m, 20}},
                                      {cmdTimer, {m, 222, 130, 28}},
                                      {cmdAdv, {r - 130, 222, 130, 28}},
                                      {lblStatus, {10, footer + 2, 230, kMainFrame.bottom - 4}},
                                      {imgShowHidden, {kMainFrame.width - 30, footer + 6, 16, 16}},
                                  },
                                  boxHeight);
}

WindowLayout<PromptControl> PromptLayout(int dpi, int boxHeight) {
  using enum PromptControl;
  constexpr int m = 14;
  constexpr int t = 78;  // text column, right of the picture
  constexpr int r = kPromptFrame.width - m;
  constexpr int delay = 136;
  return ScaleLayout<PromptControl>(dpi, kPromptFrame,
                                    {
                                        {picture, {m, 44, 48, 48}},
                                        {lblAction, {t, 40, r - t, 28}},
                                        {Label1, {t, 72, r - t, 18}},
                                        {Label3, {t, 92, r - t, 18}},
                                        {Label2, {t, 112, r - t, 18}},
                                        Box(Label4, t, delay, 64),
                                        Box(txtSnooz, t + 66, delay, 40),
                                        Spin(vsBlink, delay),
                                        Box(lblSnoozMin, t + 129, delay, 50),
                                        {cmdAbort, {m, 178, 96, 28}},
                                        {cmdExecute, {m + 107, 178, 96, 28}},
                                        {cmdSnooz, {m + 214, 178, 96, 28}},
                                        {lblCountdown, {m, 214, r - m, 20}},
                                    },
                                    boxHeight);
}

WindowLayout<AboutControl> AboutLayout(int dpi) {
  using enum AboutControl;
  constexpr int m = 14;
  constexpr int t = 78;  // text column, right of the picture
  constexpr int r = kAboutFrame.width - m;
  return ScaleLayout<AboutControl>(dpi, kAboutFrame,
                                   {
                                       {Image1, {m, 44, 48, 48}},
                                       {Label1, {t, 40, r - t, 30}},
                                       {lblVersion, {t, 72, r - t, 18}},
                                       {lblNotice, {t, 96, r - t, 64}},
                                       {lblCopyright, {t, 164, r - t, 18}},
                                       {PicUrl, {t - 4, 190, 190, 24}},
                                       {LblUrl, {t, 216, r - t, 18}},
                                       {cmdClose, {r - 96, 244, 96, 28}},
                                   });
}

}  // namespace kelvane
