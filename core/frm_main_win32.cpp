#include "core/frm_main_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <optional>

#include "base/child_controls_win32.h"
#include "base/number_box_win32.h"
#include "base/system_win32.h"
#include "base/window_layouts.h"
#include "base/product.h"
#include "base/wide_text_win32.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kDeadlineTimer = 2;
constexpr UINT kTickMilliseconds = 500;

using MainChild = ChildControl<MainControl>;

constexpr DWORD kChild = kChildStyle;
constexpr DWORD kEdit = kChild | WS_TABSTOP | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL;
// The sunken edge a dialog gives its edit boxes.
constexpr DWORD kEditEx = WS_EX_CLIENTEDGE;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

constexpr std::array<MainChild, 35> kChildren{{
    {MainControl::lblAction, WC_STATICW, L"Action", kChild | SS_CENTERIMAGE},
    {MainControl::cmbAction, WC_COMBOBOXW, L"", kCombo | WS_GROUP},
    {MainControl::optIn, WC_BUTTONW, L"In", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
    {MainControl::txtPeriod, WC_EDITW, L"1", kEdit, kEditEx},
    {MainControl::vsPeriod, UPDOWN_CLASSW, L"", kSpin},
    {MainControl::cmbUnit, WC_COMBOBOXW, L"", kCombo},
    {MainControl::optAt, WC_BUTTONW, L"At", kChild | BS_AUTORADIOBUTTON},
    {MainControl::txtHour, WC_EDITW, L"1", kEdit, kEditEx},
    {MainControl::vsHour, UPDOWN_CLASSW, L"", kSpin},
    {MainControl::txtMin, WC_EDITW, L"00", kEdit, kEditEx},
    {MainControl::vsMin, UPDOWN_CLASSW, L"", kSpin},
    {MainControl::cmbT, WC_COMBOBOXW, L"", kCombo},
    {MainControl::lblRepeat, WC_STATICW, L"Repeat", kChild | SS_CENTERIMAGE},
    // A day's initial: the row has room for no more, and the order is the week's.
    {MainControl::chkRepeat0, WC_BUTTONW, L"M", kCheck | WS_GROUP},
    {MainControl::chkRepeat1, WC_BUTTONW, L"T", kCheck},
    {MainControl::chkRepeat2, WC_BUTTONW, L"W", kCheck},
    {MainControl::chkRepeat3, WC_BUTTONW, L"T", kCheck},
    {MainControl::chkRepeat4, WC_BUTTONW, L"F", kCheck},
    {MainControl::chkRepeat5, WC_BUTTONW, L"S", kCheck},
    {MainControl::chkRepeat6, WC_BUTTONW, L"S", kCheck},
    {MainControl::optWhen, WC_BUTTONW, L"When", kChild | WS_GROUP | BS_AUTORADIOBUTTON},
    {MainControl::cmbCondition, WC_COMBOBOXW, L"", kCombo},
    {MainControl::txtCondMinutes, WC_EDITW, L"10", kEdit, kEditEx},
    {MainControl::vsCondMinutes, UPDOWN_CLASSW, L"", kSpin},
    {MainControl::lblCondMinutes, WC_STATICW, L"min", kChild | SS_CENTERIMAGE},
    // Typed into as well: a program that has no window yet.
    {MainControl::cmbProgram, WC_COMBOBOXW, L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL},
    {MainControl::chkPrompt, WC_BUTTONW, L"Prompt before Action with snooze option", kCheck | WS_GROUP},
    {MainControl::chkBlink, WC_BUTTONW, L"Blink before Action", kCheck},
    {MainControl::txtBlink, WC_EDITW, L"30", kEdit, kEditEx},
    {MainControl::vsBlink, UPDOWN_CLASSW, L"", kSpin},
    {MainControl::lblSeconds, WC_STATICW, L"Seconds", kChild | SS_CENTERIMAGE},
    {MainControl::chkForce, WC_BUTTONW, L"Force terminate", kCheck},
    {MainControl::cmdTimer, WC_BUTTONW, L"&Enable", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP},
    {MainControl::cmdAdv, WC_BUTTONW, L"&Options", kChild | WS_TABSTOP | BS_PUSHBUTTON},
    // Without SS_NOTIFY the label lets clicks through, so it drags the window.
    {MainControl::lblStatus, WC_STATICW, L"Disabled",
     kChild | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS},
}};

// The handles of the controls are kept in this order, looked up by id.
static_assert([] {
  for (std::size_t i = 0; i < kChildren.size(); ++i) {
    if (static_cast<std::size_t>(kChildren[i].id) != static_cast<std::size_t>(MainControl::lblAction) + i) return false;
  }
  return kChildren.size() == static_cast<std::size_t>(MainControl::imgShowHidden) -
                                 static_cast<std::size_t>(MainControl::lblAction);
}());

const std::array<MainChild, 35>& Children() { return kChildren; }

struct FieldBinding {
  MainControl text;
  MainControl spin;
  ScheduleField field;
  int maxLength;
};

constexpr std::array<FieldBinding, 5> kFields{{
    {MainControl::txtPeriod, MainControl::vsPeriod, ScheduleField::Period, 3},
    {MainControl::txtHour, MainControl::vsHour, ScheduleField::Hour, 2},
    {MainControl::txtMin, MainControl::vsMin, ScheduleField::Minute, 2},
    {MainControl::txtBlink, MainControl::vsBlink, ScheduleField::Blink, 3},
    {MainControl::txtCondMinutes, MainControl::vsCondMinutes, ScheduleField::ConditionMinutes, 3},
}};

template <typename Items>
void SetComboItems(HWND combo, const Items& items) {
  if (SendMessageW(combo, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size())) return;
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
    const std::wstring text = Widen(item);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

template <typename Enum>
void SelectCombo(HWND combo, Enum value) {
  const auto index = static_cast<LRESULT>(value);
  if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != index) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetCheck(HWND button, bool checked) {
  const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
  if (static_cast<WPARAM>(SendMessageW(button, BM_GETCHECK, 0, 0)) != state) SendMessageW(button, BM_SETCHECK, state, 0);
}

void SetEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled ? TRUE : FALSE);
}

