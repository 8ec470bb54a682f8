#include <windows.h>
#include <powrprof.h>

#include "power/power_api_win32.h"

namespace kelvane {
namespace {

class Win32PowerApi : public PowerApi {
 public:
  ReportedVersion QueryVersion() override { return QuerySystemVersion(); }
  void SetShutdownPrivilege(bool enable) override { SetShutdownPrivilegeOfProcess(enable); }
  bool ExitSession(std::uint32_t flags) override { return ExitWindowsEx(flags, 0) != FALSE; }
  bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override {
    return ::SetSuspendState(hibernate, forceCritical, disableWakeEvent) != FALSE;
  }
  bool LockWorkStation() override { return ::LockWorkStation() != FALSE; }
  void KeepSystemAwake(bool awake) override { KeepThreadAwake(awake); }
};

}  // namespace

std::unique_ptr<PowerApi> CreatePowerApi() { return std::make_unique<Win32PowerApi>(); }

}  // namespace kelvane
