#include "tray/frm_main1_win32.h"

#include "base/wide_text_win32.h"
#include "resources/art_win32.h"

namespace kelvane {

namespace {

ArtKind TrayArt(TrayImage image) {
  switch (image) {
    case TrayImage::Armed: return ArtKind::TrayArmed;
    case TrayImage::IdleHidden: return ArtKind::TrayHidden;
    case TrayImage::Idle: break;
  }
  return ArtKind::TrayIdle;
}

}  // namespace

frmMain1::frmMain1() : iconSize_(GetSystemMetrics(SM_CXSMICON)), mnuPopup_(CreatePopupMenu()) {
  if (!mnuPopup_) return;
  for (const TrayMenuItem& item : TrayMenuItems()) {
    // A menu without an item only lacks that command; nothing else depends on it.
    if (item.command == TrayMenuCommand::None) {
      AppendMenuW(mnuPopup_.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(mnuPopup_.get(), MF_STRING, static_cast<UINT_PTR>(item.command), Widen(item.caption).c_str());
    }
  }
}

HICON frmMain1::MyIco(TrayImage image) const {
  UniqueIcon& icon = myIco_[static_cast<std::size_t>(image)];
  if (!icon) icon = CreateArtIcon(TrayArt(image), iconSize_);
  return icon.get();
}

TrayMenuCommand frmMain1::ShowPopup(HWND owner) {
  // Refused while another program holds the foreground; the menu still opens.
  SetForegroundWindow(owner);
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return TrayMenuCommand::None;
  const BOOL chosen =
      TrackPopupMenu(mnuPopup_.get(), TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, owner, nullptr);
  // A popup menu of a background window closes properly only once its owner
  // has seen another message.
  PostMessageW(owner, WM_NULL, 0, 0);
  return TrayMenuCommandFromId(static_cast<std::uint32_t>(chosen));
}

void frmMain1::SetEnabledChecked(bool checked) {
  // Fails only without the menu, when there is no check to show.
  CheckMenuItem(mnuPopup_.get(), static_cast<UINT>(TrayMenuCommand::Enabled),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool frmMain1::EnabledChecked() const {
  const UINT state = GetMenuState(mnuPopup_.get(), static_cast<UINT>(TrayMenuCommand::Enabled), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

}  // namespace kelvane
