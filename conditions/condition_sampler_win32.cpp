#include "conditions/condition_sampler_win32.h"

#include <tlhelp32.h>

#include "base/system_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {

std::chrono::milliseconds ConditionSamplerWin32::SinceLastInput() {
  LASTINPUTINFO last{sizeof last, 0};
  // Without an answer the input counts as now: the idle count waits rather
  // than fires.
  if (!GetLastInputInfo(&last)) return std::chrono::milliseconds{0};
  return TicksSince(GetTickCount(), last.dwTime);
}

std::vector<UniqueHandle> ConditionSamplerWin32::OpenProcessesOf(const std::string& executable) {
  std::vector<UniqueHandle> processes;
  const std::wstring wanted = Widen(executable);
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || wanted.empty()) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    DWORD theirs = 0;
    if (CompareStringOrdinal(entry.szExeFile, -1, wanted.c_str(), -1, TRUE) != CSTR_EQUAL) continue;
    if (!ProcessIdToSessionId(entry.th32ProcessID, &theirs) || theirs != session) continue;
    // A process that ended since the snapshot, or one of another user, is
    // not waited for.
    if (UniqueHandle process{OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)}) {
      processes.push_back(std::move(process));
    }
  }
  return processes;
}

int ConditionSamplerWin32::WatchProgram(const std::string& executable) {
  processes_ = OpenProcessesOf(executable);
  return static_cast<int>(processes_.size());
}

int ConditionSamplerWin32::CountProgram(const std::string& executable) {
  return static_cast<int>(OpenProcessesOf(executable).size());
}

int ConditionSamplerWin32::WatchedProgramsRunning() {
  int running = 0;
  for (const UniqueHandle& process : processes_) {
    if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) ++running;
  }
  return running;
}

std::vector<RunningProgram> ConditionSamplerWin32::RunningPrograms() {
  std::vector<RunningProgram> programs;
  EnumWindows(
      [](HWND window, LPARAM found) -> BOOL {
        // The windows a user knows a program by: shown, titled, owned by
        // no other window, and not this program's.
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr || id == GetCurrentProcessId()) {
          return TRUE;
        }
        const std::wstring title = WindowText(window);
        const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        wchar_t path[MAX_PATH];
        DWORD length = MAX_PATH;
        if (title.empty() || !process || !QueryFullProcessImageNameW(process.get(), 0, path, &length)) return TRUE;
        reinterpret_cast<std::vector<RunningProgram>*>(found)->push_back(
            {ExecutableOf(Narrow(std::wstring_view(path, length))), Narrow(title)});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&programs));
  return programs;
}

}  // namespace kelvane
