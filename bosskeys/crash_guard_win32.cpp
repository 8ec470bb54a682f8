#include "bosskeys/crash_guard_win32.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

#include "bosskeys/hidden_record_win32.h"
#include "bosskeys/window_hiding.h"
#include "bosskeys/window_list_win32.h"

namespace kelvane {
namespace {

// The dying program's own hider is out of reach here; the record, written
// at every hide and removed at every show, names the same windows.
void ShowRecordedWindows() noexcept {
  try {
    Win32WindowList desktop;
    VolatileHiddenWindowsRecord record;
    WindowHider(desktop, &record).ShowRecordedWindows();
  } catch (...) {
    // Out of memory in a dying process: the next start shows them.
  }
}

LONG WINAPI ShowWindowsThenCrash(EXCEPTION_POINTERS*) noexcept {
  ShowRecordedWindows();
  return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void ShowWindowsThenTerminate() noexcept {
  ShowRecordedWindows();
  std::abort();
}

}  // namespace

void ShowHiddenWindowsOnCrash() noexcept {
  SetUnhandledExceptionFilter(ShowWindowsThenCrash);
  std::set_terminate(ShowWindowsThenTerminate);
}

}  // namespace kelvane
