#include "core/frm_main_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>

#include "base/child_controls_win32.h"
#include "base/product.h"
#include "base/wide_text_win32.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 500;

using MainChild = ChildControl<MainControl>;

constexpr DWORD kChild = kChildStyle;
constexpr DWORD kEdit = kChild | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

const std::array<MainChild, 21>& Children() {
  static const std::array<MainChild, 21> controls{{
      {MainControl::lblAction, "lblAction", WC_STATICW, L"Action", kChild | SS_CENTERIMAGE},
      {MainControl::cmbAction, "cmbAction", WC_COMBOBOXW, L"", kCombo | WS_GROUP},
      {MainControl::optIn, "optIn", WC_BUTTONW, L"In", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
      {MainControl::txtPeriod, "txtPeriod", WC_EDITW, L"1", kEdit},
      {MainControl::vsPeriod, "vsPeriod", UPDOWN_CLASSW, L"", kSpin},
      {MainControl::cmbUnit, "cmbUnit", WC_COMBOBOXW, L"", kCombo},
      {MainControl::optAt, "optAt", WC_BUTTONW, L"At", kChild | BS_AUTORADIOBUTTON},
      {MainControl::txtHour, "txtHour", WC_EDITW, L"1", kEdit},
      {MainControl::vsHour, "vsHour", UPDOWN_CLASSW, L"", kSpin},
      {MainControl::txtMin, "txtMin", WC_EDITW, L"00", kEdit},
      {MainControl::vsMin, "vsMin", UPDOWN_CLASSW, L"", kSpin},
      {MainControl::cmbT, "cmbT", WC_COMBOBOXW, L"", kCombo},
      {MainControl::chkPrompt, "chkPrompt", WC_BUTTONW, L"Prompt before Action with snooze option", kCheck | WS_GROUP},
      {MainControl::chkBlink, "chkBlink", WC_BUTTONW, L"Blink before Action", kCheck},
      {MainControl::txtBlink, "txtBlink", WC_EDITW, L"30", kEdit},
      {MainControl::vsBlink, "vsBlink", UPDOWN_CLASSW, L"", kSpin},
      {MainControl::lblSeconds, "lblSeconds", WC_STATICW, L"Seconds", kChild},
      {MainControl::chkForce, "chkForce", WC_BUTTONW, L"Force terminate", kCheck},
      {MainControl::cmdTimer, "cmdTimer", WC_BUTTONW, L"&Enable", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP},
      {MainControl::cmdAdv, "cmdAdv", WC_BUTTONW, L"&Options", kChild | WS_TABSTOP | BS_PUSHBUTTON},
      // Without SS_NOTIFY the label lets clicks through, so it drags the window.
      {MainControl::lblStatus, "lblStatus", WC_STATICW, L"Disabled",
       kChild | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS},
  }};
  return controls;
}

struct FieldBinding {
  MainControl text;
  MainControl spin;
  ScheduleField field;
  int maxLength;
};

constexpr std::array<FieldBinding, 4> kFields{{
    {MainControl::txtPeriod, MainControl::vsPeriod, ScheduleField::Period, 3},
    {MainControl::txtHour, MainControl::vsHour, ScheduleField::Hour, 2},
    {MainControl::txtMin, MainControl::vsMin, ScheduleField::Minute, 2},
    {MainControl::txtBlink, MainControl::vsBlink, ScheduleField::Blink, 3},
}};

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetComboItems(HWND combo, const std::vector<std::string>& items) {
  if (SendMessageW(combo, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size())) return;
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    const std::wstring text = Widen(item);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void SelectCombo(HWND combo, int index) {
  if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != index) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetCheck(HWND button, bool checked) {
  const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
  if (static_cast<WPARAM>(SendMessageW(button, BM_GETCHECK, 0, 0)) != state) SendMessageW(button, BM_SETCHECK, state, 0);
}

void SetEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled ? TRUE : FALSE);
}

}  // namespace

MainWindow::MainWindow(MainServices services, MainWindowParts parts)
    : form_(*this, std::move(services)), parts_(std::move(parts)) {}

MainWindow::~MainWindow() {
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
}

