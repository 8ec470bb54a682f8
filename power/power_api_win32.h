#pragma once
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

}  // namespace kelvane
