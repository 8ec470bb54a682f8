#include "tasks/task_runner_win32.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"
#include "base/system_win32.h"
#include "base/window_base_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

class ProcessWin32 : public StartedProcess {
 public:
  explicit ProcessWin32(UniqueHandle process) : process_(std::move(process)) {}

  ProcessWait WaitFor(std::chrono::milliseconds timeout) override {
    if (!process_) return ProcessWait::Failed;
    // INFINITE is one above the longest finite time-out.
    const auto milliseconds = static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(
        timeout.count(), 0, static_cast<std::chrono::milliseconds::rep>(INFINITE - 1)));
    switch (WaitForSingleObject(process_.get(), milliseconds)) {
      case WAIT_OBJECT_0: return ProcessWait::Ended;
      case WAIT_TIMEOUT: return ProcessWait::TimedOut;
      default: return ProcessWait::Failed;
    }
  }

  bool Close() override {
    if (!process_) return false;
    return CloseHandle(process_.release()) != FALSE;
  }

 private:
  UniqueHandle process_;
};

std::string ToAnsiCodePage(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<std::size_t>(length), '\0');
  // Characters the code page lacks become its default character.
  if (WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr) != length) {
    return {};
  }
  return ansi;
}

}  // namespace

std::unique_ptr<StartedProcess> ProcessLauncherWin32::Start(const std::string& commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring buffer = Widen(commandLine);
  if (buffer.empty()) return nullptr;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const OrdinaryDllSearchForChildren ordinarySearch;
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &started)) {
    return nullptr;
  }
  // Only the process is waited for; its first thread is of no interest.
  UniqueHandle thread(started.hThread);
  return std::make_unique<ProcessWin32>(UniqueHandle(started.hProcess));
}

void MessagePumpWin32::ProcessPendingMessages() { kelvane::ProcessPendingMessages(); }

std::string EnvironmentReaderWin32::Variable(std::string_view name) const { return EnvironmentVariable(name); }

std::optional<std::uint64_t> TaskLogFileWin32::Size(const std::string& path) {
  const UniqueFileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool TaskLogFileWin32::Remove(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != FALSE; }

bool TaskLogFileWin32::Append(const std::string& path, std::string_view text) {
  const std::string bytes = ToAnsiCodePage(text);
  if (bytes.empty()) return text.empty();
  const UniqueFileHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
         written == bytes.size();
}

TaskRunnerWin32::TaskRunnerWin32(std::string dataFolder)
    : runner_({launcher_, pump_, clock_, zone_, environment_, logFile_}, std::move(dataFolder)) {}

}  // namespace kelvane
