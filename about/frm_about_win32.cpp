#include "about/frm_about_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>

#include "base/child_controls_win32.h"
#include "base/file_version_win32.h"
#include "base/product.h"
#include "base/system_win32.h"
#include "base/wide_text_win32.h"
#include "base/window_base_win32.h"
#include "base/window_layouts.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

constexpr UINT_PTR kHoverTimerId = 1;
constexpr COLORREF kLinkColour = RGB(0, 90, 190);
// The product name's size against the user's message text.
constexpr int kTitlePercent = 160;

using AboutChild = ChildControl<AboutControl>;

const std::array<AboutChild, 7>& Controls() {
  static const std::array<AboutChild, 7> controls{{
      {AboutControl::Label1, WC_STATICW, L"", kChildStyle | SS_NOPREFIX},
      {AboutControl::lblVersion, WC_STATICW, L"", kChildStyle | SS_NOPREFIX},
      {AboutControl::lblNotice, WC_STATICW, L"", kChildStyle | SS_NOPREFIX},
      {AboutControl::lblCopyright, WC_STATICW, L"", kChildStyle | SS_NOPREFIX},
      // A button, so that Tab reaches the link and it shows the focus; it
      // draws the link's normal or hover image.
      {AboutControl::PicUrl, WC_BUTTONW, L"", kChildStyle | WS_TABSTOP | BS_OWNERDRAW},
      {AboutControl::LblUrl, WC_STATICW, L"", kChildStyle | SS_NOPREFIX},
      {AboutControl::cmdClose, WC_BUTTONW, L"&Close", kChildStyle | WS_TABSTOP | BS_DEFPUSHBUTTON},
  }};
  return controls;
}

// The link picture: its caption on the window's face, or highlighted.
UniqueBitmap DrawLinkImage(int width, int height, bool active, HFONT font) {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return nullptr;
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return nullptr;
  const UniqueFont underlined = [&] {
    LOGFONTW logFont{};
    if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) return UniqueFont();
    logFont.lfUnderline = TRUE;
    return UniqueFont(CreateFontIndirectW(&logFont));
  }();
  const SelectionGuard selectBitmap(dc.get(), bitmap.get());
  const SelectionGuard selectFont(dc.get(), underlined ? underlined.get() : GetStockObject(DEFAULT_GUI_FONT));
  RECT area{0, 0, width, height};
  SetDCBrushColor(dc.get(), active ? kLinkColour : FrameColors::kBody);
  FillRect(dc.get(), &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), active ? RGB(255, 255, 255) : kLinkColour);
  area.left += height / 4;
  const std::wstring caption = Widen(kLinkCaption);
  DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  return bitmap;
}

}  // namespace

std::string ModuleVersionText(const std::wstring& path) {
  const auto version = ReadFileVersion(path);
  return version ? AboutVersionText(version->major, version->minor, version->revision) : AboutVersionText(0, 0, 0);
}

void frmAbout::OpenWithShell(const std::wstring& target) {
  // A link that cannot be opened is left alone; there is nothing to retry.
  ShellExecuteW(GetDesktopWindow(), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void frmAbout::ShowModal(HWND owner) {
  if (hwnd() != nullptr) {
    // Refused while another program holds the foreground; the box is still open.
    SetForegroundWindow(hwnd());
    return;
  }
  owner_ = owner;
  done_ = false;
  hover_ = LinkHover{};
  linkTarget_ = Widen(kMakerUrl);
  // It opens in the middle of its owner's monitor (the primary one without
  // an owner), at that monitor's scale.
  const int dpi = MonitorDpi(owner);
  layout_ = AboutLayout(dpi);
  SetDpi(dpi);
  SetFrame(layout_.frame);
  const POINT at = CenterOnWorkArea(layout_.width, layout_.height, owner);
  if (CreateOf(kAboutWindowClass, WS_EX_CONTROLPARENT, WS_POPUP | WS_CLIPCHILDREN, L"About", at.x, at.y,
               layout_.width, layout_.height, owner)) {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Control(AboutControl::cmdClose));
    RunModalLoop(hwnd(), owner, done_);
    if (hwnd() != nullptr) DestroyWindow(hwnd());
  }
  picUrlNormal_.reset();
  picUrlActive_.reset();
  image1_.reset();
  font_.reset();
  titleFont_.reset();
}

void frmAbout::Close() {
  if (!IsOpen()) return;
  done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
  if (owner_ != nullptr) EnableWindow(owner_, TRUE);
}

LRESULT frmAbout::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      return BorderlessWindow::OnMessage(message, wParam, lParam);
    case WM_TIMER: if (wParam == kHoverTimerId) OnTimer(); return 0;
    case WM_CLOSE: Close(); return 0;
    default: return BorderlessWindow::OnMessage(message, wParam, lParam);
  }
}

