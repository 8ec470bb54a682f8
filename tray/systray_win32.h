#pragma once
// cSystray's requests on the shell's notification area.
#include <windows.h>
#include <shellapi.h>

#include "base/file_version_win32.h"
#include "tray/systray.h"

namespace kelvane {

inline HICON ToHicon(IconHandle icon) { return reinterpret_cast<HICON>(icon); }
inline IconHandle ToIconHandle(HICON icon) { return reinterpret_cast<IconHandle>(icon); }

// The bytes a record announces: the published size of its layout.
DWORD RecordBytes(RecordSize size);

// The wide-character record the shell reads; every text NUL-terminated and
// the rest of its field zero.
NOTIFYICONDATAW ToNotifyIconData(const IconRecord& record);

class Win32TrayShell final : public TrayShell {
 public:
  explicit Win32TrayShell(HINSTANCE instance) : instance_(instance) {}

  std::optional<int> ShellMajorVersion() override;
  WindowId CreateHiddenWindow() override;
  void DestroyHiddenWindow(WindowId window) override;
  std::uint32_t RegisterTaskbarCreated() override;
  bool Notify(NotifyRequest request, const IconRecord& record) override;
  void StartTimer(WindowId window, std::uintptr_t id, std::uint32_t intervalMs) override;
  void StopTimer(WindowId window, std::uintptr_t id) override;
  void SetForeground(WindowId window) override;
  IconHandle LoadIconFile(const std::string& file) override;
  IconHandle LoadIconResource(const std::string& name) override;
  IconHandle ExtractIconFrom(const std::string& file, std::int32_t index) override;
  void ReleaseIcon(IconHandle icon) override;

 private:
  HINSTANCE instance_;
  FileVersionReader versions_;
};

}  // namespace kelvane