// Whether `enabling` enables the control; nullopt for the labels and
// buttons that no schedule state disables.
std::optional<bool> EnabledIn(MainControl id, const ControlEnabling& enabling) {
  using enum MainControl;
  switch (id) {
    case cmbAction: case optIn: case optAt: case optWhen: case chkPrompt: case chkBlink: case chkForce:
      return enabling.choices;
    case txtPeriod: case vsPeriod: case cmbUnit: return enabling.period;
    case txtHour: case vsHour: case txtMin: case vsMin: case cmbT: return enabling.clock;
    case txtBlink: case vsBlink: return enabling.blink;
    case chkRepeat0: case chkRepeat1: case chkRepeat2: case chkRepeat3: case chkRepeat4: case chkRepeat5:
    case chkRepeat6: return enabling.repeat;
    case cmbCondition: case txtCondMinutes: case vsCondMinutes: case lblCondMinutes: case cmbProgram:
      return enabling.condition;
    default: return std::nullopt;
  }
}

// By the control's own style: IsWindowVisible answers false for every
// control while the window itself is still hidden.
void SetShown(HWND control, bool shown) {
  const bool visible = (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != shown) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

MainWindow::MainWindow(MainServices services, frmMain1& trayForm, frmAbout& about)
    : dialogs_(*this, trayForm, about), form_(*this, dialogs_, std::move(services)) {}

bool MainWindow::Create() {
  showRequest_ = RegisterWindowMessageW(kShowRequestMessage);
  // It opens on the primary monitor, at that monitor's scale.
  const int dpi = MonitorDpi();
  icon_ = CreateArtIcon(ArtKind::AppIcon, GetSystemMetrics(SM_CXICON));
  layout_ = MainWindowLayout(dpi);
  SetDpi(dpi);
  SetFrame(layout_.frame);
  const POINT at = CenterOnWorkArea(layout_.width, layout_.height);
  // A tool window keeps the program out of the task bar and Alt+Tab: it
  // lives in the notification area.
  if (!CreateOf(kMainWindowClass, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX,
                kMainWindowTitleWide.data(), at.x, at.y, layout_.width, layout_.height, nullptr, icon_.get())) {
    return false;
  }
  form_.Start();
  ShowWindow(hwnd(), SW_SHOW);
  // The action list first: a stray space bar there changes nothing.
  SetFocus(Control(MainControl::cmbAction));
  UpdateWindow(hwnd());
  return true;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_TIMECHANGE: form_.OnClockChanged(); return 0;
    case WM_POWERBROADCAST: OnPowerBroadcast(wParam); return TRUE;
    case kNumberBoxStep: OnNumberBoxStep(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case WM_SETCURSOR:
      if (!waitCursor_) return Default(message, wParam, lParam);
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CLOSE: form_.DoAction(CaptionButton::Close); return 0;
    case WM_QUERYENDSESSION: form_.OnQueryEndSession((lParam & ENDSESSION_CLOSEAPP) != 0); return TRUE;
    case WM_ENDSESSION: if (wParam != 0) form_.OnEndSession(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<HWND>(wParam), *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    default:
      if (message == showRequest_ && showRequest_ != 0) {
        form_.OnShowRequest();
        return 0;
      }
      return BorderlessWindow::OnMessage(message, wParam, lParam);
  }
}

void MainWindow::OnTimer(WPARAM id) {
  if (id == kTickTimer) form_.OnTimerTick();
  if (id == kDeadlineTimer) {
    KillTimer(hwnd(), kDeadlineTimer);
    form_.OnDeadlineTimer();
  }
}

LRESULT MainWindow::OnCopyData(HWND sender, const COPYDATASTRUCT& data) {
  if (data.dwData != kCommandLineData) return FALSE;
  // Any program may send this; the arguments are parsed here again.
  const std::string_view packed(static_cast<const char*>(data.lpData), data.lpData != nullptr ? data.cbData : 0);
  const std::optional<Command> command = ParseCommandLine(UnpackArguments(packed));
  const MainForm::CommandReply reply =
      command ? form_.ApplyCommand(*command) : MainForm::CommandReply{kExitUsage, UsageText()};
  if (sender != nullptr && IsWindow(sender)) {
    COPYDATASTRUCT answer{kCommandReplyData, static_cast<DWORD>(reply.text.size()),
                          const_cast<char*>(reply.text.data())};
    DWORD_PTR ignored = 0;
    // The sender waits in its own send and takes this one meanwhile; a
    // sender that has gone or hangs costs no more than the time-out.
    SendMessageTimeoutW(sender, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd()), reinterpret_cast<LPARAM>(&answer),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  return reply.exitCode + 1;
}

void MainWindow::OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) form_.OnResume();
}

void MainWindow::OnCreate() {
  footerBrush_.reset(CreateSolidBrush(FrameColors::kFooter));
  // Made as the schedule's defaults enable them: a start with the defaults
  // then disables none, each of which costs calls to the window server
  // under Wine, and another start changes only what differs.
  std::array<MainChild, kChildren.size()> children = kChildren;
  const ControlEnabling defaults = EnablingFor(ScheduleControls{}, false);
  for (MainChild& child : children) {
    if (EnabledIn(child.id, defaults) == false) child.style |= WS_DISABLED;
  }
  layout_ = CreateMeasuredChildControls<MainControl>(
      hwnd(), children, MainControl::cmbAction, fonts().normal.get(),
      [this](int boxHeight) { return MainWindowLayout(dpi(), boxHeight); }, controls_);
  SetFrame(layout_.frame);
  for (const FieldBinding& field : kFields) {
    MakeNumberBox(Control(field.text));
    SendMessageW(Control(field.text), EM_LIMITTEXT, static_cast<WPARAM>(field.maxLength), 0);
    SendMessageW(Control(field.spin), UDM_SETRANGE32, 0, 2);
    SendMessageW(Control(field.spin), UDM_SETPOS32, 0, 1);
  }
  SetComboItems(Control(MainControl::cmbUnit), kCountdownUnitNames);
  SetComboItems(Control(MainControl::cmbT), kHalfDayNames);
  SetComboItems(Control(MainControl::cmbCondition), kConditionNames);
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
}

void MainWindow::OnDestroy() {
  // Owned windows are destroyed before their owner's WM_DESTROY arrives; the
  // tooltip's handle is stale by now and must not be destroyed again.
  (void)tooltip_.release();
  runningMark_.reset();
  destroyed_ = true;
  form_.OnUnload();
  // The children go after this message; their handles must not outlive them.
  controls_.fill(nullptr);
  PostQuitMessage(0);
}

HWND MainWindow::Control(MainControl id) const {
  const auto index = static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(MainControl::lblAction));
  return index < controls_.size() ? controls_[index] : nullptr;
}

