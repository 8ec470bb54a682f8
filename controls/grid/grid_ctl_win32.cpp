#include "controls/grid/grid_ctl_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "base/system_win32.h"
#include "base/handles_win32.h"
#include "base/wide_text_win32.h"
#include "base/window_id_win32.h"

namespace kelvane {
namespace {

constexpr wchar_t kClassName[] = L"KelvaneGridCtl";
constexpr UINT_PTR kDragTimer = 1;
// From Windows 8.1 and 10 on, beyond the headers' target version.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// The in-place edit box, "txtEdit".
constexpr int kEditBoxId = 1;

// The messages the grid takes from its own window through the hook.
constexpr UINT kHookedMessages[] = {WM_KILLFOCUS, WM_SETFOCUS, WM_MOUSEWHEEL, WM_MOUSEMOVE, WM_MOUSELEAVE,
                                    WM_MOUSEHOVER, WM_HSCROLL,  WM_VSCROLL,    WM_THEMECHANGED};

// Keys the edit box hands to the grid: they commit, cancel or move on.
bool IsGridKeyWhileEditing(WPARAM key, bool ctrl) {
  switch (key) {
    case VK_RETURN: case VK_ESCAPE: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_F2:
      return true;
    case VK_HOME: case VK_END:
      return ctrl;
    default:
      return false;
  }
}

Modifiers KeyModifiers() { return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0}; }

Modifiers MouseModifiers(WPARAM keys) {
  return {(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0};
}

std::int32_t HeldButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

// Signed: a captured pointer reports positions left of and above the window.
Point PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

ScrollCode ToScrollCode(WORD code) { return static_cast<ScrollCode>(std::min<WORD>(code, 8)); }

FontDescription ToFontDescription(const LOGFONTW& font, int dpi) {
  FontDescription description;
  description.name = Narrow(font.lfFaceName);
  // Sizes go in quarter points, as font dialogs offer them.
  description.points = std::round(std::abs(font.lfHeight) * 72.0 / dpi * 4) / 4;
  description.bold = font.lfWeight >= FW_SEMIBOLD;
  description.italic = font.lfItalic != 0;
  description.underline = font.lfUnderline != 0;
  description.strikethrough = font.lfStrikeOut != 0;
  return description;
}

// BeginPaint and EndPaint as a pair, whatever happens between them.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace

std::optional<std::int32_t> GridCtl::ImageKeys::IndexOfKey(std::string_view key) const {
  const auto found = std::find(keys.begin(), keys.end(), key);
  if (found == keys.end()) return std::nullopt;
  return static_cast<std::int32_t>(found - keys.begin());
}

GridCtl::GridCtl(GridEvents* events, ErrorReporter& reporter)
    : control_(*this, events), hooks_("GridCtl", hookSystem_, reporter) {}

GridCtl::~GridCtl() {
  // Destroyed here, while every member still exists for its last messages.
  if (hwnd() != nullptr) DestroyWindow(hwnd());
}

bool GridCtl::Create(HWND parent, int id, const RECT& rect, LoadMode mode) {
  if (!CreateOf(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, L"", rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, parent)) {
    return false;
  }
  SetWindowLongPtrW(hwnd(), GWLP_ID, id);
  InitProperties(mode);
  return true;
}

FontDescription GridCtl::ContainerFont() const {
  const HWND parent = hwnd() != nullptr ? GetParent(hwnd()) : nullptr;
  const auto font = parent != nullptr ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
  LOGFONTW logical{};
  if (font != nullptr && GetObjectW(font, sizeof logical, &logical) == sizeof logical) {
    return ToFontDescription(logical, DpiOf(parent));
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return FontDescription{"Tahoma", 8};
  // The message font comes at the system's DPI.
  return ToFontDescription(metrics.lfMessageFont, DpiOf(nullptr));
}

void GridCtl::InitProperties(LoadMode mode) { control_.InitProperties(ContainerFont(), mode); }

void GridCtl::ReadProperties(PropertyBag& bag, LoadMode mode) { control_.ReadProperties(bag, ContainerFont(), mode); }

void GridCtl::SetImageList(HIMAGELIST images, std::vector<std::string> keys) {
  images_ = images;
  imageKeys_.keys = std::move(keys);
  int width = 0, height = 0;
  if (images != nullptr && ImageList_GetIconSize(images, &width, &height)) {
    control_.SetImageList(&imageKeys_, ImageSize{width, height});
  } else {
    images_ = nullptr;
    control_.SetImageList(nullptr, std::nullopt);
  }
}

void GridCtl::BindControl(std::int32_t col, HWND control, std::int16_t moveControl) {
  Model().BindControl(col, reinterpret_cast<std::uintptr_t>(control), moveControl);
}

// ---- Messages ----

LRESULT GridCtl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return Dispatch(message, wParam, lParam);
  } catch (...) {
    // An index the owner got wrong inside one of its event handlers, or a
    // failed allocation: the message is dropped, the window lives on.
    return Default(message, wParam, lParam);
  }
}

LRESULT GridCtl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      themes_.SetWindow(hwnd());
      fonts_.Set(fonts_.Description(), DpiOf(hwnd()));
      CreateEditBox(0);
      RECT client{};
      GetClientRect(hwnd(), &client);
      control_.SetClientSize(client.right, client.bottom);
      control_.SetDpi(DpiOf(hwnd()));
      return 0;
    }
    case WM_SIZE:
      control_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (control_.RunTime() && GetFocus() != hwnd()) SetFocus(hwnd());
      control_.ButtonDown(ButtonOf(message), PointOf(lParam), MouseModifiers(wParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (control_.RunTime() && GetFocus() != hwnd()) SetFocus(hwnd());
      control_.DoubleClick(PointOf(lParam), MouseModifiers(wParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      control_.ButtonUp(ButtonOf(message), PointOf(lParam), MouseModifiers(wParam));
      return 0;
    case WM_MOUSEMOVE:
      control_.MouseMove(PointOf(lParam), MouseModifiers(wParam), HeldButtons(wParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (!releasingCapture_ && reinterpret_cast<HWND>(lParam) != hwnd()) control_.CaptureLost();
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hwnd() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(control_.Cursor());
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
      control_.KeyDown(static_cast<std::int32_t>(wParam), KeyModifiers());
      return 0;
    case WM_KEYUP:
      control_.KeyUp(static_cast<std::int32_t>(wParam), KeyModifiers());
      return 0;
    case WM_CHAR:
      OnCharacter(static_cast<wchar_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return OnDialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_TIMER:
      if (wParam != kDragTimer) break;
      control_.DragTimer();
      return 0;
    case WM_CTLCOLOREDIT:
      return OnEditColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case kDpiChanged:
    case kDpiChangedAfterParent:
      OnDpiChanged();
      return 0;
    case WM_THEMECHANGED:
      themes_.Reset();
      Invalidate();
      break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_ENABLE:
      Invalidate();
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

void GridCtl::OnPaint() {
  const PaintScope paint(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  // While Redraw is off the window keeps showing its last picture.
  const std::vector<PaintStep>* steps = Model().Redraw() ? &control_.PlanPaint() : nullptr;
  painter_.Paint(paint.dc(), client.right, client.bottom, steps, fonts_, themes_, images_);
}

void GridCtl::OnDpiChanged() {
  const int dpi = DpiOf(hwnd());
  if (dpi == control_.Dpi()) return;
  // The edit box sits on the old geometry.
  control_.UpdateCell();
  fonts_.Set(fonts_.Description(), dpi);
  themes_.Reset();
  if (editBox_ != nullptr) SendMessageW(editBox_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Plain()), FALSE);
  control_.SetDpi(dpi);
}

LRESULT GridCtl::OnDialogCode(const MSG* message) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (message != nullptr && message->message == WM_KEYDOWN &&
      control_.WantsDialogKey(static_cast<std::int32_t>(message->wParam))) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

LRESULT GridCtl::OnEditColor(HDC dc, HWND control) {
  if (control != editBox_ || !editBrush_) return Default(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  SetBkColor(dc, editColor_);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(editBrush_.get());
}

void GridCtl::OnCharacter(wchar_t unit) {
  if (IS_HIGH_SURROGATE(unit)) {
    highSurrogate_ = unit;
    return;
  }
  char32_t character = unit;
  if (IS_LOW_SURROGATE(unit) && highSurrogate_ != 0) {
    character = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
  }
  highSurrogate_ = 0;
  control_.Character(character, GetTickCount64());
}

void GridCtl::OnDestroy() {
  KillTimer(hwnd(), kDragTimer);
  // The hooks of the grid and its edit box end with their WM_DESTROY; an
  // outside bound control lives on and is let go here.
  if (hookedBound_ != nullptr && hooks_.IsHooked(ToWindowId(hookedBound_))) {
    hooks_.UnhookWindow(ToWindowId(hookedBound_));
  }
  hookedBound_ = nullptr;
  editBox_ = nullptr;
}

// ---- Hooked messages ----

void GridCtl::WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& message,
                      std::intptr_t&) {
  try {
    if (ToHwnd(message.window) == hwnd()) {
      if (bBefore) bHandled = OnGridHook(message, lReturn);
    } else if (bBefore) {
      bHandled = OnEditorHook(message, lReturn);
    } else if (message.uMsg == WM_GETDLGCODE) {
      // Enter and Escape belong to the edit, not to the dialog's buttons.
      const auto* msg = reinterpret_cast<const MSG*>(message.lParam);
      if (msg != nullptr && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        lReturn |= DLGC_WANTMESSAGE;
      }
    }
  } catch (...) {
    // Dropped like any message that fails inside the window procedure.
  }
}

FocusTarget GridCtl::TargetOf(HWND focus) const {
  if (focus == nullptr) return FocusTarget::Elsewhere;
  if (focus == hwnd()) return FocusTarget::Grid;
  if (focus == editBox_ || (hookedBound_ != nullptr && (focus == hookedBound_ || IsChild(hookedBound_, focus)))) {
    return FocusTarget::Editor;
  }
  return FocusTarget::Elsewhere;
}

bool GridCtl::OnGridHook(const WindowMessage& message, std::intptr_t& result) {
  const auto wParam = static_cast<WPARAM>(message.wParam);
  switch (message.uMsg) {
    case WM_SETFOCUS:
      control_.FocusGained();
      return false;
    case WM_KILLFOCUS:
      control_.FocusLost(TargetOf(reinterpret_cast<HWND>(wParam)));
      return false;
    case WM_MOUSEWHEEL:
      control_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam), MouseModifiers(GET_KEYSTATE_WPARAM(wParam)));
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      control_.MouseEntered();
      return false;
    case WM_MOUSELEAVE:
      control_.MouseLeft();
      result = 0;
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const int bar = message.uMsg == WM_VSCROLL ? SB_VERT : SB_HORZ;
      const WORD code = LOWORD(wParam);
      std::int32_t thumb = 0;
      if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        // The message carries 16 bits of position; a million rows need more.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        thumb = FlatSB_GetScrollInfo(hwnd(), bar, &info) ? info.nTrackPos : HIWORD(wParam);
      }
      control_.Scroll(bar == SB_VERT ? ScrollAxis::Vertical : ScrollAxis::Horizontal, ToScrollCode(code), thumb);
      result = 0;
      return true;
    }
    case WM_THEMECHANGED:
      control_.ThemeChanged();
      return false;
    default:
      return false;
  }
}

bool GridCtl::OnEditorHook(const WindowMessage& message, std::intptr_t& result) {
  const auto wParam = static_cast<WPARAM>(message.wParam);
  switch (message.uMsg) {
    case WM_KEYDOWN: {
      const Modifiers modifiers = KeyModifiers();
      if (!IsGridKeyWhileEditing(wParam, modifiers.ctrl)) return false;
      control_.KeyDown(static_cast<std::int32_t>(wParam), modifiers);
      result = 0;
      return true;
    }
    case WM_CHAR:
      // Their key went to the grid; an edit box would only beep at them.
      if (wParam != L'\r' && wParam != L'\n' && wParam != 0x1B) return false;
      result = 0;
      return true;
    case WM_KILLFOCUS: {
      const FocusTarget target = TargetOf(reinterpret_cast<HWND>(wParam));
      // The focus is on its way to `target`; hiding the editor must not
      // pull it back to the grid.
      losingEditorFocus_ = true;
      control_.EditorFocusLost(target == FocusTarget::Grid ? FocusTarget::Grid : FocusTarget::Elsewhere);
      losingEditorFocus_ = false;
      return false;
    }
    default:
      return false;
  }
}

void GridCtl::HookEditor(HWND editor) {
  if (!control_.RunTime() || editor == nullptr) return;
  const WindowId id = ToWindowId(editor);
  if (hooks_.IsHooked(id) || !hooks_.HookWindow(id, this)) return;
  for (const UINT message : {WM_KEYDOWN, WM_CHAR, WM_KILLFOCUS}) hooks_.WatchMsg(id, message, WatchWhen::Before);
  hooks_.WatchMsg(id, WM_GETDLGCODE, WatchWhen::After);
}

// ---- What the control asks of its window ----

int GridCtl::MeasureTextHeight() {
  const WindowDc dc(hwnd());
  if (dc.get() == nullptr) return 0;
  const SelectionGuard font(dc.get(), fonts_.Plain());
  SIZE size{};
  return GetTextExtentPoint32W(dc.get(), L"A", 1, &size) ? size.cy : 0;
}

void GridCtl::Invalidate() {
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, FALSE);
}

void GridCtl::SetScrollBars(const ScrollBarsState& bars) {
  if (hwnd() == nullptr || (shownBars_ && *shownBars_ == bars)) return;
  const std::optional<ScrollBarsState> before = shownBars_;
  // Noted first: showing a bar resizes the window, which asks again.
  shownBars_ = bars;
  const struct {
    int bar;
    std::int32_t position, max;
    bool shown;
  } axes[] = {{SB_VERT, bars.topRow, bars.ranges.maxTopRow, bars.ranges.verticalShown},
              {SB_HORZ, bars.leftCol, bars.ranges.maxLeftCol, bars.ranges.horizontalShown}};
  for (const auto& axis : axes) {
    // The page is kScrollPage long, so the range ends that much further.
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, axis.max + kScrollPage - 1, kScrollPage,
                    axis.position, 0};
    FlatSB_SetScrollInfo(hwnd(), axis.bar, &info, TRUE);
    const bool wasShown = before && (axis.bar == SB_VERT ? before->ranges.verticalShown
                                                         : before->ranges.horizontalShown);
    if (!before || wasShown != axis.shown) FlatSB_ShowScrollBar(hwnd(), axis.bar, axis.shown);
  }
}

void GridCtl::SetCapture(bool on) {
  if (on) {
    ::SetCapture(hwnd());
  } else if (GetCapture() == hwnd()) {
    releasingCapture_ = true;
    ReleaseCapture();
    releasingCapture_ = false;
  }
}

void GridCtl::SetCursor(GridCursor cursor) {
  ::SetCursor(LoadCursorW(nullptr, cursor == GridCursor::SizeWestEast ? IDC_SIZEWE : IDC_ARROW));
}

void GridCtl::SetDragTimer(bool on) {
  if (on) {
    SetTimer(hwnd(), kDragTimer, kDragScrollMs, nullptr);
  } else {
    KillTimer(hwnd(), kDragTimer);
  }
}

void GridCtl::TrackMouseLeave() {
  if (trackMouseEvent_ == nullptr) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), HOVER_DEFAULT};
  trackMouseEvent_(&track);
}

