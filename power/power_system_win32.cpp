#include <windows.h>

#include "base/handles_win32.h"
#include "power/power_api_win32.h"

namespace kelvane {

ReportedVersion QuerySystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  // The classification needs the version as the system reports it to this
  // program, which is exactly what the deprecated call returns.
  if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

void SetShutdownPrivilegeOfProcess(bool enable) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  const UniqueHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  // A refused adjustment shows up as a failed power call, which the callers
  // already treat as "nothing happened".
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

void WakeTimerWin32::Set(std::optional<Instant> at) {
  if (!at) {
    if (timer_) CancelWaitableTimer(timer_.get());
    return;
  }
  if (!timer_) timer_.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_MODIFY_STATE | SYNCHRONIZE));
  if (!timer_) return;  // The action then waits for the user to wake the computer.
  // An absolute due time in 100 ns units since 1601 (a positive value).
  constexpr long long kUnixEpochIn1601Ms = 11644473600000LL;
  LARGE_INTEGER due{};
  due.QuadPart = (at->time_since_epoch().count() + kUnixEpochIn1601Ms) * 10000;
  // fResume: the timer wakes the computer. Without the right to do so the
  // timer still runs and the program acts when the computer wakes.
  SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE);
}

void KeepThreadAwake(bool awake) {
  // A refusal leaves the idle timer as it is; there is nothing to retry.
  SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

bool IsShutdownPrivilegeEnabled() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  const UniqueHandle token(raw);
  LUID luid{};
  if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid)) return false;
  PRIVILEGE_SET set{};
  set.PrivilegeCount = 1;
  set.Control = PRIVILEGE_SET_ALL_NECESSARY;
  set.Privilege[0].Luid = luid;
  BOOL held = FALSE;
  return PrivilegeCheck(token.get(), &set, &held) && held;
}

}  // namespace kelvane