SIZE MainWindow::LayOut(int dpi) {
  SetDpi(dpi);
  layout_ = MainWindowLayout(dpi, DropDownBoxHeight(hwnd(), fonts().normal.get()));
  SetFrame(layout_.frame);
  // Drawn again at the new size when next shown.
  hiddenIcon_.reset();
  PlaceChildControls<MainControl>(hwnd(), Children(), layout_, fonts().normal.get());
  // The lists drop wider than their boxes: the longer conditions' names in
  // full, and the windows' titles beside the programs.
  SendMessageW(Control(MainControl::cmbCondition), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(ScaleToDpi(170, dpi)), 0);
  SendMessageW(Control(MainControl::cmbProgram), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(ScaleToDpi(320, dpi)), 0);
  UpdateTooltip();
  InvalidateRect(hwnd(), nullptr, TRUE);
  return {layout_.width, layout_.height};
}

void MainWindow::UpdateTooltip() {
  if (!tooltip_) return;
  const Rect r = layout_.at(MainControl::imgShowHidden);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  // The tooltip watches the window's mouse messages itself.
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = 1;
  tool.rect = {r.left, r.top, r.right(), r.bottom()};
  tool.lpszText = const_cast<wchar_t*>(L"Click to Show Hidden Windows");
  SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (showHidden_) SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::OnCommand(int id, int code) {
  if (id == IDCANCEL) {
    form_.OnEscape();
    return;
  }
  // Enter in a box: the dialog manager asks for the default button, which a
  // plain window does not name, and sends IDOK.
  if (id == IDOK) {
    if (!PressFocusedPushButton()) form_.OnEnterKey();
    return;
  }
  if (updating_) return;
  const auto control = static_cast<MainControl>(id);
  const int day = id - static_cast<int>(MainControl::chkRepeat0);
  if (day >= 0 && day < 7) {
    if (code == BN_CLICKED) form_.OnRepeatDayChanged(day, SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED);
    return;
  }
  for (const FieldBinding& field : kFields) {
    if (field.text != control) continue;
    if (code == EN_CHANGE) form_.OnFieldTextChanged(field.field, Narrow(WindowText(Control(control))));
    if (code == EN_KILLFOCUS) form_.OnFieldLeft(field.field);
    return;
  }
  const auto selection = [&] { return static_cast<int>(SendMessageW(Control(control), CB_GETCURSEL, 0, 0)); };
  const auto checked = [&] { return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  switch (control) {
    case MainControl::cmbAction: if (code == CBN_SELCHANGE) form_.OnActionSelected(selection()); break;
    case MainControl::cmbUnit: if (code == CBN_SELCHANGE) form_.OnUnitSelected(selection()); break;
    case MainControl::cmbT: if (code == CBN_SELCHANGE) form_.OnHalfDaySelected(selection()); break;
    case MainControl::optIn: if (code == BN_CLICKED) form_.OnModeSelected(true); break;
    case MainControl::optAt: if (code == BN_CLICKED) form_.OnModeSelected(false); break;
    case MainControl::optWhen: if (code == BN_CLICKED) form_.OnConditionModeSelected(); break;
    case MainControl::cmbCondition: if (code == CBN_SELCHANGE) form_.OnConditionSelected(selection()); break;
    case MainControl::cmbProgram: OnProgramList(code); break;
    case MainControl::chkPrompt: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Prompt, checked()); break;
    case MainControl::chkBlink: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Blink, checked()); break;
    case MainControl::chkForce: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Force, checked()); break;
    case MainControl::cmdTimer: if (code == BN_CLICKED) form_.OnToggleClicked(); break;
    case MainControl::cmdAdv: if (code == BN_CLICKED) form_.OnOptionsClicked(); break;
    default: break;
  }
}

