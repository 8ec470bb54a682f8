// Firing latency of the real program under Wine: arms a short countdown by
// clicking "&Enable" in kelvane-recording.exe and compares the elapsed-clock
// reading of its power call with the target: the reading taken as its timer
// starts (the request to keep the computer awake, which comes with it) plus
// the countdown's length. Prints one line per arming and a summary; exits 1
// when a call came before its target or later than the limit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "base/control_ids.h"
#include "bench/bench_support_win32.h"
#include "base/system_time_win32.h"

namespace {

using kelvane::MainControl;

constexpr long long kCountdownMs = 2000;
constexpr long long kLimitMs = 50;
constexpr int kArmings = 6;

using kelvane::bench::Folder;
using kelvane::bench::SetConfig;

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(5);
  }
  return true;
}

// The elapsed-clock stamp of the first line of the log that begins with
// `call`, or -1.
long long Stamp(const std::wstring& log, const char* call) {
  std::string text;
  if (FILE* file = _wfopen(log.c_str(), L"rb")) {
    char buffer[512];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
  }
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const auto at = line.find(" @");
    if (line.rfind(call, 0) == 0 && at != std::string::npos) return std::stoll(line.substr(at + 2));
  }
  return -1;
}

}  // namespace

int wmain() {
  const std::wstring folder = Folder();
  const std::wstring log = folder + L"\\kelvane-bench-power.log";
  const std::wstring awakeLog = folder + L"\\kelvane-bench-awake.log";
  SetEnvironmentVariableW(L"KELVANE_POWER_LOG", log.c_str());
  SetEnvironmentVariableW(L"KELVANE_AWAKE_LOG", awakeLog.c_str());
  SetEnvironmentVariableW(L"KELVANE_POWER_STAMPS", L"1");
  SetConfig(L"Action", L"3");
  SetConfig(L"Prompt", L"False");
  SetConfig(L"TrayTips", L"False");
  SetConfig(L"StartUp", L"0");
  SetConfig(L"Method", L"1");
  SetConfig(L"tUnit", L"2");
  SetConfig(L"tPeriod", std::to_wstring(kCountdownMs / 1000).c_str());

  std::vector<long long> latencies;
  for (int run = 1; run <= kArmings; ++run) {
    DeleteFileW(log.c_str());
    DeleteFileW(awakeLog.c_str());
    std::wstring command = L"\"" + folder + L"\\kelvane-recording.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      std::printf("cannot start kelvane-recording.exe\n");
      return 2;
    }
    HWND main = nullptr;
    // The window counts once it is shown: the start-up sequence has run then.
    WaitUntil([&] { return (main = FindWindowW(kelvane::kMainWindowClass, nullptr)) != nullptr && IsWindowVisible(main); },
              10000);
    const HWND enable = main != nullptr ? GetDlgItem(main, static_cast<int>(MainControl::cmdTimer)) : nullptr;
    long long armed = -1;
    long long stamp = -1;
    if (enable != nullptr) {
      SendMessageW(enable, BM_CLICK, 0, 0);
      WaitUntil([&] { return (stamp = Stamp(log, "SetSuspendState")) >= 0; }, 10000);
      armed = Stamp(awakeLog, "awake");
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (stamp < 0 || armed < 0) {
      std::printf("arming %d: no power call\n", run);
      return 2;
    }
    const long long latency = stamp - (armed + kCountdownMs);
    latencies.push_back(latency);
    std::printf("arming %d: %lld ms\n", run, latency);
  }
  const long long worstEarly = *std::min_element(latencies.begin(), latencies.end());
  const long long worstLate = *std::max_element(latencies.begin(), latencies.end());
  std::printf("firing latency over %d armings: %lld to %lld ms (limit 0 to %lld ms)\n", kArmings, worstEarly,
              worstLate, kLimitMs);
  return worstEarly >= 0 && worstLate <= kLimitMs ? 0 : 1;
}
