#include <windows.h>
#include <powrprof.h>

#include "base/system_library_win32.h"
#include "power/power_api_win32.h"

namespace kelvane {
namespace {

class Win32PowerApi : public PowerApi {
 public:
  ReportedVersion QueryVersion() override { return QuerySystemVersion(); }
  void SetShutdownPrivilege(bool enable) override { SetShutdownPrivilegeOfProcess(enable); }
  bool ExitSession(std::uint32_t flags) override { return ExitWindowsEx(flags, 0) != FALSE; }
  bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override {
    // Without the power DLL the suspend is reported as refused, as any
    // other refusal is.
    return setSuspendState_.CallOr(BOOLEAN{FALSE}, BOOLEAN{hibernate}, BOOLEAN{forceCritical},
                                   BOOLEAN{disableWakeEvent}) != FALSE;
  }
  bool LockWorkStation() override { return ::LockWorkStation() != FALSE; }
  void KeepSystemAwake(bool awake) override { KeepThreadAwake(awake); }
  void SetWakeTimer(std::optional<Instant> at) override { wake_.Set(at); }

 private:
  WakeTimerWin32 wake_;
  SystemLibrary powrprof_{L"powrprof.dll"};
  SystemEntry<decltype(::SetSuspendState)> setSuspendState_{powrprof_, "SetSuspendState"};
};

}  // namespace

std::unique_ptr<PowerApi> CreatePowerApi() { return std::make_unique<Win32PowerApi>(); }

}  // namespace kelvane