void MainWindow::OnProgramList(int code) {
  const HWND list = Control(MainControl::cmbProgram);
  if (code == CBN_DROPDOWN) form_.OnProgramListOpening();
  if (code == CBN_EDITCHANGE) form_.OnConditionProgramChanged(Narrow(WindowText(list)));
  if (code != CBN_SELCHANGE) return;
  // The box shows the chosen item only after this notification.
  const auto item = SendMessageW(list, CB_GETCURSEL, 0, 0);
  const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
  if (item < 0 || length < 0) return;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  form_.OnConditionProgramChanged(Narrow(text));
}

void MainWindow::SetProgramItems(const std::vector<std::string>& items) {
  const HWND list = Control(MainControl::cmbProgram);
  // Emptying the list keeps what the box shows.
  const std::wstring typed = WindowText(list);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  }
  SetWindowTextW(list, typed.c_str());
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.code != UDN_DELTAPOS) return 0;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  // With the range set from low to high, the up arrow's delta is positive.
  for (const FieldBinding& field : kFields) {
    if (static_cast<UINT_PTR>(field.spin) == header.idFrom) form_.OnFieldStep(field.field, change.iDelta);
  }
  return TRUE;  // The spin itself never moves; the text holds the value.
}

void MainWindow::OnNumberBoxStep(int id, int delta) {
  if (updating_) return;
  for (const FieldBinding& field : kFields) {
    if (static_cast<int>(field.text) == id) form_.OnFieldStep(field.field, delta);
  }
}

