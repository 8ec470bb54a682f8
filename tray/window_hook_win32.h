#pragma once
// The window hook on the common controls' subclassing service, and the
// reports of its failures.
#include <windows.h>

#include "base/window_id_win32.h"
#include "tray/message_hook.h"

namespace kelvane {

// Each hook record is one subclass of its window, identified by the record's
// address, so several owners can hook one window and each sees its own
// record. The previous procedure is the next one down the subclass chain;
// called from outside any call through the hook (CallPrevProc), it is the
// window's own procedure.
class SubclassHookSystem final : public HookSystem {
 public:
  bool IsWindow(WindowId window) const override;
  bool BelongsToThisProcess(WindowId window) const override;
  bool IsWideWindow(WindowId window) const override;
  std::uint32_t Install(HookRecord& record) override;
  void Restore(HookRecord& record) override;
  std::intptr_t CallPrevious(HookRecord& record, const WindowMessage& message) override;
  void SendNullMessage(WindowId window, bool wide) override;
};

// Writes an error entry to the application event log under the source
// "Kelvane"; false when the log refused it.
bool WriteEventLogError(const std::wstring& text);

// Each failure goes to the application event log and into a warning box.
class EventLogErrorReporter final : public ErrorReporter {
 public:
  void Report(const HookError& error) override;
};

}  // namespace kelvane