HWND GridCtl::EditorWindow(std::uintptr_t boundControl) const {
  return boundControl != 0 ? reinterpret_cast<HWND>(boundControl) : editBox_;
}

void GridCtl::CreateEditBox(std::int32_t alignment) {
  // An edit box takes its alignment only when it is made.
  const HWND old = editBox_;
  const DWORD align = alignment == 1 ? ES_CENTER : alignment == 2 ? ES_RIGHT : ES_LEFT;
  editBox_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | align, 0, 0, 0, 0, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditBoxId)), GetModuleHandleW(nullptr),
                             nullptr);
  editAlignment_ = alignment;
  // The grid owns its child windows; this one goes now, the new one with the grid.
  if (old != nullptr) DestroyWindow(old);
  if (editBox_ == nullptr) return;
  SendMessageW(editBox_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Plain()), FALSE);
  HookEditor(editBox_);
}

void GridCtl::ShowEditor(const EditorRequest& request) {
  HWND editor = nullptr;
  if (request.boundControl != 0) {
    editor = reinterpret_cast<HWND>(request.boundControl);
    if (GetParent(editor) != hwnd()) {
      // A child of the grid from now on, whatever it was before.
      const LONG_PTR style = GetWindowLongPtrW(editor, GWL_STYLE);
      SetWindowLongPtrW(editor, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
      SetParent(editor, hwnd());
    }
    EnableWindow(editor, TRUE);
    if (control_.RunTime() && !hooks_.IsHooked(ToWindowId(editor)) && hooks_.HookWindow(ToWindowId(editor), this)) {
      hooks_.WatchMsg(ToWindowId(editor), WM_KEYDOWN, WatchWhen::Before);
      hooks_.WatchMsg(ToWindowId(editor), WM_KILLFOCUS, WatchWhen::Before);
      hookedBound_ = editor;
    }
  } else {
    if (request.alignment != editAlignment_ || editBox_ == nullptr) CreateEditBox(request.alignment);
    editor = editBox_;
    if (editor == nullptr) return;
    const COLORREF color = SystemRgb(request.backColor).value_or(GetSysColor(COLOR_WINDOW));
    if (!editBrush_ || color != editColor_) {
      editColor_ = color;
      editBrush_.reset(CreateSolidBrush(color));
    }
    SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Styled(request.fontStyle)), FALSE);
    const int margin = std::max(0, control_.Metrics().textInset - 1);
    SendMessageW(editor, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    SetWindowTextW(editor, Widen(request.text).c_str());
  }
  const Rect& r = request.rect;
  SetWindowPos(editor, HWND_TOP, r.left, r.top, r.width, r.height, SWP_SHOWWINDOW);
  SetFocus(editor);
  if (request.boundControl == 0) SendMessageW(editor, EM_SETSEL, 0, -1);
}

