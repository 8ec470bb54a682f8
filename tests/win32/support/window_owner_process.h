#pragma once
// A second program with three top-level windows, titled "<prefix> normal",
// "<prefix> minimised" and "<prefix> maximised" (tests/win32/helpers/
// window_owner.cpp), for the tests that hide other programs' windows.
#include <windows.h>

#include <string>

#include "base/handles_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane::testing {

inline constexpr UINT kStopReading = WM_APP + 1;  // see helpers/window_owner.cpp

inline std::wstring WindowOwnerHelperPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"kelvane_window_owner.exe";
}

// A second program with its three windows; closed at the end of the test.
class WindowOwnerProcess {
 public:
  explicit WindowOwnerProcess(std::wstring prefix) : prefix_(std::move(prefix)) {
    std::wstring commandLine = L"\"" + WindowOwnerHelperPath() + L"\" " + prefix_;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Under a heavily loaded wineserver a start now and then fails outright;
    // a second try tells that apart from a helper that cannot start at all.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
      started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &info) != FALSE;
      if (!started) startError_ = GetLastError();
    }
    if (!started) return;
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
  }
  ~WindowOwnerProcess() {
    if (!process_) return;
    if (!hung_) {
      for (const wchar_t* suffix : {L" normal", L" minimised", L" maximised"}) {
        if (HWND window = Find(suffix)) PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
    if (hung_ || WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
  }
  WindowOwnerProcess(const WindowOwnerProcess&) = delete;
  WindowOwnerProcess& operator=(const WindowOwnerProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD StartError() const { return startError_; }
  HWND Find(const wchar_t* suffix) const { return FindWindowW(nullptr, (prefix_ + suffix).c_str()); }
  bool WindowsShown() const {
    const HWND minimised = Find(L" minimised");
    const HWND maximised = Find(L" maximised");
    return Find(L" normal") != nullptr && minimised != nullptr && IsIconic(minimised) && maximised != nullptr &&
           IsZoomed(maximised);
  }
  // Makes its thread stop reading messages for a minute; true once it has.
  bool Hang() {
    const HWND window = Find(L" normal");
    if (window == nullptr || !PostMessageW(window, kStopReading, 60000, 0)) return false;
    hung_ = true;
    return PumpUntil([&] {
      DWORD_PTR result = 0;
      return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result) == 0;
    });
  }

 private:
  std::wstring prefix_;
  UniqueHandle process_;
  bool hung_ = false;
  DWORD startError_ = 0;
};

}  // namespace kelvane::testing
