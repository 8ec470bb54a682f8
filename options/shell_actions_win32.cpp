#include "options/shell_actions_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/handles_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {

void Win32ShellActions::OpenDocument(const std::string& path) {
  // Nothing is reported when no program opens the document: the user sees
  // that nothing opened.
  ShellExecuteW(GetDesktopWindow(), L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ShellActions::StartProcess(const std::string& commandLine) {
  std::wstring command = Widen(commandLine);  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return;  // a control panel that cannot start is not the dialog's to report
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
}

}  // namespace kelvane