void GridCtl::FocusEditor(std::uintptr_t boundControl) {
  if (const HWND editor = EditorWindow(boundControl)) SetFocus(editor);
}

std::string GridCtl::EditorText(std::uintptr_t boundControl) {
  const HWND editor = EditorWindow(boundControl);
  if (editor == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(editor)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(editor, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void GridCtl::HideEditor(std::uintptr_t boundControl) {
  const HWND editor = EditorWindow(boundControl);
  if (editor == nullptr) return;
  const HWND focus = GetFocus();
  const bool focused = focus == editor || IsChild(editor, focus);
  ShowWindow(editor, SW_HIDE);
  if (boundControl != 0 && hookedBound_ == editor) {
    hooks_.UnhookWindow(ToWindowId(editor));
    hookedBound_ = nullptr;
  }
  if (focused && !losingEditorFocus_) SetFocus(hwnd());
}

void GridCtl::ApplyFont(const FontDescription& font) {
  fonts_.Set(font, control_.Dpi());
  if (editBox_ != nullptr) SendMessageW(editBox_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Plain()), FALSE);
}

void GridCtl::ApplyFrame(OleColor, bool border) {
  // The background is painted, every pixel of it; only the border is the
  // window's own.
  if (hwnd() == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  const LONG_PTR wanted = border ? (style | WS_BORDER) : (style & ~static_cast<LONG_PTR>(WS_BORDER));
  if (wanted == style) return;
  SetWindowLongPtrW(hwnd(), GWL_STYLE, wanted);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GridCtl::StartRunTime() {
  if (hwnd() == nullptr) return;
  if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    trackMouseEvent_ = reinterpret_cast<TrackMouseEventFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "TrackMouseEvent")));
  }
  if (trackMouseEvent_ == nullptr) {
    if (const HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll")) {
      trackMouseEvent_ = reinterpret_cast<TrackMouseEventFn>(
          reinterpret_cast<void*>(GetProcAddress(comctl32, "_TrackMouseEvent")));
    }
  }
  const WindowId self = ToWindowId(hwnd());
  if (!hooks_.IsHooked(self) && hooks_.HookWindow(self, this)) {
    for (const UINT message : kHookedMessages) hooks_.WatchMsg(self, message, WatchWhen::Before);
  }
  HookEditor(editBox_);
  // Where flat scroll bars are not available the calls below fall back to
  // the window's standard bars.
  InitializeFlatSB(hwnd());
  FlatSB_SetScrollProp(hwnd(), WSB_PROP_VSTYLE, FSB_ENCARTA_MODE, FALSE);
  FlatSB_SetScrollProp(hwnd(), WSB_PROP_HSTYLE, FSB_ENCARTA_MODE, FALSE);
  shownBars_.reset();
}

}  // namespace kelvane
