#include "about/frm_about_win32.h"

#include <shellapi.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "base/product.h"
#include "base/system_win32.h"
#include "base/wide_text_win32.h"
#include "base/file_version_win32.h"
#include "resources/art_win32.h"

namespace kelvane {
namespace {

constexpr UINT_PTR kHoverTimerId = 1;
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 184;
constexpr int kLinkWidth = 176;
constexpr int kLinkHeight = 22;
constexpr COLORREF kLinkColour = RGB(0, 90, 190);
// The product name's size against the user's message text.
constexpr int kTitlePercent = 160;

// A dialog frame without controls; they are made at WM_INITDIALOG in
// pixels scaled for the display.
std::vector<WORD> AboutTemplate() {
  DLGTEMPLATE header{};
  header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (const wchar_t c : std::wstring_view(L"About")) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

// The link picture: its caption on the dialog's face, or highlighted.
UniqueBitmap DrawLinkImage(int width, int height, bool active) {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return nullptr;
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return nullptr;
  const UniqueFont font = CreateUserSizedMessageFont(100, 0, true);
  const SelectionGuard selectBitmap(dc.get(), bitmap.get());
  const SelectionGuard selectFont(dc.get(), font ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
  RECT area{0, 0, width, height};
  const UniqueBrush linkBrush(CreateSolidBrush(kLinkColour));
  FillRect(dc.get(), &area, active && linkBrush ? linkBrush.get() : GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), active ? RGB(255, 255, 255) : kLinkColour);
  area.left += height / 4;
  DrawTextW(dc.get(), L"Visit the Kelvane web site", -1, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  return bitmap;
}

}  // namespace

std::string ModuleVersionText(const std::wstring& path) {
  const auto version = ReadFileVersion(path);
  return version ? AboutVersionText(version->major, version->minor, version->revision) : AboutVersionText(0, 0, 0);
}

void frmAbout::ShowModal(HWND owner) {
  if (dialog_ != nullptr) {
    // Refused while another program holds the foreground; the box is still open.
    SetForegroundWindow(dialog_);
    return;
  }
  owner_ = owner;
  const std::vector<WORD> dialogTemplate = AboutTemplate();
  // Fails only when the dialog cannot be made; there is then nothing to close.
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                          owner, DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  picUrl_ = nullptr;
  picUrlNormal_.reset();
  picUrlActive_.reset();
  image1_.reset();
  font_.reset();
  titleFont_.reset();
}

void frmAbout::Close() {
  if (dialog_ == nullptr) return;
  EndDialog(dialog_, IDCANCEL);
  if (owner_ != nullptr) EnableWindow(owner_, TRUE);
}

INT_PTR CALLBACK frmAbout::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<frmAbout*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<frmAbout*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR frmAbout::OnMessage(UINT message, WPARAM wParam, LPARAM) noexcept {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(); return TRUE;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
    case WM_TIMER: if (wParam == kHoverTimerId) OnTimer(); return TRUE;
    default: return FALSE;
  }
}

void frmAbout::OnInitDialog() {
  dpi_ = DpiOf(nullptr);
  hover_ = LinkHover{};
  linkTarget_ = Widen(kMakerUrl);
  font_ = CreateUserSizedMessageFont(100);
  titleFont_ = CreateUserSizedMessageFont(kTitlePercent, FW_BOLD);
  picUrlNormal_ = DrawLinkImage(Scale(kLinkWidth), Scale(kLinkHeight), false);
  picUrlActive_ = DrawLinkImage(Scale(kLinkWidth), Scale(kLinkHeight), true);
  image1_ = CreateArtIcon(ArtKind::AppIcon, Scale(48));

  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const POINT at = CenterOnWorkArea(width, height, owner_);
  SetWindowPos(dialog_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  const HWND image = AddControl(L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, -1, {16, 16, 48, 48}, nullptr);
  SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(image1_.get()), 0);
  AddControl(L"STATIC", Widen(kProductName), SS_LEFT, kAboutTitleId, {80, 14, 220, 28}, titleFont_.get());
  AddControl(L"STATIC", Widen(ModuleVersionText(ModulePath())), SS_LEFT, kAboutVersionLabelId, {80, 44, 220, 18},
             font_.get());
  AddControl(L"STATIC", Widen(kMakerNotice), SS_LEFT, -1, {80, 64, 228, 36}, font_.get());
  picUrl_ = AddControl(L"STATIC", L"", SS_BITMAP | SS_NOTIFY, kAboutLinkPictureId, {80, 104, kLinkWidth, kLinkHeight},
                       nullptr);
  SendMessageW(picUrl_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picUrlNormal_.get()));
  AddControl(L"STATIC", linkTarget_, SS_LEFT, kAboutLinkLabelId, {80, 128, 228, 18}, font_.get());
  const HWND close =
      AddControl(L"BUTTON", L"&Close", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, {232, 148, 76, 26}, font_.get());
  SetFocus(close);
}

HWND frmAbout::AddControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, RECT at,
                          HFONT font) {
  const HWND control = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, Scale(at.left),
                                       Scale(at.top), Scale(at.right), Scale(at.bottom), dialog_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                       nullptr);
  if (control != nullptr && font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void frmAbout::OnCommand(int id, int code) {
  if (id == kAboutLinkPictureId && code == STN_CLICKED) {
    // A link that cannot be opened is left alone; there is nothing to retry.
    ShellExecuteW(GetDesktopWindow(), L"open", linkTarget_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } else if (id == IDCANCEL || id == IDOK) {
    EndDialog(dialog_, IDCANCEL);
  }
}

bool frmAbout::OnSetCursor(HWND over) {
  if (over != picUrl_ || picUrl_ == nullptr) return false;
  if (hover_.MouseMove()) {
    SendMessageW(picUrl_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picUrlActive_.get()));
    // Without the timer the hover image stays until the box closes.
    SetTimer(dialog_, kHoverTimerId, kLinkHoverTimerMs, nullptr);
  }
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
  return true;
}

void frmAbout::OnTimer() {
  POINT cursor{};
  RECT area{};
  if (!GetCursorPos(&cursor) || !ScreenToClient(picUrl_, &cursor) || !GetClientRect(picUrl_, &area)) return;
  if (hover_.Tick(cursor.x, cursor.y, area.right, area.bottom)) {
    SendMessageW(picUrl_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picUrlNormal_.get()));
    KillTimer(dialog_, kHoverTimerId);
  }
}

}  // namespace kelvane
