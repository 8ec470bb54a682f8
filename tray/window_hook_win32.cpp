#include "tray/window_hook_win32.h"

#include <commctrl.h>

#include <string>

#include "base/handles_win32.h"
#include "base/product.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR record) noexcept {
  return RunHook(reinterpret_cast<HookRecord*>(record), WindowMessage{ToWindowId(window), message, wParam, lParam});
}

UINT_PTR SubclassId(const HookRecord& record) { return reinterpret_cast<UINT_PTR>(&record); }

}  // namespace

bool SubclassHookSystem::IsWindow(WindowId window) const { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool SubclassHookSystem::BelongsToThisProcess(WindowId window) const {
  DWORD process = 0;
  return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 && process == GetCurrentProcessId();
}

bool SubclassHookSystem::IsWideWindow(WindowId window) const { return IsWindowUnicode(ToHwnd(window)) != FALSE; }

std::uint32_t SubclassHookSystem::Install(HookRecord& record) {
  // Records are touched by no other thread; Windows' subclassing refuses
  // such windows anyway, but not every implementation of it does.
  if (GetWindowThreadProcessId(ToHwnd(record.window), nullptr) != GetCurrentThreadId()) return ERROR_ACCESS_DENIED;
  SetLastError(ERROR_SUCCESS);
  if (SetWindowSubclass(ToHwnd(record.window), HookProc, SubclassId(record), reinterpret_cast<DWORD_PTR>(&record))) {
    return 0;
  }
  // The service does not always say why (a window of another thread, for
  // one); the report still needs a code that is not success.
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
}

void SubclassHookSystem::Restore(HookRecord& record) {
  // Fails only when the window is gone already, with nothing left to undo.
  RemoveWindowSubclass(ToHwnd(record.window), HookProc, SubclassId(record));
}

std::intptr_t SubclassHookSystem::CallPrevious(HookRecord& record, const WindowMessage& message) {
  return DefSubclassProc(ToHwnd(record.window), message.uMsg, message.wParam, message.lParam);
}

void SubclassHookSystem::SendNullMessage(WindowId window, bool) {
  // WM_NULL carries no text, so the wide form serves narrow windows too.
  SendMessageW(ToHwnd(window), WM_NULL, 0, 0);
}

bool WriteEventLogError(const std::wstring& text) {
  const UniqueEventSource source(RegisterEventSourceW(nullptr, kProductNameWide.data()));
  if (!source) return false;
  const wchar_t* strings[] = {text.c_str()};
  return ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr) != FALSE;
}

void EventLogErrorReporter::Report(const HookError& error) {
  // The box below tells the user even when the log is unavailable.
  WriteEventLogError(Widen(EventLogText(error)));
  MessageBoxW(nullptr, Widen(MessageBoxText(error)).c_str(), Widen(MessageBoxTitle(error)).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace kelvane