void MainWindow::PaintBody(HDC dc) {
  if (!showHidden_) return;
  // Drawn when first shown: most runs never hide a window.
  if (!hiddenIcon_) hiddenIcon_ = CreateArtIcon(ArtKind::TrayHidden, ScaleToDpi(16, dpi()));
  if (!hiddenIcon_) return;
  const Rect r = layout_.at(MainControl::imgShowHidden);
  DrawIconEx(dc, r.left, r.top, hiddenIcon_.get(), r.width, r.height, 0, nullptr, DI_NORMAL);
}

std::optional<Rect> MainWindow::ClickableInFrame() const {
  if (!showHidden_) return std::nullopt;
  return layout_.at(MainControl::imgShowHidden);
}

void MainWindow::OnCaptionButton(FrameHit button) {
  if (button == FrameHit::CloseButton) form_.DoAction(CaptionButton::Close);
  if (button == FrameHit::MinimizeButton) form_.DoAction(CaptionButton::Minimize);
}

void MainWindow::OnBodyRelease(POINT client) {
  if (showHidden_ && layout_.at(MainControl::imgShowHidden).Contains(client.x, client.y)) form_.OnShowHiddenClicked();
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
  if (control != Control(MainControl::lblStatus)) return BorderlessWindow::OnControlColor(dc, control);
  SetTextColor(dc, FrameColors::kFooterText);
  SetBkColor(dc, FrameColors::kFooter);
  return reinterpret_cast<LRESULT>(footerBrush_.get());
}

