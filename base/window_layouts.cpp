#include "base/window_layouts.h"

namespace kelvane {
namespace {

constexpr WindowFrame96 kMainFrame{300, 284, 30, 28, true};
constexpr WindowFrame96 kPromptFrame{340, 258, 30, 14, false};

}  // namespace

WindowLayout<MainControl> MainWindowLayout(int dpi) {
  using enum MainControl;
  constexpr int m = 14;     // margin
  constexpr int c = 92;     // second column
  constexpr int r = kMainFrame.width - m;
  constexpr int footer = kMainFrame.height - kMainFrame.bottom;
  return ScaleLayout<MainControl>(dpi, kMainFrame,
                                  {
                                      {lblAction, {m, 44, c - m - 6, 20}},
                                      {cmbAction, {c, 41, r - c, 200}, true},
                                      {optIn, {m, 76, c - m - 6, 22}},
                                      {txtPeriod, {c, 76, 44, 23}},
                                      {vsPeriod, {c + 44, 76, 17, 23}},
                                      {cmbUnit, {c + 68, 76, r - c - 68, 200}, true},
                                      {optAt, {m, 107, c - m - 6, 22}},
                                      {txtHour, {c, 107, 32, 23}},
                                      {vsHour, {c + 32, 107, 17, 23}},
                                      {txtMin, {c + 56, 107, 32, 23}},
                                      {vsMin, {c + 88, 107, 17, 23}},
                                      {cmbT, {c + 112, 107, r - c - 112, 200}, true},
                                      {chkPrompt, {m, 142, r - m, 20}},
                                      {chkBlink, {m, 166, 150, 22}},
                                      {txtBlink, {170, 166, 40, 23}},
                                      {vsBlink, {210, 166, 17, 23}},
                                      {lblSeconds, {232, 169, r - 232, 20}},
                                      {chkForce, {m, 192, r - m, 20}},
                                      {cmdTimer, {m, 222, 130, 28}},
                                      {cmdAdv, {r - 130, 222, 130, 28}},
                                      {lblStatus, {10, footer + 2, 230, kMainFrame.bottom - 4}},
                                      {imgShowHidden, {kMainFrame.width - 30, footer + 6, 16, 16}},
                                  });
}

WindowLayout<PromptControl> PromptLayout(int dpi) {
  using enum PromptControl;
  constexpr int m = 14;
  constexpr int t = 78;  // text column, right of the picture
  constexpr int r = kPromptFrame.width - m;
  return ScaleLayout<PromptControl>(dpi, kPromptFrame,
                                    {
                                        {picture, {m, 44, 48, 48}},
                                        {lblAction, {t, 40, r - t, 28}},
                                        {Label1, {t, 72, r - t, 18}},
                                        {Label3, {t, 92, r - t, 18}},
                                        {Label2, {t, 112, r - t, 18}},
                                        {Label4, {t, 138, 64, 20}},
                                        {txtSnooz, {t + 66, 136, 40, 23}},
                                        {vsBlink, {t + 106, 136, 17, 23}},
                                        {lblSnoozMin, {t + 130, 138, 50, 20}},
                                        {cmdAbort, {m, 178, 96, 28}},
                                        {cmdExecute, {m + 107, 178, 96, 28}},
                                        {cmdSnooz, {m + 214, 178, 96, 28}},
                                        {lblCountdown, {m, 214, r - m, 20}},
                                    });
}

}  // namespace kelvane