bool MainWindow::Create() {
  dpi_ = DpiOf(nullptr);
  icon_ = CreateArtIcon(ArtKind::AppIcon, GetSystemMetrics(SM_CXICON));
  layout_ = MainWindowLayout(dpi_);
  RECT work{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - layout_.width) / 2;
  const int y = work.top + (work.bottom - work.top - layout_.height) / 2;
  // A tool window keeps the program out of the task bar and Alt+Tab: it
  // lives in the notification area.
  if (!CreateOf(kMainWindowClass, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX,
                kMainWindowTitleWide.data(), x, y, layout_.width, layout_.height, nullptr, icon_.get())) {
    return false;
  }
  form_.Start();
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  return true;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER: if (wParam == kTickTimer) form_.OnTimerTick(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return OnHitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      mouse_.ButtonDown(hwnd(), layout_.frame, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      OnMouseUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE: mouse_.Move(hwnd(), layout_.frame, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSELEAVE: mouse_.Move(hwnd(), layout_.frame, {-1, -1}); return 0;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SETCURSOR:
      if (!waitCursor_) return Default(message, wParam, lParam);
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CLOSE: form_.DoAction(kCloseButton); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: if (wParam != 0) form_.OnUnload(); return 0;
    case WM_DESTROY: destroyed_ = true; form_.OnUnload(); PostQuitMessage(0); return 0;
    default: return Default(message, wParam, lParam);
  }
}

void MainWindow::OnCreate() {
  bodyBrush_.reset(CreateSolidBrush(FrameColors::kBody));
  footerBrush_.reset(CreateSolidBrush(FrameColors::kFooter));
  CreateControls();
  ApplyLayout();
}

void MainWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  CreateChildControls<MainControl>(hwnd(), Children(), layout_, nullptr);
  for (const FieldBinding& field : kFields) {
    SendMessageW(Control(field.text), EM_LIMITTEXT, static_cast<WPARAM>(field.maxLength), 0);
    SendMessageW(Control(field.spin), UDM_SETRANGE32, 0, 2);
    SendMessageW(Control(field.spin), UDM_SETPOS32, 0, 1);
  }
  const std::vector<std::string> units{"Hours", "Minutes", "Seconds"};
  const std::vector<std::string> halves{"AM", "PM"};
  SetComboItems(Control(MainControl::cmbUnit), units);
  SetComboItems(Control(MainControl::cmbT), halves);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance, nullptr);
}

void MainWindow::ApplyLayout() {
  fonts_ = UiFonts::ForDpi(dpi_);
  hiddenIcon_ = CreateArtIcon(ArtKind::TrayHidden, ScaleToDpi(16, dpi_));
  PlaceChildControls<MainControl>(hwnd(), Children(), layout_, fonts_.normal.get());
  if (tooltip_ != nullptr) {
    const Rect& r = layout_.at("ImgShowHidden");
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd();
    tool.uId = 1;
    tool.rect = {r.left, r.top, r.right(), r.bottom()};
    tool.lpszText = const_cast<wchar_t*>(L"Click to Show Hidden Windows");
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (showHidden_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainWindow::OnCommand(int id, int code) {
  if (id == IDCANCEL) {
    form_.OnEscape();
    return;
  }
  if (updating_) return;
  const auto control = static_cast<MainControl>(id);
  for (const FieldBinding& field : kFields) {
    if (field.text == control && code == EN_CHANGE) {
      form_.OnFieldTextChanged(field.field, Narrow(WindowText(Control(control))));
      return;
    }
  }
  const auto selection = [&] { return static_cast<int>(SendMessageW(Control(control), CB_GETCURSEL, 0, 0)); };
  const auto checked = [&] { return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  switch (control) {
    case MainControl::cmbAction: if (code == CBN_SELCHANGE) form_.OnActionSelected(selection()); break;
    case MainControl::cmbUnit: if (code == CBN_SELCHANGE) form_.OnUnitSelected(selection()); break;
    case MainControl::cmbT: if (code == CBN_SELCHANGE) form_.OnHalfDaySelected(selection()); break;
    case MainControl::optIn: if (code == BN_CLICKED) form_.OnModeSelected(true); break;
    case MainControl::optAt: if (code == BN_CLICKED) form_.OnModeSelected(false); break;
    case MainControl::chkPrompt: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Prompt, checked()); break;
    case MainControl::chkBlink: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Blink, checked()); break;
    case MainControl::chkForce: if (code == BN_CLICKED) form_.OnCheckChanged(ScheduleCheck::Force, checked()); break;
    case MainControl::cmdTimer: if (code == BN_CLICKED) form_.OnToggleClicked(); break;
    case MainControl::cmdAdv: if (code == BN_CLICKED) form_.OnOptionsClicked(); break;
    default: break;
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.code != UDN_DELTAPOS) return 0;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  for (const FieldBinding& field : kFields) {
    if (static_cast<UINT_PTR>(field.spin) == header.idFrom) form_.OnFieldSpin(field.field, change.iDelta > 0);
  }
  return TRUE;  // The spin itself never moves; the text holds the value.
}

void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd(), &paint);
  PaintWindow(hwnd(), dc, layout_.frame, dpi_, mouse_.state(), fonts_.title.get());
  if (showHidden_ && hiddenIcon_) {
    const Rect& r = layout_.at("ImgShowHidden");
    DrawIconEx(dc, r.left, r.top, hiddenIcon_.get(), r.width, r.height, 0, nullptr, DI_NORMAL);
  }
  EndPaint(hwnd(), &paint);
}