void MainWindow::SetControlText(MainControl id, const std::string& text) {
  const HWND control = Control(id);
  const std::wstring wide = Widen(text);
  if (WindowText(control) == wide) return;
  SetWindowTextW(control, wide.c_str());
  const auto end = static_cast<LPARAM>(wide.size());
  SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void MainWindow::ShowControls(const ScheduleControls& controls, const ControlEnabling& enabling) {
  updating_ = true;
  const HWND focus = GetFocus();
  SetComboItems(Control(MainControl::cmbAction), controls.ActionItems());
  SelectCombo(Control(MainControl::cmbAction), controls.action);
  SetCheck(Control(MainControl::optIn), controls.countdownMode && !controls.conditionMode);
  SetCheck(Control(MainControl::optAt), !controls.countdownMode && !controls.conditionMode);
  SetCheck(Control(MainControl::optWhen), controls.conditionMode);
  for (int day = 0; day < 7; ++day) {
    const HWND box = Control(static_cast<MainControl>(static_cast<int>(MainControl::chkRepeat0) + day));
    SetCheck(box, (controls.repeatDays & (1 << day)) != 0);
  }
  SelectCombo(Control(MainControl::cmbCondition), controls.condition);
  SetControlText(MainControl::txtCondMinutes, controls.conditionMinutes.text());
  // The box keeps an item's title as chosen; it is replaced only when it
  // names another program.
  const HWND program = Control(MainControl::cmbProgram);
  if (ExecutableOf(Narrow(WindowText(program))) != controls.conditionProgram) {
    // Into the box's edit itself: Wine's drop-down box drops a text given
    // to it that no item of its list matches.
    const HWND edit = FindWindowExW(program, nullptr, WC_EDITW, nullptr);
    SetWindowTextW(edit != nullptr ? edit : program, Widen(controls.conditionProgram).c_str());
  }
  const bool minutes = controls.condition != ConditionKind::ProgramEnds;
  for (MainControl id : {MainControl::txtCondMinutes, MainControl::vsCondMinutes, MainControl::lblCondMinutes}) {
    SetShown(Control(id), minutes);
  }
  SetShown(program, !minutes);
  SetControlText(MainControl::txtPeriod, controls.period.text());
  SelectCombo(Control(MainControl::cmbUnit), controls.unit);
  SetControlText(MainControl::txtHour, controls.hour.text());
  SetControlText(MainControl::txtMin, controls.minute.text());
  SelectCombo(Control(MainControl::cmbT), controls.halfDay);
  SetCheck(Control(MainControl::chkPrompt), controls.prompt);
  SetCheck(Control(MainControl::chkBlink), controls.blink);
  SetControlText(MainControl::txtBlink, controls.blinkSeconds.text());
  SetCheck(Control(MainControl::chkForce), controls.force);
  for (const MainChild& child : kChildren) {
    if (const std::optional<bool> enabled = EnabledIn(child.id, enabling)) SetEnabled(Control(child.id), *enabled);
  }
  // A control that is disabled loses the focus to nothing; the keyboard
  // goes on from the button that arms and disarms.
  if (focus != nullptr && IsChild(hwnd(), focus) && !IsWindowEnabled(focus)) {
    SetFocus(Control(MainControl::cmdTimer));
  }
  updating_ = false;
}

void MainWindow::SetStatus(const std::string& text) { SetControlText(MainControl::lblStatus, text); }

void MainWindow::SetToggleCaption(const std::string& caption) {
  SetWindowTextW(Control(MainControl::cmdTimer), Widen(caption).c_str());
}

void MainWindow::StartDeadlineTimer(std::chrono::milliseconds delay) {
  // SetTimer waits at least the time asked for, in steps of the system's
  // timer; the schedule asks again for what is left if it woke too soon.
  SetTimer(hwnd(), kDeadlineTimer, static_cast<UINT>(std::max<long long>(delay.count(), USER_TIMER_MINIMUM)), nullptr);
}

void MainWindow::SetTimerRunning(bool running) {
  if (running == timerRunning_) return;
  timerRunning_ = running;
  if (running) {
    SetTimer(hwnd(), kTickTimer, kTickMilliseconds, nullptr);
  } else {
    KillTimer(hwnd(), kTickTimer);
  }
}

void MainWindow::SetShowHiddenPicture(bool shown) {
  if (shown == showHidden_) return;
  showHidden_ = shown;
  UpdateTooltip();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void MainWindow::SetVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

// While the prompt (or another modal window of the program) is open, the main
// window is disabled; bringing it forward would leave the keys going nowhere,
// so the window in front of it comes forward instead, as Windows does when a
// disabled owner is clicked.
void MainWindow::BringToFront() {
  SetForegroundWindow(IsWindowEnabled(hwnd()) ? hwnd() : GetLastActivePopup(hwnd()));
}

void MainWindow::SetWaitCursor(bool wait) {
  waitCursor_ = wait;
  SetCursor(LoadCursorW(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

bool MainWindow::AskQuit() {
  const std::wstring question = L"Do you want to quit " + std::wstring(kProductNameWide) + L"?";
  return MessageBoxW(hwnd(), question.c_str(), kProductNameWide.data(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void MainWindow::ShowMessage(const std::string& text) {
  MessageBoxW(hwnd(), Widen(text).c_str(), kProductNameWide.data(), MB_OK);
}

void MainWindow::SignalInvalidInput() { MessageBeep(MB_ICONWARNING); }

void MainWindow::ProcessPendingMessages() { kelvane::ProcessPendingMessages(); }

void MainWindow::Unload() {
  if (!destroyed_ && hwnd() != nullptr) DestroyWindow(hwnd());
}

void MainWindow::EndProcess() {
  // Every other window of the program goes with the main one.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        DestroyWindow(window);
        return TRUE;
      },
      0);
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  PostQuitMessage(0);
}

}  // namespace kelvane
