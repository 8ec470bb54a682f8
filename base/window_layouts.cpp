#include "base/window_layouts.h"

namespace kelvane {
namespace {

constexpr WindowFrame96 kMainFrame{300, 343, 30, 28, true};
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
  constexpr int repeat = 133;
  constexpr int day = 31;  // each day's box of the repeat row
  constexpr int when = 164;
  constexpr int blink = 222;
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
                                      {lblRepeat, {m, repeat, 50, 20}},
                                      {chkRepeat0, {r - 7 * day, repeat, day, 20}},
                                      {chkRepeat1, {r - 6 * day, repeat, day, 20}},
                                      {chkRepeat2, {r - 5 * day, repeat, day, 20}},
                                      {chkRepeat3, {r - 4 * day, repeat, day, 20}},
                                      {chkRepeat4, {r - 3 * day, repeat, day, 20}},
                                      {chkRepeat5, {r - 2 * day, repeat, day, 20}},
                                      {chkRepeat6, {r - day, repeat, day, 20}},
                                      Box(optWhen, m, when, c - m - 6),
                                      List(cmbCondition, c, when, 110),
                                      Box(txtCondMinutes, c + 114, when, 38),
                                      Spin(vsCondMinutes, when),
                                      Box(lblCondMinutes, c + 172, when, r - c - 172),
                                      List(cmbProgram, c + 114, when, r - c - 114),
                                      {chkPrompt, {m, 198, r - m, 20}},
                                      Box(chkBlink, m, blink, 150),
                                      Box(txtBlink, 170, blink, 40),
                                      Spin(vsBlink, blink),
                                      Box(lblSeconds, 233, blink, r - 233),
                                      {chkForce, {m, 251, r - m, 20}},
                                      {cmdTimer, {m, 281, 130, 28}},
                                      {cmdAdv, {r - 130, 281, 130, 28}},
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

WindowLayout<OptionsControl> OptionsLayout(int dpi) {
  using enum OptionsControl;
  constexpr WindowFrame96 frame{560, 524, 30, 14, false};
  constexpr int m = 12;                      // margin
  constexpr int mid = frame.width / 2;       // the gap between the two columns
  constexpr int colW = mid - m - 6;          // a column's frame width
  constexpr int r = mid + 6;                 // the right column
  constexpr int g = 38;                      // "General Options"
  constexpr int q = g + 85;                  // its row of the quiet thresholds
  constexpr int k = 154;                     // the two boss-key frames
  constexpr int o = 226;                     // the two option frames
  constexpr int t = 332;                     // the task area
  constexpr int b = 482;                     // the bottom row
  return ScaleLayout<OptionsControl>(
      dpi, frame,
      {
          {fraGeneral, {m, g, frame.width - 2 * m, 110}},
          {chkStartup, {m + 12, g + 18, 120, 20}},
          {chkEnabledStart, {m + 140, g + 18, 130, 20}},
          {chkTrayTips, {m + 280, g + 18, 120, 20}},
          {chkKeepAwake, {m + 12, g + 40, 300, 20}},
          {chkWakeToAct, {m + 316, g + 40, frame.width - 2 * m - 328, 20}},
          {chkPromptTimeout, {m + 12, g + 60, 300, 20}},
          {txtPromptTimeout, {m + 316, g + 59, 48, 22}},
          {vsPromptTimeout, {m + 364, g + 59, 17, 22}},
          {lblPromptSeconds, {m + 388, g + 61, 80, 20}},
          {lblQuietNetwork, {m + 12, q, 136, 22}},
          // Wide enough for 1000000 in the box's font at 100 %.
          {txtQuietKBps, {m + 150, q, 72, 22}},
          {vsQuietKBps, {m + 222, q, kSpinWidth, 22}, 0, false, true},
          {lblQuietProcessor, {m + 246, q, 150, 22}},
          {txtQuietPercent, {m + 400, q, 40, 22}},
          {vsQuietPercent, {m + 440, q, kSpinWidth, 22}, 0, false, true},
          {lblQuietPercent, {m + 464, q, 30, 22}},
          {fraBossKey, {m, k, colW, 66}},
          {chkBossKey, {m + 8, k, 16, 16}},
          {chkClip0, {m + 12, k + 18, 80, 20}},
          {chkClip1, {m + 96, k + 18, 70, 20}},
          {chkClip2, {m + 12, k + 40, 80, 20}},
          {chkClip3, {m + 96, k + 40, 70, 20}},
          {cmbBossKey, {m + 174, k + 28, colW - 186, 200}, true},
          {fraAltBoss, {r, k, colW, 66}},
          {chkAltB, {r + 8, k, 16, 16}},
          {chkAltBoss0, {r + 12, k + 18, 80, 20}},
          {chkAltBoss1, {r + 96, k + 18, 70, 20}},
          {chkAltBoss2, {r + 12, k + 40, 80, 20}},
          {chkAltBoss3, {r + 96, k + 40, 70, 20}},
          {cmbAltBoss, {r + 174, k + 28, colW - 186, 200}, true},
          {fraBossOptions, {m, o, colW, 102}},
          {chkBossOption0, {m + 12, o + 18, colW - 24, 20}},
          {chkBossOption1, {m + 12, o + 38, colW - 24, 20}},
          {chkBossOption2, {m + 12, o + 58, colW - 24, 20}},
          {fraAltBOptions, {r, o, colW, 102}},
          {chkAltBOption0, {r + 12, o + 18, colW - 24, 20}},
          {chkAltBOption1, {r + 12, o + 38, colW - 24, 20}},
          {chkAltBOption2, {r + 12, o + 58, 190, 20}},
          {lblAltAction, {r + 12, o + 82, 70, 18}},
          {cmdAltBAction, {r + 84, o + 78, colW - 96, 200}, true},
          {frmTasks, {m, t, frame.width - 2 * m, 142}},
          {chkTaskRun, {m + 12, t + 8, 180, 20}},
          {chkLock, {m + 200, t + 8, 240, 20}},
          {grdTasks, {m + 12, t + 32, frame.width - 2 * m - 60, 100}},
          {cmdTaskAdd, {frame.width - m - 40, t + 32, 28, 26}},
          {cmdTaskDel, {frame.width - m - 40, t + 62, 28, 26}},
          {vsUpDown, {frame.width - m - 40, t + 92, 28, 40}},
          {cmdHelp, {m, b, 96, 28}},
          {cmpPower, {m + 104, b, 110, 28}},
          {cmdShowLog, {m + 222, b, 100, 28}},
          {cmdOk, {frame.width - m - 100, b, 100, 28}},
      });
}

}  // namespace kelvane
