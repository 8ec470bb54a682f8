// Power backend of the end-to-end test build: every call that would end the
// session or lock the desktop is appended to the file named by
// KELVANE_POWER_LOG instead, one line per call, and reported as successful;
// with KELVANE_POWER_REFUSE set, the calls that act are reported as refused;
// with KELVANE_POWER_CRASH set to "fault" or "throw", they end the program
// with an access violation or an exception that nothing catches. A session
// end that was not forced is waited for KELVANE_SESSION_WAIT seconds when
// that is set (the session never ends here).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/system_time_win32.h"
#include "power/power_api_win32.h"

namespace kelvane {
namespace {

class RecordingPowerApi : public PowerApi {
 public:
  ReportedVersion QueryVersion() override { return QuerySystemVersion(); }
  void SetShutdownPrivilege(bool enable) override {
    SetShutdownPrivilegeOfProcess(enable);
    Record(enable ? "privilege on" : "privilege off");
  }
  bool ExitSession(std::uint32_t flags) override { return Act("ExitWindowsEx " + std::to_string(flags)); }
  bool SetSuspendState(bool hibernate, bool force, bool wake) override {
    return Act("SetSuspendState " + std::to_string(hibernate) + " " + std::to_string(force) + " " +
               std::to_string(wake));
  }
  bool LockWorkStation() override { return Act("LockWorkStation"); }
  // Requested for real, and noted in the file named by KELVANE_AWAKE_LOG.
  void KeepSystemAwake(bool awake) override {
    KeepThreadAwake(awake);
    std::string text = awake ? "awake" : "may sleep";
    if (GetEnvironmentVariableW(L"KELVANE_POWER_STAMPS", nullptr, 0) != 0) {
      text += " @" + std::to_string(SystemClock().SinceStart().count());
    }
    NoteAwake(text);
  }
  // Set for real (Wine accepts it and wakes nothing), and noted there as
  // "wake at <milliseconds since 1970>" or "wake off".
  void SetWakeTimer(std::optional<Instant> at) override {
    wake_.Set(at);
    NoteAwake(at ? "wake at " + std::to_string(at->time_since_epoch().count()) : std::string("wake off"));
  }
  std::chrono::milliseconds SessionEndWait() override {
    wchar_t seconds[16] = {};
    if (GetEnvironmentVariableW(L"KELVANE_SESSION_WAIT", seconds, 16) == 0) return PowerApi::SessionEndWait();
    return std::chrono::seconds{_wtoi(seconds)};
  }

 private:
  static void NoteAwake(const std::string& text) {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", path, MAX_PATH) == 0) return;
    if (FILE* file = _wfopen(path, L"ab")) {
      std::fprintf(file, "%s\r\n", text.c_str());
      std::fclose(file);
    }
  }
  WakeTimerWin32 wake_;
  static bool Act(const std::string& line) {
    Record(line);
    wchar_t crash[16] = {};
    if (GetEnvironmentVariableW(L"KELVANE_POWER_CRASH", crash, 16) != 0) {
      if (std::wstring(crash) == L"throw") throw std::runtime_error("crash asked for by the test");
      RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    return GetEnvironmentVariableW(L"KELVANE_POWER_REFUSE", nullptr, 0) == 0;
  }
  // With KELVANE_POWER_STAMPS set, each line ends in " @" and the reading
  // of the program's elapsed clock, for the firing-latency benchmark.
  static bool Record(const std::string& line) {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KELVANE_POWER_LOG", path, MAX_PATH) == 0) return true;
    std::string text = line;
    if (GetEnvironmentVariableW(L"KELVANE_POWER_STAMPS", nullptr, 0) != 0) {
      text += " @" + std::to_string(SystemClock().SinceStart().count());
    }
    if (FILE* file = _wfopen(path, L"ab")) {
      std::fprintf(file, "%s\r\n", text.c_str());
      std::fclose(file);
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<PowerApi> CreatePowerApi() { return std::make_unique<RecordingPowerApi>(); }

}  // namespace kelvane
