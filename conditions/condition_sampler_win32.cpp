#include "conditions/condition_sampler_win32.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
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

std::optional<std::vector<InterfaceOctets>> ConditionSamplerWin32::NetworkOctets() {
  // Looked up at each sample, every few seconds: the DLL stays loaded.
  SystemEntry<decltype(::GetIfTable2)> getTable(iphlpapi_, "GetIfTable2");
  SystemEntry<decltype(::FreeMibTable)> freeTable(iphlpapi_, "FreeMibTable");
  MIB_IF_TABLE2* table = nullptr;
  if (!freeTable.Available() || getTable.CallOr(NETIO_STATUS{ERROR_PROC_NOT_FOUND}, &table) != NO_ERROR ||
      table == nullptr) {
    return std::nullopt;
  }
  std::vector<InterfaceOctets> interfaces;
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    // Loopback traffic never leaves the computer, and the filter interfaces
    // (the packet scheduler's and the firewall's, a few per adapter) count
    // their adapter's traffic again.
    if (row.OperStatus != IfOperStatusUp || row.Type == IF_TYPE_SOFTWARE_LOOPBACK ||
        row.InterfaceAndOperStatusFlags.FilterInterface) {
      continue;
    }
    interfaces.push_back({row.InterfaceLuid.Value, row.InOctets, row.OutOctets});
  }
  freeTable.CallIfAvailable(table);
  return interfaces;
}

std::optional<ProcessorTimes> ConditionSamplerWin32::SystemTimes() {
  FILETIME idle{};
  FILETIME kernel{};
  FILETIME user{};
  if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
  const auto units = [](const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  };
  // The kernel's time includes the idle time.
  return ProcessorTimes{units(idle), units(kernel) + units(user)};
}

}  // namespace kelvane
