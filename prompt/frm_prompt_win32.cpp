#include "prompt/frm_prompt_win32.h"

#include <commctrl.h>

#include <array>

#include "base/borderless_window_win32.h"
#include "base/child_controls_win32.h"
#include "base/control_ids.h"
#include "base/number_box_win32.h"
#include "base/product.h"
#include "base/system_time_win32.h"
#include "base/system_win32.h"
#include "base/wide_text_win32.h"
#include "base/window_layouts.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

using PromptChild = ChildControl<PromptControl>;

constexpr DWORD kChild = kChildStyle;

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownStepMs = 200;

const std::array<PromptChild, 12>& Controls() {
  static const std::array<PromptChild, 12> controls{{
      {PromptControl::lblAction, WC_STATICW, L"Shutdown", kChild | SS_NOPREFIX},
      {PromptControl::Label1, WC_STATICW, L"Select Execute to perform the action", kChild},
      {PromptControl::Label3, WC_STATICW, L"Select Abort to disable the action", kChild},
      {PromptControl::Label2, WC_STATICW, L"Select Snooze to delay the action", kChild},
      {PromptControl::Label4, WC_STATICW, L"Delay for", kChild | SS_CENTERIMAGE},
      {PromptControl::txtSnooz, WC_EDITW, L"10",
       kChild | WS_TABSTOP | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
      {PromptControl::vsBlink, UPDOWN_CLASSW, L"", kChild},
      {PromptControl::lblSnoozMin, WC_STATICW, L"min.", kChild | SS_CENTERIMAGE},
      {PromptControl::cmdAbort, WC_BUTTONW, L"&Abort", kChild | WS_TABSTOP | WS_GROUP},
      {PromptControl::cmdExecute, WC_BUTTONW, L"&Execute", kChild | WS_TABSTOP},
      {PromptControl::cmdSnooz, WC_BUTTONW, L"&Snooze", kChild | WS_TABSTOP},
      {PromptControl::lblCountdown, WC_STATICW, L"", kChild | SS_NOPREFIX},
  }};
  return controls;
}

class PromptWindow final : public BorderlessWindow {
 public:
  PromptWindow(std::string actionName, HICON icon, int timeoutSeconds)
      : actionName_(std::move(actionName)), icon_(icon) {
    model_.StartCountdown(std::chrono::seconds{timeoutSeconds});
  }

  std::optional<PromptAnswer> Run(HWND owner) {
    // It opens in the middle of its owner's monitor, at that monitor's scale.
    const int dpi = MonitorDpi(owner);
    layout_ = PromptLayout(dpi);
    SetDpi(dpi);
    SetFrame(layout_.frame);
    const POINT at = CenterOnWorkArea(layout_.width, layout_.height, owner);
    // Its own task-bar button, titled "Kelvane", lets the user find it.
    if (!CreateOf(kPromptWindowClass, WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
                  WS_POPUP | WS_CLIPCHILDREN, kProductNameWide.data(), at.x, at.y, layout_.width, layout_.height, owner,
                  icon_)) {
      return std::nullopt;
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    // Above every other window, including those of other programs.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Control(model_.InitialFocus()));
    opened_ = clock_.SinceStart();
    ShowCountdown();
    if (!model_.CountdownText().empty()) SetTimer(hwnd(), kCountdownTimer, kCountdownStepMs, nullptr);
    RunModalLoop(hwnd(), owner, done_, [this](const MSG& message) { return Swallows(message); });
    if (hwnd() != nullptr) DestroyWindow(hwnd());
    return model_.Answer();
  }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    switch (message) {
      case WM_CREATE: OnCreate(); return 0;
      case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
      case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      case WM_CLOSE: Finish([this] { model_.Abort(); }); return 0;
      case WM_TIMER: if (wParam == kCountdownTimer) OnCountdownStep(); return 0;
      case WM_ACTIVATE:
        OnDeactivated(wParam, reinterpret_cast<HWND>(lParam));
        return BorderlessWindow::OnMessage(message, wParam, lParam);
      case kNumberBoxStep: OnMinutesStep(static_cast<int>(lParam)); return 0;
      default: return BorderlessWindow::OnMessage(message, wParam, lParam);
    }
  }

  void OnCaptionButton(FrameHit button) override {
    if (button == FrameHit::CloseButton) Finish([this] { model_.Abort(); });
  }

  void PaintBody(HDC dc) override { art_.Draw(dc, ArtKind::PromptPicture, layout_.at(PromptControl::picture)); }

  // A character typed while a button has the focus is dropped before the
  // dialog manager can take it for a mnemonic.
  bool Swallows(const MSG& message) {
    if (IsUserInput(message)) OnUserInput();
    if (message.message != WM_CHAR) return false;
    // Typed into the prompt itself (the focus it has when it is switched
    // back to without a control of its own) the letter would go to the
    // mnemonics just the same.
    if (message.hwnd == hwnd()) return true;
    const auto focus = static_cast<PromptControl>(GetDlgCtrlID(message.hwnd));
    return GetParent(message.hwnd) == hwnd() && !PromptModel::AcceptsCharacter(focus);
  }

  // The user turned to another of the program's windows (the tray menu,
  // the quit question): someone is there, so the count stops. The focus
  // comes back with the window as the base window keeps it.
  void OnDeactivated(WPARAM state, HWND other) {
    if (LOWORD(state) != WA_INACTIVE) return;
    DWORD process = 0;
    if (other != nullptr && GetWindowThreadProcessId(other, &process) != 0 && process == GetCurrentProcessId()) {
      OnUserInput();
    }
  }

  HWND Control(PromptControl id) const { return GetDlgItem(hwnd(), static_cast<int>(id)); }

  SIZE LayOut(int dpi) override {
    SetDpi(dpi);
    layout_ = PromptLayout(dpi, DropDownBoxHeight(hwnd(), fonts().normal.get()));
    SetFrame(layout_.frame);
    PlaceChildControls<PromptControl>(hwnd(), Controls(), layout_, fonts().normal.get());
    SendMessageW(Control(PromptControl::lblAction), WM_SETFONT, reinterpret_cast<WPARAM>(fonts().large.get()), TRUE);
    return {layout_.width, layout_.height};
  }

  void OnCreate() {
    CreateChildControls<PromptControl>(hwnd(), Controls(), layout_, nullptr);
    LayOut(dpi());
    SetWindowTextW(Control(PromptControl::lblAction), Widen(actionName_).c_str());
    MakeNumberBox(Control(PromptControl::txtSnooz));
    SendMessageW(Control(PromptControl::txtSnooz), EM_LIMITTEXT, model_.MinutesMaxLength(), 0);
    SendMessageW(Control(PromptControl::vsBlink), UDM_SETRANGE32, 0, 2);
    SendMessageW(Control(PromptControl::vsBlink), UDM_SETPOS32, 0, 1);
    ShowSnoozeControls();
  }

  void ShowSnoozeControls() {
    for (PromptControl id : {PromptControl::cmdSnooz, PromptControl::txtSnooz, PromptControl::lblSnoozMin,
                             PromptControl::Label4, PromptControl::Label2, PromptControl::vsBlink}) {
      ShowWindow(Control(id), model_.SnoozeVisible() ? SW_SHOW : SW_HIDE);
    }
  }

  void OnCommand(int id, int code) {
    if (id == IDCANCEL) return Finish([this] { model_.Abort(); });
    // Enter in the minutes box, where no button has the focus, snoozes.
    if (id == IDOK) {
      if (!PressFocusedPushButton()) Finish([this] { model_.Snooze(); });
      return;
    }
    switch (static_cast<PromptControl>(id)) {
      case PromptControl::cmdAbort: if (code == BN_CLICKED) Finish([this] { model_.Abort(); }); break;
      case PromptControl::cmdExecute: if (code == BN_CLICKED) Finish([this] { model_.Execute(); }); break;
      case PromptControl::cmdSnooz: if (code == BN_CLICKED) Finish([this] { model_.Snooze(); }); break;
      case PromptControl::txtSnooz:
        if (code == EN_CHANGE && !updating_) OnMinutesChanged();
        if (code == EN_KILLFOCUS) OnMinutesLeft();
        break;
      default: break;
    }
  }

  LRESULT OnNotify(const NMHDR& header) {
    if (header.code != UDN_DELTAPOS || header.idFrom != static_cast<UINT_PTR>(PromptControl::vsBlink)) return 0;
    // With the range set from low to high, the up arrow's delta is positive.
    OnMinutesStep(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
    return TRUE;  // The spin itself never moves; the text holds the value.
  }

  void OnMinutesStep(int delta) {
    model_.OnMinutesStep(delta);
    ShowMinutes();
  }

  void OnMinutesLeft() {
    model_.OnMinutesLeft();
    ShowMinutes();
  }

  bool IsUserInput(const MSG& message) const {
    const bool ours = message.hwnd == hwnd() || GetParent(message.hwnd) == hwnd();
    switch (message.message) {
      case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
        return ours;
      default: return false;
    }
  }

  void OnUserInput() {
    if (model_.CountdownText().empty()) return;
    model_.OnUserInput();
    KillTimer(hwnd(), kCountdownTimer);
    ShowCountdown();
  }

  void OnCountdownStep() {
    if (model_.OnTimePassed(clock_.SinceStart() - opened_)) {
      KillTimer(hwnd(), kCountdownTimer);
      Finish([] {});
      return;
    }
    ShowCountdown();
  }

  void ShowCountdown() {
    const std::wstring text = Widen(model_.CountdownText());
    if (WindowText(Control(PromptControl::lblCountdown)) != text) {
      SetWindowTextW(Control(PromptControl::lblCountdown), text.c_str());
    }
  }

  void OnMinutesChanged() {
    model_.OnMinutesTextChanged(Narrow(WindowText(Control(PromptControl::txtSnooz))));
    ShowMinutes();
  }

  void ShowMinutes() {
    const HWND box = Control(PromptControl::txtSnooz);
    const std::wstring wanted = Widen(model_.MinutesText());
    if (wanted == WindowText(box)) return;
    updating_ = true;
    SetWindowTextW(box, wanted.c_str());
    SendMessageW(box, EM_SETSEL, wanted.size(), static_cast<LPARAM>(wanted.size()));
    updating_ = false;
  }

  template <typename Choice>
  void Finish(Choice choose) {
    choose();
    // The modal loop hides the window once its owner takes input again.
    done_ = true;
  }

  std::string actionName_;
  HICON icon_;
  PromptModel model_;
  WindowLayout<PromptControl> layout_;
  ArtPainter art_;
  SystemClock clock_;
  Elapsed opened_{};
  bool done_ = false;
  bool updating_ = false;
};

}  // namespace

std::optional<PromptAnswer> ShowPromptDialog(HWND owner, const std::string& actionName, HICON icon,
                                             int timeoutSeconds) {
  PromptWindow window(actionName, icon, timeoutSeconds);
  return window.Run(owner);
}

}  // namespace kelvane
