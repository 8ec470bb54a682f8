#pragma once
#include "base/handles_win32.h"
#include "power/power.h"

namespace kelvane {

// The version query and the shutdown privilege are shared with the recording
// test backend, which replaces only the calls that end the session.
ReportedVersion QuerySystemVersion();
void SetShutdownPrivilegeOfProcess(bool enable);
bool IsShutdownPrivilegeEnabled();
// The execution-state request of the calling thread, which is the
// program's only thread.
void KeepThreadAwake(bool awake);

// A waitable timer set with resume, so that a sleeping computer wakes at
// its time; shared with the recording backend, which notes each request.
class WakeTimerWin32 {
 public:
  void Set(std::optional<Instant> at);

 private:
  UniqueHandle timer_;
};

}  // namespace kelvane
