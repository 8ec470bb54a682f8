#pragma once
// Window classes and control identifiers of the program's windows; the
// end-to-end tests find controls by them.

namespace kelvane {

inline constexpr const wchar_t* kMainWindowClass = L"KelvaneMain";
inline constexpr const wchar_t* kPromptWindowClass = L"KelvanePrompt";
inline constexpr const wchar_t* kAboutWindowClass = L"KelvaneAbout";
// The registered message by which a second start asks the running program
// to show its main window.
inline constexpr const wchar_t* kShowRequestMessage = L"Kelvane.ShowMainWindow";
// The object whose existence tells that the program runs in this session.
inline constexpr const wchar_t* kInstanceName = L"Local\\Kelvane.Instance";
// WM_COPYDATA tags: a second start's arguments (each ending in a NUL) to the
// running program, and the running program's answer, as UTF-8 text.
inline constexpr unsigned kCommandLineData = 0x4B4C4301;
inline constexpr unsigned kCommandReplyData = 0x4B4C5201;

enum class MainControl : int {
  lblAction = 100,
  cmbAction,
  optIn,
  txtPeriod,
  vsPeriod,
  cmbUnit,
  optAt,
  txtHour,
  vsHour,
  txtMin,
  vsMin,
  cmbT,
  lblRepeat,
  chkRepeat0,  // Monday; the six days after it follow in order
  chkRepeat1,
  chkRepeat2,
  chkRepeat3,
  chkRepeat4,
  chkRepeat5,
  chkRepeat6,
  optWhen,
  cmbCondition,
  txtCondMinutes,
  vsCondMinutes,
  lblCondMinutes,
  cmbProgram,
  chkPrompt,
  chkBlink,
  txtBlink,
  vsBlink,
  lblSeconds,
  chkForce,
  cmdTimer,
  cmdAdv,
  lblStatus,
  // Not a control: the picture drawn beside the status line while windows are hidden.
  imgShowHidden,
};

enum class PromptControl : int {
  lblAction = 200,
  Label1,
  Label2,
  Label3,
  Label4,
  txtSnooz,
  vsBlink,
  lblSnoozMin,
  cmdAbort,
  cmdExecute,
  cmdSnooz,
  lblCountdown,
  // Not a control: the picture drawn left of the texts.
  picture,
};

inline constexpr const wchar_t* kOptionsWindowClass = L"KelvaneOptions";

enum class OptionsControl : int {
  fraGeneral = 300,
  chkStartup,
  chkEnabledStart,
  chkTrayTips,
  chkKeepAwake,
  chkWakeToAct,
  chkPromptTimeout,
  txtPromptTimeout,
  vsPromptTimeout,
  lblPromptSeconds,
  lblQuietNetwork,
  txtQuietKBps,
  vsQuietKBps,
  lblQuietProcessor,
  txtQuietPercent,
  vsQuietPercent,
  lblQuietPercent,
  fraBossKey,
  chkBossKey,
  chkClip0,
  chkClip1,
  chkClip2,
  chkClip3,
  cmbBossKey,
  fraAltBoss,
  chkAltB,
  chkAltBoss0,
  chkAltBoss1,
  chkAltBoss2,
  chkAltBoss3,
  cmbAltBoss,
  fraBossOptions,
  chkBossOption0,
  chkBossOption1,
  chkBossOption2,
  fraAltBOptions,
  chkAltBOption0,
  chkAltBOption1,
  chkAltBOption2,
  lblAltAction,
  cmdAltBAction,
  frmTasks,
  chkTaskRun,
  chkLock,
  grdTasks,
  cmdTaskAdd,
  cmdTaskDel,
  vsUpDown,
  cmdHelp,
  cmpPower,
  cmdShowLog,
  cmdOk,
};

enum class AboutControl : int {
  Label1 = 1000,  // the product name
  lblVersion,
  PicUrl,  // the link
  LblUrl,  // the link's address
  lblNotice,
  lblCopyright,
  cmdClose,
  // Not a control: the picture drawn left of the texts.
  Image1,
};

}  // namespace kelvane