LRESULT MainWindow::OnHitTest(POINT screen) {
  const Rect& picture = layout_.at("ImgShowHidden");
  return mouse_.HitTest(hwnd(), layout_.frame, screen, showHidden_ ? &picture : nullptr);
}

void MainWindow::OnMouseUp(POINT client) {
  const FrameHit completed = mouse_.ButtonUp(hwnd(), layout_.frame, client);
  if (completed == FrameHit::CloseButton) form_.DoAction(kCloseButton);
  if (completed == FrameHit::MinimizeButton) form_.DoAction(kMinimizeButton);
  if (showHidden_ && layout_.at("ImgShowHidden").Contains(client.x, client.y)) form_.OnShowHiddenClicked();
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  layout_ = MainWindowLayout(dpi_);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, layout_.width, layout_.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyLayout();
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
  if (control == Control(MainControl::lblStatus)) {
    SetTextColor(dc, FrameColors::kFooterText);
    SetBkColor(dc, FrameColors::kFooter);
    return reinterpret_cast<LRESULT>(footerBrush_.get());
  }
  SetBkColor(dc, FrameColors::kBody);
  return reinterpret_cast<LRESULT>(bodyBrush_.get());
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
  SetComboItems(Control(MainControl::cmbAction), controls.actionItems);
  SelectCombo(Control(MainControl::cmbAction), controls.actionIndex);
  SetCheck(Control(MainControl::optIn), controls.countdownMode);
  SetCheck(Control(MainControl::optAt), !controls.countdownMode);
  SetControlText(MainControl::txtPeriod, controls.period.text());
  SelectCombo(Control(MainControl::cmbUnit), controls.unitIndex);
  SetControlText(MainControl::txtHour, controls.hour.text());
  SetControlText(MainControl::txtMin, controls.minute.text());
  SelectCombo(Control(MainControl::cmbT), controls.halfDayIndex);
  SetCheck(Control(MainControl::chkPrompt), controls.prompt);
  SetCheck(Control(MainControl::chkBlink), controls.blink);
  SetControlText(MainControl::txtBlink, controls.blinkSeconds.text());
  SetCheck(Control(MainControl::chkForce), controls.force);
  for (MainControl id : {MainControl::txtPeriod, MainControl::vsPeriod, MainControl::cmbUnit}) {
    SetEnabled(Control(id), enabling.period);
  }
  for (MainControl id : {MainControl::txtHour, MainControl::vsHour, MainControl::txtMin, MainControl::vsMin,
                         MainControl::cmbT}) {
    SetEnabled(Control(id), enabling.clock);
  }
  SetEnabled(Control(MainControl::txtBlink), enabling.blink);
  SetEnabled(Control(MainControl::vsBlink), enabling.blink);
  updating_ = false;
}

void MainWindow::SetStatus(const std::string& text) { SetControlText(MainControl::lblStatus, text); }

void MainWindow::SetToggleCaption(const std::string& caption) {
  SetWindowTextW(Control(MainControl::cmdTimer), Widen(caption).c_str());
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

void MainWindow::SetMenuEnabledCheck(bool checked) {
  if (parts_.setMenuEnabledCheck) parts_.setMenuEnabledCheck(checked);
}

void MainWindow::SetShowHiddenPicture(bool shown) {
  if (shown == showHidden_) return;
  showHidden_ = shown;
  ApplyLayout();
}

void MainWindow::SetVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

void MainWindow::BringToFront() { SetForegroundWindow(hwnd()); }

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

PromptAnswer MainWindow::RunPrompt(const std::string& actionName) {
  if (!parts_.prompt) return {PromptResult::Execute, 0};
  return parts_.prompt(hwnd(), actionName, icon_.get());
}

void MainWindow::RunOptionsDialog() {
  if (parts_.optionsDialog) parts_.optionsDialog(hwnd());
}

TrayMenuCommand MainWindow::RunTrayMenu() { return parts_.trayMenu ? parts_.trayMenu(hwnd()) : TrayMenuCommand::None; }

void MainWindow::RunAboutBox() {
  if (parts_.aboutBox) parts_.aboutBox(hwnd());
}

void MainWindow::CloseAboutBox() {
  if (parts_.closeAboutBox) parts_.closeAboutBox();
}

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