void frmAbout::OnCreate() {
  CreateChildControls<AboutControl>(hwnd(), Controls(), layout_, nullptr);
  const std::wstring program = ModulePath();
  SetWindowTextW(Control(AboutControl::Label1), kProductNameWide.data());
  SetWindowTextW(Control(AboutControl::lblVersion), Widen(ModuleVersionText(program)).c_str());
  SetWindowTextW(Control(AboutControl::lblNotice), Widen(kMakerNotice).c_str());
  SetWindowTextW(Control(AboutControl::lblCopyright), ReadVersionText(program, L"LegalCopyright").c_str());
  // Named for screen readers; the picture shows the same words.
  SetWindowTextW(Control(AboutControl::PicUrl), Widen(kLinkCaption).c_str());
  SetWindowTextW(Control(AboutControl::LblUrl), linkTarget_.c_str());
  LayOut(dpi());
}

SIZE frmAbout::LayOut(int dpi) {
  SetDpi(dpi);
  layout_ = AboutLayout(dpi);
  SetFrame(layout_.frame);
  // The texts keep the size the user chose for message text, scaled from
  // the system's DPI to this monitor's.
  const int percent = MulDiv(100, dpi, DpiOf(nullptr));
  font_ = CreateUserSizedMessageFont(percent);
  titleFont_ = CreateUserSizedMessageFont(MulDiv(kTitlePercent, percent, 100), FW_BOLD);
  const Rect link = layout_.at(AboutControl::PicUrl);
  picUrlNormal_ = DrawLinkImage(link.width, link.height, false, font_.get());
  picUrlActive_ = DrawLinkImage(link.width, link.height, true, font_.get());
  image1_ = CreateArtIcon(ArtKind::AppIcon, layout_.at(AboutControl::Image1).width);
  PlaceChildControls<AboutControl>(hwnd(), Controls(), layout_, font_.get());
  SendMessageW(Control(AboutControl::Label1), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
  return {layout_.width, layout_.height};
}

void frmAbout::OnCaptionButton(FrameHit button) {
  if (button == FrameHit::CloseButton) Close();
}

void frmAbout::PaintBody(HDC dc) {
  const Rect r = layout_.at(AboutControl::Image1);
  if (image1_) DrawIconEx(dc, r.left, r.top, image1_.get(), r.width, r.height, 0, nullptr, DI_NORMAL);
}

void frmAbout::OnCommand(int id, int code) {
  const auto control = static_cast<AboutControl>(id);
  if (control == AboutControl::PicUrl && code == BN_CLICKED) {
    OpenLink();
  } else if (id == IDOK && GetFocus() == Control(AboutControl::PicUrl)) {
    // Enter on the link opens it, as on a link anywhere in Windows; the
    // dialog keys send Enter as IDOK because the link is no push button.
    OpenLink();
  } else if (id == IDOK || id == IDCANCEL || (control == AboutControl::cmdClose && code == BN_CLICKED)) {
    Close();
  }
}

void frmAbout::OpenLink() {
  if (openLink_) openLink_(linkTarget_);
}

void frmAbout::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != static_cast<UINT>(AboutControl::PicUrl)) return;
  const HBITMAP image = hover_.Hovering() ? picUrlActive_.get() : picUrlNormal_.get();
  const UniqueMemoryDc source(CreateCompatibleDC(item.hDC));
  if (source && image != nullptr) {
    const SelectionGuard select(source.get(), image);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
           item.rcItem.bottom - item.rcItem.top, source.get(), 0, 0, SRCCOPY);
  }
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(item.hDC, &item.rcItem);
  }
}

bool frmAbout::OnSetCursor(HWND over) {
  const HWND link = Control(AboutControl::PicUrl);
  if (over != link || link == nullptr) return false;
  if (hover_.MouseMove()) {
    InvalidateRect(link, nullptr, FALSE);
    // Without the timer the hover image stays until the box closes.
    SetTimer(hwnd(), kHoverTimerId, kLinkHoverTimerMs, nullptr);
  }
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void frmAbout::OnTimer() {
  const HWND link = Control(AboutControl::PicUrl);
  POINT cursor{};
  RECT area{};
  if (!GetCursorPos(&cursor) || !ScreenToClient(link, &cursor) || !GetClientRect(link, &area)) return;
  if (hover_.Tick(cursor.x, cursor.y, area.right, area.bottom)) {
    InvalidateRect(link, nullptr, FALSE);
    KillTimer(hwnd(), kHoverTimerId);
  }
}

}  // namespace kelvane
