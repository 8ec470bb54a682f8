#pragma once
// The task runner on Windows: processes, the message pump, the environment
// and the log file behind the runner's seams.

#include <memory>
#include <string>

#include "base/system_time_win32.h"
#include "tasks/task_runner.h"

namespace kelvane {

// Starts command lines with CreateProcessW in the program's own environment
// and folder; the started program's window opens the normal way.
class ProcessLauncherWin32 : public ProcessLauncher {
 public:
  std::unique_ptr<StartedProcess> Start(const std::string& commandLine) override;
};

// Dispatches every message waiting in this thread's queue, so timers, the
// tray and hotkeys stay live while a task runs.
class MessagePumpWin32 : public MessagePump {
 public:
  void ProcessPendingMessages() override;
};

class EnvironmentReaderWin32 : public EnvironmentReader {
 public:
  std::string Variable(std::string_view name) const override;
};

// The log is plain text in the system's ANSI code page.
class TaskLogFileWin32 : public TaskLogFile {
 public:
  std::optional<std::uint64_t> Size(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Append(const std::string& path, std::string_view text) override;
};

// The runner as the main window owns it. It handles window messages while it
// waits, so it must outlive any RunTasks call in progress.
class TaskRunnerWin32 {
 public:
  // `dataFolder`: the per-user data folder, UTF-8, without a trailing backslash.
  explicit TaskRunnerWin32(std::string dataFolder);
  TaskRunnerWin32(const TaskRunnerWin32&) = delete;
  TaskRunnerWin32& operator=(const TaskRunnerWin32&) = delete;

  void RunTasks(const TaskList& tasks) { runner_.RunTasks(tasks); }
  void Cancel() { runner_.Cancel(); }
  void LogNote(std::string_view text) { runner_.LogNote(text); }
  bool RunTask(const std::string& commandLine) { return runner_.RunTask(commandLine); }
  std::string LogFilePath() const { return runner_.LogFilePath(); }

 private:
  ProcessLauncherWin32 launcher_;
  MessagePumpWin32 pump_;
  SystemClock clock_;
  UserLocalTimeZone zone_;
  EnvironmentReaderWin32 environment_;
  TaskLogFileWin32 logFile_;
  TaskRunner runner_;
};

}  // namespace kelvane
