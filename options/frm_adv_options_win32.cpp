#include "options/frm_adv_options_win32.h"

#include <commctrl.h>

#include <array>

#include "base/borderless_window_win32.h"
#include "base/child_controls_win32.h"
#include "base/control_ids.h"
#include "base/number_box_win32.h"
#include "base/product.h"
#include "base/system_win32.h"
#include "base/wide_text_win32.h"
#include "base/window_layouts.h"
#include "controls/frame/frame_win32.h"
#include "controls/grid/grid_ctl_win32.h"
#include "tray/window_hook_win32.h"

namespace kelvane {
namespace {

using OptionsChild = ChildControl<OptionsControl>;
using enum OptionsControl;

constexpr DWORD kChild = kChildStyle;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = kChild | BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kNumber = kChild | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD kLabel = kChild | SS_CENTERIMAGE;

// In tab order. An enabling box comes before its frame, so that it stays
// above the frame's caption.
constexpr std::array<OptionsChild, 50> kControls{{
    {fraGeneral, WC_BUTTONW, L"General Options", kGroup},
    {chkStartup, WC_BUTTONW, L"A&utostart", kCheck | WS_GROUP},
    {chkEnabledStart, WC_BUTTONW, L"Start &Enabled", kCheck},
    {chkTrayTips, WC_BUTTONW, L"&Tray Tips", kCheck},
    {chkKeepAwake, WC_BUTTONW, L"&Keep the computer awake until the action", kCheck},
    {chkWakeToAct, WC_BUTTONW, L"&Wake the computer to act", kCheck},
    {chkPromptTimeout, WC_BUTTONW, L"E&xecute if the prompt is not answered within", kCheck},
    {txtPromptTimeout, WC_EDITW, L"120", kNumber},
    {vsPromptTimeout, UPDOWN_CLASSW, L"", kChild},
    {lblPromptSeconds, WC_STATICW, L"seconds", kChild},
    // Each label's mnemonic moves the focus to the box after it.
    {lblQuietNetwork, WC_STATICW, L"Quiet: &network below", kLabel},
    {txtQuietKBps, WC_EDITW, L"50", kNumber},
    {vsQuietKBps, UPDOWN_CLASSW, L"", kChild},
    {lblQuietProcessor, WC_STATICW, L"KB/s, pro&cessor below", kLabel},
    {txtQuietPercent, WC_EDITW, L"10", kNumber},
    {vsQuietPercent, UPDOWN_CLASSW, L"", kChild},
    {lblQuietPercent, WC_STATICW, L"%", kLabel},
    {chkBossKey, WC_BUTTONW, L"", kCheck | WS_GROUP},
    {fraBossKey, WC_BUTTONW, L"      BossKey", kGroup},
    {chkClip0, WC_BUTTONW, L"Control", kCheck},
    {chkClip1, WC_BUTTONW, L"Shift", kCheck},
    {chkClip2, WC_BUTTONW, L"Alt", kCheck},
    {chkClip3, WC_BUTTONW, L"WinKey", kCheck},
    {cmbBossKey, WC_COMBOBOXW, L"", kCombo},
    {chkAltB, WC_BUTTONW, L"", kCheck | WS_GROUP},
    {fraAltBoss, WC_BUTTONW, L"      Alternative BossKey", kGroup},
    {chkAltBoss0, WC_BUTTONW, L"Control", kCheck},
    {chkAltBoss1, WC_BUTTONW, L"Shift", kCheck},
    {chkAltBoss2, WC_BUTTONW, L"Alt", kCheck},
    {chkAltBoss3, WC_BUTTONW, L"WinKey", kCheck},
    {cmbAltBoss, WC_COMBOBOXW, L"", kCombo},
    {fraBossOptions, WC_BUTTONW, L"BossKey Options", kGroup},
    {chkBossOption0, WC_BUTTONW, L"Execute Action on BossKey", kCheck | WS_GROUP},
    {chkBossOption1, WC_BUTTONW, L"Hide/Show All Windows", kCheck},
    {chkBossOption2, WC_BUTTONW, L"Ignore Prompt on BossKey", kCheck},
    {fraAltBOptions, WC_BUTTONW, L"Alternative BossKey Options", kGroup},
    {chkAltBOption0, WC_BUTTONW, L"Run Tasks", kCheck | WS_GROUP},
    {chkAltBOption1, WC_BUTTONW, L"Hide/Show All Windows", kCheck},
    {chkAltBOption2, WC_BUTTONW, L"Ignore Prompt on BossKey", kCheck},
    {lblAltAction, WC_STATICW, L"Alt. Action", kChild},
    {cmdAltBAction, WC_COMBOBOXW, L"", kCombo},
    {chkTaskRun, WC_BUTTONW, L"&Run Task before Action", kCheck | WS_GROUP},
    {chkLock, WC_BUTTONW, L"&Lock Computer (2000/XP/Vista)", kCheck},
    {cmdTaskAdd, WC_BUTTONW, L"+", kButton | WS_GROUP},
    {cmdTaskDel, WC_BUTTONW, L"-", kButton},
    {vsUpDown, UPDOWN_CLASSW, L"", kChild},
    {cmdHelp, WC_BUTTONW, L"&Help", kButton | WS_GROUP},
    {cmpPower, WC_BUTTONW, L"&Power Config", kButton},
    {cmdShowLog, WC_BUTTONW, L"&Show Log", kButton},
    {cmdOk, WC_BUTTONW, L"&OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
}};

// The grid comes in the tab order after the two task boxes.
constexpr std::size_t kControlsBeforeGrid = 43;
static_assert(kControls[kControlsBeforeGrid].id == OptionsControl::cmdTaskAdd);

struct CheckBinding {
  OptionsControl control;
  OptionsCheck check;
};

constexpr std::array<CheckBinding, 16> kChecks{{
    {chkStartup, OptionsCheck::Startup},
    {chkEnabledStart, OptionsCheck::EnabledStart},
    {chkTrayTips, OptionsCheck::TrayTips},
    {chkKeepAwake, OptionsCheck::KeepAwake},
    {chkWakeToAct, OptionsCheck::WakeToAct},
    {chkPromptTimeout, OptionsCheck::PromptTimeout},
    {chkBossKey, OptionsCheck::BossKey},
    {chkAltB, OptionsCheck::AltBossKey},
    {chkBossOption0, OptionsCheck::BossExecute},
    {chkBossOption1, OptionsCheck::BossHide},
    {chkBossOption2, OptionsCheck::BossIgnorePrompt},
    {chkAltBOption0, OptionsCheck::AltRunTasks},
    {chkAltBOption1, OptionsCheck::AltHide},
    {chkAltBOption2, OptionsCheck::AltIgnorePrompt},
    {chkTaskRun, OptionsCheck::TaskRun},
    {chkLock, OptionsCheck::Lock},
}};

struct NumberBinding {
  OptionsControl box;
  OptionsControl spin;
  OptionsNumber number;
};

constexpr std::array<NumberBinding, 3> kNumbers{{
    {txtPromptTimeout, vsPromptTimeout, OptionsNumber::PromptTimeout},
    {txtQuietKBps, vsQuietKBps, OptionsNumber::QuietKBps},
    {txtQuietPercent, vsQuietPercent, OptionsNumber::QuietPercent},
}};

struct ModifierBinding {
  OptionsControl control;
  BossKey key;
  Modifier modifier;
};

constexpr std::array<ModifierBinding, 8> kModifiers{{
    {chkClip0, BossKey::Boss, Modifier::Control},
    {chkClip1, BossKey::Boss, Modifier::Shift},
    {chkClip2, BossKey::Boss, Modifier::Alt},
    {chkClip3, BossKey::Boss, Modifier::Win},
    {chkAltBoss0, BossKey::Alternative, Modifier::Control},
    {chkAltBoss1, BossKey::Alternative, Modifier::Shift},
    {chkAltBoss2, BossKey::Alternative, Modifier::Alt},
    {chkAltBoss3, BossKey::Alternative, Modifier::Win},
}};

template <typename Items>
void FillCombo(HWND combo, const Items& items) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
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

void SetText(HWND control, const std::string& text) {
  const std::wstring wide = Widen(text);
  if (WindowText(control) != wide) SetWindowTextW(control, wide.c_str());
}

class AdvOptionsWindow final : public BorderlessWindow,
                               private OptionsView,
                               private TaskGridControl,
                               private TaskButtonsView,
                               private GridEvents {
 public:
  AdvOptionsWindow(const OptionsServices& services, HICON icon)
      : icon_(icon), grid_(this, hookErrors_), form_(*this, *this, *this, services) {}

  void Run(HWND owner) {
    const int dpi = DpiOf(owner);
    SetDpi(dpi);
    layout_ = OptionsLayout(dpi);
    SetFrame(layout_.frame);
    const POINT at = CenterOnWorkArea(layout_.width, layout_.height, owner);
    // Without WS_CLIPCHILDREN: group boxes leave their inside to the window
    // below them, which must therefore paint there.
    if (!CreateOf(kOptionsWindowClass, WS_EX_CONTROLPARENT, WS_POPUP, kProductNameWide.data(), at.x,
                  at.y, layout_.width, layout_.height, owner, icon_)) {
      return;
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    form_.Open();
    FillLastColumn();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Control(cmdOk));
    RunModalLoop(hwnd(), owner, done_, [this](const MSG& message) { return Filter(message); });
    if (hwnd() != nullptr) DestroyWindow(hwnd());
  }

 private:
  HWND Control(OptionsControl id) const { return GetDlgItem(hwnd(), static_cast<int>(id)); }

  // The command lines are the long texts: their column takes the width the
  // grid has beyond the other two, so no empty band is left on the right.
  void FillLastColumn() {
    GridModel& model = grid_.Model();
    RECT client{};
    if (model.Cols() < kTaskCommandColumn || !GetClientRect(grid_.hwnd(), &client)) return;
    const int others = model.ColWidthPixels(kTaskRunColumn) + model.ColWidthPixels(kTaskNameColumn);
    // The model's widths are at 96 DPI, the client's at the window's DPI.
    const int wanted = MulDiv(client.right, 96, dpi()) - others;
    const int now = model.ColWidthPixels(kTaskCommandColumn);
    if (now > 0 && wanted > now) {
      model.SetColWidth(kTaskCommandColumn, model.ColWidth(kTaskCommandColumn) * static_cast<float>(wanted) / now);
    }
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    switch (message) {
      case WM_CREATE: OnCreate(); return 0;
      case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
      case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      case WM_CLOSE: form_.ApplyAndClose(); return 0;
      case kNumberBoxStep: OnNumberStep(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
      // Owned windows are gone before their owner's WM_DESTROY.
      case WM_DESTROY: (void)tooltip_.release(); return 0;
      default: return BorderlessWindow::OnMessage(message, wParam, lParam);
    }
  }

  SIZE LayOut(int dpi) override {
    SetDpi(dpi);
    layout_ = OptionsLayout(dpi);
    SetFrame(layout_.frame);
    PlaceChildControls<OptionsControl>(hwnd(), kControls, layout_, fonts().normal.get());
    for (const auto& [id, window] : {std::pair{grdTasks, grid_.hwnd()}, std::pair{frmTasks, frame_.hwnd()}}) {
      const Rect r = layout_.at(id);
      SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return {layout_.width, layout_.height};
  }

  void OnCaptionButton(FrameHit button) override {
    // The close image applies, as OK does; only Esc discards.
    if (button == FrameHit::CloseButton) form_.ApplyAndClose();
  }

  void OnCreate() {
    const HFONT font = fonts().normal.get();
    const std::span<const OptionsChild> all(kControls);
    CreateChildControls<OptionsControl>(hwnd(), all.first(kControlsBeforeGrid), layout_, font);
    const Rect gridPlace = layout_.at(grdTasks);
    grid_.Create(hwnd(), static_cast<int>(grdTasks),
                 RECT{gridPlace.left, gridPlace.top, gridPlace.right(), gridPlace.bottom()});
    CreateChildControls<OptionsControl>(hwnd(), all.subspan(kControlsBeforeGrid), layout_, font);
    // The frame goes behind everything in the task area.
    frame_.Create(hwnd(), static_cast<int>(frmTasks), layout_.at(frmTasks));
    for (const NumberBinding& binding : kNumbers) {
      const auto digits = NumberValue(form_.State(), binding.number).MaxLength();
      SendMessageW(Control(binding.box), EM_LIMITTEXT, static_cast<WPARAM>(digits), 0);
      MakeNumberBox(Control(binding.box));
    }
    // The spins rest mid-range: every click is a step the dialog takes.
    for (OptionsControl spin : {vsPromptTimeout, vsQuietKBps, vsQuietPercent, vsUpDown}) {
      SendMessageW(Control(spin), UDM_SETRANGE32, static_cast<WPARAM>(kMoveSpinBottom), kMoveSpinTop);
      SendMessageW(Control(spin), UDM_SETPOS32, 0, kMoveSpinRest);
    }
    AddTooltip(cmdTaskAdd, L"Add Entry and Edit in Grid");
    AddTooltip(cmdTaskDel, L"Delete Entry from Grid");
    // An up-down control sizes itself to its buddy when created; placing
    // every control again gives the spins their width at this DPI.
    LayOut(dpi());
  }

  void AddTooltip(OptionsControl control, const wchar_t* text) {
    if (!tooltip_) {
      tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    }
    if (!tooltip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(control));
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  void OnNumberStep(int box, int delta) {
    for (const NumberBinding& binding : kNumbers) {
      if (static_cast<int>(binding.box) == box) form_.OnNumberStep(binding.number, delta);
    }
  }

  void OnCommand(int id, int code) {
    // Esc closes on its release (see Filter); Enter is the default button.
    if (id == IDCANCEL) return;
    if (id == IDOK) {
      if (!PressFocusedPushButton()) form_.ApplyAndClose();
      return;
    }
    if (updating_) return;
    const auto control = static_cast<OptionsControl>(id);
    const auto checked = [&] { return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    const auto selection = [&] { return static_cast<int>(SendMessageW(Control(control), CB_GETCURSEL, 0, 0)); };
    for (const CheckBinding& binding : kChecks) {
      if (binding.control == control && code == BN_CLICKED) return form_.OnCheck(binding.check, checked());
    }
    for (const ModifierBinding& binding : kModifiers) {
      if (binding.control == control && code == BN_CLICKED) return form_.OnModifier(binding.key, binding.modifier, checked());
    }
    for (const NumberBinding& binding : kNumbers) {
      if (binding.box != control) continue;
      if (code == EN_CHANGE) form_.OnNumberText(binding.number, Narrow(WindowText(Control(control))));
      if (code == EN_KILLFOCUS) form_.OnNumberLeft(binding.number);
      return;
    }
    switch (control) {
      case cmbBossKey: if (code == CBN_SELCHANGE) form_.OnKeySelected(BossKey::Boss, selection()); break;
      case cmbAltBoss: if (code == CBN_SELCHANGE) form_.OnKeySelected(BossKey::Alternative, selection()); break;
      case cmdAltBAction: if (code == CBN_SELCHANGE) form_.OnAltActionSelected(selection()); break;
      case cmdTaskAdd: if (code == BN_CLICKED) form_.Tasks().Add(); break;
      case cmdTaskDel: if (code == BN_CLICKED) form_.Tasks().Delete(); break;
      case cmdHelp: if (code == BN_CLICKED) form_.OnHelp(); break;
      case cmpPower: if (code == BN_CLICKED) form_.OnPowerConfig(); break;
      case cmdShowLog: if (code == BN_CLICKED) form_.OnShowLog(); break;
      case cmdOk: if (code == BN_CLICKED) form_.ApplyAndClose(); break;
      default: break;
    }
  }

  LRESULT OnNotify(const NMHDR& header) {
    if (header.code != UDN_DELTAPOS) return 0;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    const auto control = static_cast<OptionsControl>(header.idFrom);
    for (const NumberBinding& binding : kNumbers) {
      if (binding.spin != control) continue;
      form_.OnNumberStep(binding.number, change.iDelta);
      return TRUE;  // the text holds the value
    }
    if (control == vsUpDown) {
      form_.Tasks().OnMoveSpin(change.iPos + change.iDelta);
      return TRUE;  // the task grid puts the spin back where it rests
    }
    return 0;
  }

  // Every key reaches the dialog before its controls. Esc closes the dialog
  // when it is released, unless it went down to end an edit in the grid.
  // Esc that closes an open drop-down list closes only the list, and a key
  // held down repeats its first press, whatever that closed.
  bool Filter(const MSG& message) {
    if (message.wParam != VK_ESCAPE) return false;
    if (message.message == WM_KEYDOWN) {
      const bool repeat = (message.lParam & (LPARAM{1} << 30)) != 0;
      if (!repeat) escapeDown_ = !grid_.Control().Editing() && !AnyListDropped();
      return false;
    }
    if (message.message == WM_KEYUP && escapeDown_) {
      escapeDown_ = false;
      form_.Discard();
      return true;
    }
    return false;
  }

  bool AnyListDropped() const {
    for (OptionsControl combo : {cmbBossKey, cmbAltBoss, cmdAltBAction}) {
      if (SendMessageW(Control(combo), CB_GETDROPPEDSTATE, 0, 0) != 0) return true;
    }
    return false;
  }

  // OptionsView
  void ShowState(const OptionsState& s) override {
    updating_ = true;
    for (const CheckBinding& binding : kChecks) SetCheck(Control(binding.control), CheckValue(s, binding.check));
    for (const ModifierBinding& binding : kModifiers) {
      const HotKeyFrame& frame = binding.key == BossKey::Boss ? s.boss : s.alt;
      SetCheck(Control(binding.control), frame.modifiers[static_cast<std::size_t>(binding.modifier)]);
    }
    for (OptionsControl combo : {cmbBossKey, cmbAltBoss}) {
      if (SendMessageW(Control(combo), CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(s.keyNames.size())) {
        FillCombo(Control(combo), s.keyNames);
      }
    }
    if (SendMessageW(Control(cmdAltBAction), CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(s.altActions.size())) {
      FillCombo(Control(cmdAltBAction), s.altActions);
    }
    SelectCombo(Control(cmbBossKey), s.boss.keyIndex);
    SelectCombo(Control(cmbAltBoss), s.alt.keyIndex);
    SelectCombo(Control(cmdAltBAction), s.altActionIndex);
    SetText(Control(fraBossKey), s.boss.caption);
    SetText(Control(fraAltBoss), s.alt.caption);
    for (OptionsControl id : {fraBossKey, chkClip0, chkClip1, chkClip2, chkClip3, cmbBossKey}) {
      SetEnabled(Control(id), s.boss.on);
    }
    for (OptionsControl id : {fraAltBoss, chkAltBoss0, chkAltBoss1, chkAltBoss2, chkAltBoss3, cmbAltBoss}) {
      SetEnabled(Control(id), s.alt.on);
    }
    for (const NumberBinding& binding : kNumbers) {
      SetText(Control(binding.box), NumberValue(s, binding.number).text());
    }
    for (OptionsControl id : {txtPromptTimeout, vsPromptTimeout, lblPromptSeconds}) SetEnabled(Control(id), s.promptTimeoutOn);
    updating_ = false;
  }

  void Close() override { done_ = true; }

  // TaskGridControl
  GridModel& Model() override { return grid_.Model(); }
  void SetEditTrigger(std::int32_t trigger) override { SetGridProperty(GridProperty::EditTrigger, trigger); }
  void SetThemeStyle(std::int32_t style) override { SetGridProperty(GridProperty::ThemeStyle, style); }
  void SetFocusRectColor(OleColor color) override { SetGridProperty(GridProperty::FocusRectColor, color); }
  void SetEditable(bool editable) override { grid_.Control().SetProperty(GridProperty::Editable, editable); }
  void SetHotHeaderTracking(bool on) override { grid_.Control().SetProperty(GridProperty::HotHeaderTracking, on); }
  void SetAllowUserResizing(std::int32_t mode) override { SetGridProperty(GridProperty::AllowUserResizing, mode); }
  void SetGridProperty(GridProperty id, std::int64_t value) { grid_.Control().SetProperty(id, value); }
  void EditCell(std::int32_t row, std::int32_t col) override {
    SetFocus(grid_.hwnd());
    grid_.Control().EditCell(row, col);
  }
  void FinishEditing() override { grid_.Control().UpdateCell(); }
  void MakeRowVisible(std::int32_t row) override { grid_.Control().MakeRowVisible(row); }

  // TaskButtonsView
  void EnableAdd(bool enabled) override { SetEnabled(Control(cmdTaskAdd), enabled); }
  void EnableDelete(bool enabled) override { SetEnabled(Control(cmdTaskDel), enabled); }
  void EnableMove(bool enabled) override { SetEnabled(Control(vsUpDown), enabled); }
  void SetMoveSpin(std::int32_t value) override { SendMessageW(Control(vsUpDown), UDM_SETPOS32, 0, value); }
  void Beep() override { MessageBeep(MB_ICONWARNING); }

  // GridEvents
  void RequestEdit(std::int32_t row, std::int32_t col, bool& cancel) override {
    form_.Tasks().OnRequestEdit(row, col, cancel);
  }
  void RequestUpdate(std::int32_t row, std::int32_t col, std::string& newText, bool& cancel) override {
    form_.Tasks().OnRequestUpdate(row, col, newText, cancel);
  }

  HICON icon_;
  EventLogErrorReporter hookErrors_;
  GridCtl grid_;
  OptionsForm form_;
  ShadowFrameWindow frame_;
  WindowLayout<OptionsControl> layout_;
  UniqueWindow tooltip_;
  bool done_ = false;
  bool updating_ = false;
  bool escapeDown_ = false;
};

}  // namespace

void ShowOptionsDialog(HWND owner, HICON icon, const OptionsServices& services) {
  AdvOptionsWindow window(services, icon);
  window.Run(owner);
}

}  // namespace kelvane
