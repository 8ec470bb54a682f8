#include "prompt/frm_prompt_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>

#include "base/child_controls_win32.h"
#include "base/control_ids.h"
#include "base/frame_win32.h"
#include "base/layout.h"
#include "base/product.h"
#include "base/wide_text_win32.h"
#include "base/window_base_win32.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

using PromptChild = ChildControl<PromptControl>;

constexpr DWORD kChild = kChildStyle;

const std::array<PromptChild, 11>& Controls() {
  static const std::array<PromptChild, 11> controls{{
      {PromptControl::lblAction, "lblAction", WC_STATICW, L"Shutdown", kChild | SS_NOPREFIX},
      {PromptControl::Label1, "Label1", WC_STATICW, L"Select Execute to perform the action", kChild},
      {PromptControl::Label3, "Label3", WC_STATICW, L"Select Abort to disable the action", kChild},
      {PromptControl::Label2, "Label2", WC_STATICW, L"Select Snooze to delay the action", kChild},
      {PromptControl::Label4, "Label4", WC_STATICW, L"Delay for", kChild},
      {PromptControl::txtSnooz, "txtSnooz", WC_EDITW, L"10",
       kChild | WS_TABSTOP | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL},
      {PromptControl::vsBlink, "vsBlink", UPDOWN_CLASSW, L"", kChild},
      {PromptControl::lblSnoozMin, "lblSnoozMin", WC_STATICW, L"min.", kChild},
      {PromptControl::cmdAbort, "cmdAbort", WC_BUTTONW, L"&Abort", kChild | WS_TABSTOP | WS_GROUP},
      {PromptControl::cmdExecute, "cmdExecute", WC_BUTTONW, L"&Execute", kChild | WS_TABSTOP},
      {PromptControl::cmdSnooz, "cmdSnooz", WC_BUTTONW, L"&Snooze", kChild | WS_TABSTOP},
  }};
  return controls;
}

class PromptWindow : public WindowBase {
 public:
  PromptWindow(std::string actionName, HICON icon) : actionName_(std::move(actionName)), icon_(icon) {}

  PromptAnswer Run(HWND owner) {
    dpi_ = DpiOf(owner);
    layout_ = PromptLayout(dpi_);
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - layout_.width) / 2;
    const int y = work.top + (work.bottom - work.top - layout_.height) / 2;
    // Its own task-bar button, titled "Kelvane", lets the user find it.
    if (!CreateOf(kPromptWindowClass, WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
                  WS_POPUP | WS_CLIPCHILDREN, kProductNameWide.data(), x, y, layout_.width, layout_.height, owner, icon_)) {
      return {PromptResult::Execute, 0};
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    // Above every other window, including those of other programs.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Control(PromptControl::cmdExecute));
    RunModalLoop(hwnd(), owner, done_);
    if (hwnd() != nullptr) DestroyWindow(hwnd());
    return model_.Answer();
  }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    switch (message) {
      case WM_CREATE: OnCreate(); return 0;
      case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
      case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      case WM_PAINT: OnPaint(); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_NCHITTEST: return mouse_.HitTest(hwnd(), layout_.frame, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        mouse_.ButtonDown(hwnd(), layout_.frame, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: OnMouseUp(lParam); return 0;
      case WM_MOUSEMOVE: mouse_.Move(hwnd(), layout_.frame, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
      case WM_MOUSELEAVE: mouse_.Move(hwnd(), layout_.frame, {-1, -1}); return 0;
      case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: return OnControlColor(reinterpret_cast<HDC>(wParam));
      case WM_CLOSE: Finish([this] { model_.Abort(); }); return 0;
      default: return Default(message, wParam, lParam);
    }
  }

  HWND Control(PromptControl id) const { return GetDlgItem(hwnd(), static_cast<int>(id)); }

  void OnCreate() {
    bodyBrush_.reset(CreateSolidBrush(FrameColors::kBody));
    fonts_ = UiFonts::ForDpi(dpi_);
    CreateChildControls<PromptControl>(hwnd(), Controls(), layout_, fonts_.normal.get());
    SendMessageW(Control(PromptControl::lblAction), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.large.get()), FALSE);
    SetWindowTextW(Control(PromptControl::lblAction), Widen(actionName_).c_str());
    SendMessageW(Control(PromptControl::txtSnooz), EM_LIMITTEXT, PromptModel::kMaxMinutesLength, 0);
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
    switch (static_cast<PromptControl>(id)) {
      case PromptControl::cmdAbort: if (code == BN_CLICKED) Finish([this] { model_.Abort(); }); break;
      case PromptControl::cmdExecute: if (code == BN_CLICKED) Finish([this] { model_.Execute(); }); break;
      case PromptControl::cmdSnooz: if (code == BN_CLICKED) Finish([this] { model_.Snooze(); }); break;
      case PromptControl::txtSnooz: if (code == EN_CHANGE && !updating_) OnMinutesChanged(); break;
      default: break;
    }
  }

  LRESULT OnNotify(const NMHDR& header) {
    if (header.code != UDN_DELTAPOS || header.idFrom != static_cast<UINT_PTR>(PromptControl::vsBlink)) return 0;
    if (reinterpret_cast<const NMUPDOWN&>(header).iDelta > 0) {
      model_.OnSpinUp();
    } else {
      model_.OnSpinDown();
    }
    ShowMinutes();
    return TRUE;
  }

  void OnMinutesChanged() {
    const HWND box = Control(PromptControl::txtSnooz);
    wchar_t text[8] = {};
    GetWindowTextW(box, text, 8);
    model_.OnMinutesTextChanged(Narrow(text));
    ShowMinutes();
  }

  void ShowMinutes() {
    const HWND box = Control(PromptControl::txtSnooz);
    wchar_t text[8] = {};
    GetWindowTextW(box, text, 8);
    const std::wstring wanted = Widen(model_.MinutesText());
    if (wanted == text) return;
    updating_ = true;
    SetWindowTextW(box, wanted.c_str());
    SendMessageW(box, EM_SETSEL, wanted.size(), static_cast<LPARAM>(wanted.size()));
    updating_ = false;
  }

  template <typename Choice>
  void Finish(Choice choose) {
    choose();
    done_ = true;
    ShowWindow(hwnd(), SW_HIDE);
  }

  void OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd(), &paint);
    PaintWindow(hwnd(), dc, layout_.frame, dpi_, mouse_.state(), fonts_.title.get());
    kelvane::DrawArt(dc, ArtKind::PromptPicture, layout_.at("picture"));
    EndPaint(hwnd(), &paint);
  }

  void OnMouseUp(LPARAM lParam) {
    const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (mouse_.ButtonUp(hwnd(), layout_.frame, client) == FrameHit::CloseButton) Finish([this] { model_.Abort(); });
  }

  LRESULT OnControlColor(HDC dc) {
    SetBkColor(dc, FrameColors::kBody);
    return reinterpret_cast<LRESULT>(bodyBrush_.get());
  }

  std::string actionName_;
  HICON icon_;
  PromptModel model_;
  int dpi_ = 96;
  WindowLayout layout_;
  UiFonts fonts_;
  UniqueBrush bodyBrush_;
  FrameMouse mouse_;
  bool done_ = false;
  bool updating_ = false;
};

}  // namespace

PromptAnswer ShowPromptDialog(HWND owner, const std::string& actionName, HICON icon) {
  PromptWindow window(actionName, icon);
  return window.Run(owner);
}

}  // namespace kelvane
