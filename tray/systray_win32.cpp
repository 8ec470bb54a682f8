#include "tray/systray_win32.h"

#include <algorithm>
#include <string>

#include "base/wide_text_win32.h"
#include "tray/window_hook_win32.h"

namespace kelvane {
namespace {

static_assert(kNotifyMessage == NIF_MESSAGE && kNotifyIcon == NIF_ICON && kNotifyTip == NIF_TIP &&
              kNotifyBalloon == NIF_INFO && kBalloonNoSound == NIIF_NOSOUND);
static_assert(static_cast<DWORD>(NotifyRequest::Add) == NIM_ADD &&
              static_cast<DWORD>(NotifyRequest::Modify) == NIM_MODIFY &&
              static_cast<DWORD>(NotifyRequest::Delete) == NIM_DELETE);
static_assert(kBalloonShown == NIN_BALLOONSHOW && kBalloonHidden == NIN_BALLOONHIDE &&
              kBalloonTimedOut == NIN_BALLOONTIMEOUT && kBalloonClicked == NIN_BALLOONUSERCLICK);
static_assert(kTimerMessage == WM_TIMER && kTrayCallbackMessage == WM_MOUSEMOVE);

// Copies as much as fits before the NUL; the rest of the field stays zero.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
  const std::wstring wide = Widen(text);
  std::fill(std::begin(field), std::end(field), L'\0');
  std::copy_n(wide.begin(), std::min(wide.size(), N - 1), field);
}

int SmallIconSize() { return GetSystemMetrics(SM_CXSMICON); }

}  // namespace

DWORD RecordBytes(RecordSize size) {
  switch (size) {
    case RecordSize::V1: return NOTIFYICONDATAW_V1_SIZE;
    case RecordSize::V2: return NOTIFYICONDATAW_V2_SIZE;
    case RecordSize::V3: return NOTIFYICONDATAW_V3_SIZE;
    case RecordSize::Unset: break;
  }
  return 0;
}

NOTIFYICONDATAW ToNotifyIconData(const IconRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = RecordBytes(record.size);
  data.hWnd = ToHwnd(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = ToHicon(record.icon);
  CopyField(data.szTip, record.tip);
  CopyField(data.szInfo, record.balloonText);
  data.uTimeout = record.timeoutOrVersion;
  CopyField(data.szInfoTitle, record.balloonTitle);
  data.dwInfoFlags = record.balloonFlags;
  return data;
}

std::optional<int> Win32TrayShell::ShellMajorVersion() {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  const auto version = versions_.Read(std::wstring(system, length) + L"\\shell32.dll");
  if (!version) return std::nullopt;
  return version->major;
}

WindowId Win32TrayShell::CreateHiddenWindow() {
  return ToWindowId(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
}

void Win32TrayShell::DestroyHiddenWindow(WindowId window) {
  // Fails only for a window that is gone already.
  DestroyWindow(ToHwnd(window));
}

std::uint32_t Win32TrayShell::RegisterTaskbarCreated() { return RegisterWindowMessageW(L"TaskbarCreated"); }

bool Win32TrayShell::Notify(NotifyRequest request, const IconRecord& record) {
  NOTIFYICONDATAW data = ToNotifyIconData(record);
  return Shell_NotifyIconW(static_cast<DWORD>(request), &data) != FALSE;
}

void Win32TrayShell::StartTimer(WindowId window, std::uintptr_t id, std::uint32_t intervalMs) {
  // Without the timer the balloon keeps the shell's own time-out.
  SetTimer(ToHwnd(window), id, intervalMs, nullptr);
}

void Win32TrayShell::StopTimer(WindowId window, std::uintptr_t id) {
  // Fails when the timer is not running, which is what was wanted.
  KillTimer(ToHwnd(window), id);
}

void Win32TrayShell::SetForeground(WindowId window) {
  // Refused when another program holds the foreground; the menu then still
  // opens but may stay open after a click elsewhere.
  SetForegroundWindow(ToHwnd(window));
}

IconHandle Win32TrayShell::LoadIconFile(const std::string& file) {
  // Not shared: shared images must not come from files.
  return ToIconHandle(static_cast<HICON>(LoadImageW(nullptr, Widen(file).c_str(), IMAGE_ICON, SmallIconSize(),
                                                    SmallIconSize(), LR_LOADFROMFILE | LR_LOADMAP3DCOLORS)));
}

IconHandle Win32TrayShell::LoadIconResource(const std::string& name) {
  return ToIconHandle(static_cast<HICON>(
      LoadImageW(instance_, Widen(name).c_str(), IMAGE_ICON, SmallIconSize(), SmallIconSize(), LR_LOADMAP3DCOLORS)));
}

IconHandle Win32TrayShell::ExtractIconFrom(const std::string& file, std::int32_t index) {
  HICON large = nullptr;
  // The count it returns also covers failures oddly; the handle is what tells.
  ExtractIconExW(Widen(file).c_str(), index, &large, nullptr, 1);
  return ToIconHandle(large);
}

void Win32TrayShell::ReleaseIcon(IconHandle icon) {
  // The shell keeps its own copy of a shown icon, so ours may go.
  DestroyIcon(ToHicon(icon));
}

}  // namespace kelvane
