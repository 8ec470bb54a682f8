// Kelvane against the native floor (bench/floor_win32.cpp) under Wine: the
// time from process start to a visible main window, the peak memory, and the
// CPU each spends over 20 s with nothing to do and, for Kelvane, 20 s armed
// with an hour to go; the pointer rests away from both. Prints each figure
// with its ratio to the floor and the targets; exits 1 when one is missed.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "base/control_ids.h"
#include "bench/bench_support_win32.h"

namespace {

using kelvane::MainControl;

constexpr int kStarts = 12;
constexpr DWORD kIdleMs = 20000;
constexpr double kTickMs = 500;

using kelvane::bench::Folder;
using kelvane::bench::SetConfig;

double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ReadWhole(const std::wstring& path) {
  std::string text;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

// Wine answers GetProcessTimes for another process with zero CPU, so the
// time comes from Linux: the process whose command line names `exe`, found
// through Wine's drive Z: (the Unix root), and its /proc/<pid>/stat (user
// and system time, fields 14 and 15, in 10 ms steps).
double CpuMs(const std::wstring& exe) {
  const std::string name(exe.begin(), exe.end());
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double ms = -1;
  do {
    const std::wstring pid = found.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string command = ReadWhole(L"Z:\\proc\\" + pid + L"\\cmdline");
    const std::string program = command.substr(0, command.find('\0'));
    if (program.size() < name.size() || program.compare(program.size() - name.size(), name.size(), name) != 0) {
      continue;
    }
    const std::string stat = ReadWhole(L"Z:\\proc\\" + pid + L"\\stat");
    std::size_t at = stat.rfind(')');
    unsigned long long fields[13] = {};
    // Fields 3 to 15 follow the command's name in parentheses.
    for (int field = 0; field < 13 && at != std::string::npos; ++field) {
      at = stat.find(' ', at + 1);
      if (at != std::string::npos) fields[field] = std::strtoull(stat.c_str() + at + 1, nullptr, 10);
    }
    ms = static_cast<double>(fields[11] + fields[12]) * 10.0;
    break;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return ms;
}

double PeakMegabytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

class Started {
 public:
  Started(const std::wstring& exe, const wchar_t* windowClass) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    start_ = NowMs();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
      return;
    }
    // Polled without a pause: the figure is the time to the window, not to the next poll.
    const double deadline = start_ + 20000;
    while (NowMs() < deadline) {
      window_ = FindWindowW(windowClass, nullptr);
      if (window_ != nullptr && IsWindowVisible(window_)) {
        visibleMs_ = NowMs() - start_;
        break;
      }
      window_ = nullptr;
      Sleep(0);
    }
  }
  ~Started() {
    if (info_.hProcess == nullptr) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  HANDLE process() const { return info_.hProcess; }
  HWND window() const { return window_; }
  double visibleMs() const { return visibleMs_; }

 private:
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
  double start_ = 0;
  double visibleMs_ = -1;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

double CpuOver(const std::wstring& exeName, DWORD ms) {
  const double before = CpuMs(exeName);
  Sleep(ms);
  return before < 0 ? -1 : CpuMs(exeName) - before;
}

struct Figures {
  double startMs = -1;
  double peakMb = -1;
  double idleCpuMs = -1;
  double armedCpuMs = -1;
};

bool Arm(HWND main) {
  const HWND enable = GetDlgItem(main, static_cast<int>(MainControl::cmdTimer));
  DWORD_PTR result = 0;
  SendMessageTimeoutW(enable, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  wchar_t caption[32] = {};
  GetWindowTextW(enable, caption, 32);
  return std::wstring(caption) == L"&Disable";
}

// The CPU and memory of one program, started once more after the timed starts.
void MeasureRunning(const std::wstring& folder, const std::wstring& exeName, const wchar_t* windowClass, bool armable,
                    Figures& figures) {
  const Started program(folder + L"\\" + exeName, windowClass);
  if (program.window() == nullptr) return;
  Sleep(1000);  // the start-up's last messages
  figures.idleCpuMs = CpuOver(exeName, kIdleMs);
  if (armable && Arm(program.window())) figures.armedCpuMs = CpuOver(exeName, kIdleMs);
  figures.peakMb = PeakMegabytes(program.process());
}

}  // namespace

int wmain() {
  const std::wstring folder = Folder();
  SetConfig(L"TrayTips", L"False");
  SetConfig(L"StartUp", L"0");
  SetConfig(L"Prompt", L"False");
  SetConfig(L"Method", L"1");
  SetConfig(L"tUnit", L"0");
  SetConfig(L"tPeriod", L"1");
  // The pointer away from every window: Wine emulates mouse tracking by
  // polling while the pointer rests on one of its windows.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

  // Starts of the two alternate, so that whatever else the machine does
  // falls on both alike; the first of each fills Wine's caches of the DLLs
  // and is left out.
  Figures floor;
  Figures kelvane;
  std::vector<double> floorStarts;
  std::vector<double> kelvaneStarts;
  for (int n = 0; n < kStarts; ++n) {
    for (const bool isFloor : {true, false}) {
      const Started program(folder + (isFloor ? L"\\kelvane_floor.exe" : L"\\kelvane.exe"),
                            isFloor ? L"KelvaneFloor" : kelvane::kMainWindowClass);
      if (program.visibleMs() < 0) {
        std::printf("a program did not show its window\n");
        return 2;
      }
      if (n > 0) (isFloor ? floorStarts : kelvaneStarts).push_back(program.visibleMs());
    }
  }
  floor.startMs = Median(floorStarts);
  kelvane.startMs = Median(kelvaneStarts);
  MeasureRunning(folder, L"kelvane_floor.exe", L"KelvaneFloor", false, floor);
  MeasureRunning(folder, L"kelvane.exe", kelvane::kMainWindowClass, true, kelvane);
  if (floor.startMs < 0 || kelvane.startMs < 0 || floor.idleCpuMs < 0 || kelvane.armedCpuMs < 0) {
    std::printf("a program did not start, show its window or arm\n");
    return 2;
  }
  const double ticks = kIdleMs / kTickMs;
  // A tick redraws a status line and perhaps the tray's tooltip: well under
  // a millisecond of work, which the scheduler's steps round up.
  constexpr double kMaxTickCpuMs = 5.0;
  const double startRatio = kelvane.startMs / floor.startMs;
  const double memoryRatio = kelvane.peakMb / floor.peakMb;
  // CPU time is counted in the scheduler's steps; a floor of none is taken as one step.
  const double idleRatio = kelvane.idleCpuMs / std::max(floor.idleCpuMs, 1.0);
  const double perTickMs = (kelvane.armedCpuMs - kelvane.idleCpuMs) / ticks;
  std::printf("%-34s %10s %10s %7s  %s\n", "measure", "floor", "Kelvane", "ratio", "target");
  std::printf("%-34s %10.1f %10.1f %7.2f  <= 1.20\n", "start to visible window (ms)", floor.startMs,
              kelvane.startMs, startRatio);
  std::printf("%-34s %10.1f %10.1f %7.2f  <= 1.15\n", "peak working set (MB)", floor.peakMb, kelvane.peakMb,
              memoryRatio);
  std::printf("%-34s %10.1f %10.1f %7.2f  no more than the floor\n", "CPU over 20 s disarmed (ms)", floor.idleCpuMs,
              kelvane.idleCpuMs, idleRatio);
  std::printf("%-34s %10s %10.1f %7s  the 500 ms tick only\n", "CPU over 20 s armed (ms)", "-", kelvane.armedCpuMs,
              "-");
  std::printf("%-34s %10s %10.2f %7s  <= %.2f\n", "CPU per tick while armed (ms)", "-", perTickMs, "-",
              kMaxTickCpuMs);
  // The disarmed figure allows a tenth for the scheduler's coarse steps.
  const bool met = startRatio <= 1.2 && memoryRatio <= 1.15 &&
                   kelvane.idleCpuMs <= std::max(floor.idleCpuMs, 1.0) * 1.1 && perTickMs <= kMaxTickCpuMs;
  return met ? 0 : 1;
}
