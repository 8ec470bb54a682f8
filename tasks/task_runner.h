#pragma once
// Runs the user's task list one command after another, waiting for each
// process while the user interface keeps handling its messages, and logs
// every run to a plain-text file in the data folder.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "tasks/task_records.h"

namespace kelvane {

inline constexpr std::string_view kTaskLogFileName = "TasksLog.txt";
inline constexpr std::int32_t kDefaultWaitIntervalMs = 1000;
inline constexpr std::int32_t kDefaultMaxLogSize = 20480;

// Replacement texts of the three path variables a command line may name.
struct PathVariables {
  std::string dataFolder;  // %KLAPPDATA%
  std::string sys32;       // %SYS32%
  std::string winDir;      // %WINDIR%
};

// Replaces "%KLAPPDATA%", then "%SYS32%", then "%WINDIR%", each everywhere in
// the result of the previous step, matching case exactly.
std::string ExpandPathVariables(std::string_view commandLine, const PathVariables& variables);

// One run of a command line.
struct ShellWaitInfo {
  std::string CommandLine;           // already expanded
  std::int32_t WaitInterval = 0;     // milliseconds per wait step; 0 or less means 1000
  bool Log = false;
  std::string LogFile;               // full path
  std::int32_t MaxLogSize = 0;       // bytes; 0 or less means 20480
  Instant StartTime{};               // just before the start
  Instant EndTime{};                 // just after the wait
  std::chrono::seconds Duration{};   // EndTime minus StartTime
};

// Hours, minutes and seconds of the time-of-day part as "HH.NN.SS".
std::string FormatTaskDuration(std::chrono::seconds duration);
// The log line of a finished run, CRLF included.
std::string TaskLogLine(const LocalTimeZone& zone, const ShellWaitInfo& info);
// A log line that is not a run: the date, a comma and the text, CRLF included.
std::string TaskLogNoteLine(const LocalTimeZone& zone, Instant when, std::string_view text);

enum class ProcessWait { Ended, TimedOut, Failed };

// A started process; destroying it releases what Close has not.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  virtual ProcessWait WaitFor(std::chrono::milliseconds timeout) = 0;
  // Releases the process; true when that succeeded.
  virtual bool Close() = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Null when the command line could not be started.
  virtual std::unique_ptr<StartedProcess> Start(const std::string& commandLine) = 0;
};

// Lets the user interface handle whatever arrived while the runner waits.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void ProcessPendingMessages() = 0;
};

class EnvironmentReader {
 public:
  virtual ~EnvironmentReader() = default;
  // Empty text when the variable is not set.
  virtual std::string Variable(std::string_view name) const = 0;
};

class TaskLogFile {
 public:
  virtual ~TaskLogFile() = default;
  // Null when the file is missing or cannot be read.
  virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Appends to the file, creating it when missing.
  virtual bool Append(const std::string& path, std::string_view text) = 0;
};

struct TaskRunnerSystem {
  ProcessLauncher& launcher;
  MessagePump& pump;
  const Clock& clock;
  const LocalTimeZone& zone;
  const EnvironmentReader& environment;
  TaskLogFile& logFile;
};

class TaskRunner {
 public:
  // `dataFolder` is the per-user data folder without a trailing backslash.
  TaskRunner(TaskRunnerSystem system, std::string dataFolder);

  // Runs every enabled task with a command line, in slot order, until
  // cancelled.
  void RunTasks(const TaskList& tasks);
  // No further task starts, in this run or a later one; a task already
  // running finishes on its own and is logged.
  void Cancel() { cancelled_ = true; }
  // Appends a line of its own to the task log: the date and `text`.
  void LogNote(std::string_view text);
  // Runs one expanded command line with logging; true when a process ran.
  bool RunTask(const std::string& commandLine);
  // Starts, waits and logs; true when a process was started and released.
  bool ShellAndWait(ShellWaitInfo& info);
  // Deletes the log when it is larger than its limit; true when deleted.
  bool TrimTaskLog(const ShellWaitInfo& info);

  PathVariables CurrentPathVariables() const;
  std::string LogFilePath() const;

 private:
  TaskRunnerSystem system_;
  std::string dataFolder_;
  bool cancelled_ = false;
};

}  // namespace kelvane
