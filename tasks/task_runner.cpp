#include "tasks/task_runner.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/local_time.h"

namespace kelvane {
namespace {

void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  std::size_t at = 0;
  while ((at = text.find(pattern, at)) != std::string::npos) {
    text.replace(at, pattern.size(), replacement);
    // Resume after the inserted text so a replacement that contains the
    // pattern is not expanded again.
    at += replacement.size();
  }
}

}  // namespace

std::string ExpandPathVariables(std::string_view commandLine, const PathVariables& variables) {
  std::string expanded(commandLine);
  ReplaceAll(expanded, "%KLAPPDATA%", variables.dataFolder);
  ReplaceAll(expanded, "%SYS32%", variables.sys32);
  ReplaceAll(expanded, "%WINDIR%", variables.winDir);
  return expanded;
}

std::string FormatTaskDuration(std::chrono::seconds duration) {
  using namespace std::chrono;
  // A clock set back during a run would give a negative span; a run cannot
  // take less than nothing.
  const seconds timeOfDay = std::max(duration, seconds{0}) % days{1};
  const hh_mm_ss<seconds> parts{timeOfDay};
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%02d", static_cast<int>(parts.hours().count()),
                static_cast<int>(parts.minutes().count()), static_cast<int>(parts.seconds().count()));
  return text;
}

std::string TaskLogLine(const LocalTimeZone& zone, const ShellWaitInfo& info) {
  std::string line = FormatGeneralDate(zone, info.StartTime);
  line += ", ";
  line += FormatGeneralDate(zone, info.EndTime);
  line += ", ";
  line += FormatTaskDuration(info.Duration);
  line += ' ';
  line += info.CommandLine;
  line += "\r\n";
  return line;
}

std::string TaskLogNoteLine(const LocalTimeZone& zone, Instant when, std::string_view text) {
  std::string line = FormatGeneralDate(zone, when);
  line += ", ";
  line += text;
  line += "\r\n";
  return line;
}

TaskRunner::TaskRunner(TaskRunnerSystem system, std::string dataFolder)
    : system_(system), dataFolder_(std::move(dataFolder)) {}

PathVariables TaskRunner::CurrentPathVariables() const {
  return {dataFolder_, system_.environment.Variable("SystemRoot") + "\\system32",
          system_.environment.Variable("WinDir")};
}

std::string TaskRunner::LogFilePath() const {
  return dataFolder_ + "\\" + std::string(kTaskLogFileName);
}

void TaskRunner::RunTasks(const TaskList& tasks) {
  // Messages are handled while a task runs, so the caller's list may be
  // edited meanwhile; the run keeps to the list it was given.
  const TaskList snapshot = tasks;
  const PathVariables variables = CurrentPathVariables();
  const int count = std::min<int>(snapshot.TaskCount, kMaxTasks);
  for (int slot = 1; slot <= count && !cancelled_; ++slot) {
    const TaskRecord task = GetTaskRecord(snapshot, slot);
    if (!task.enabled || task.commandLine.empty()) continue;
    RunTask(ExpandPathVariables(task.commandLine, variables));
  }
}

bool TaskRunner::RunTask(const std::string& commandLine) {
  ShellWaitInfo info;
  info.CommandLine = commandLine;
  info.Log = true;
  info.LogFile = LogFilePath();
  return ShellAndWait(info);
}

bool TaskRunner::ShellAndWait(ShellWaitInfo& info) {
  const std::chrono::milliseconds interval{info.WaitInterval > 0 ? info.WaitInterval : kDefaultWaitIntervalMs};
  info.StartTime = system_.clock.Now();
  bool released = false;
  if (std::unique_ptr<StartedProcess> process = system_.launcher.Start(info.CommandLine)) {
    // No overall limit: a task that never ends keeps the runner waiting, but
    // the messages keep flowing between the steps.
    while (process->WaitFor(interval) == ProcessWait::TimedOut) system_.pump.ProcessPendingMessages();
    released = process->Close();
  }
  info.EndTime = system_.clock.Now();
  info.Duration = std::chrono::floor<std::chrono::seconds>(info.EndTime) - std::chrono::floor<std::chrono::seconds>(info.StartTime);
  if (info.Log && !info.LogFile.empty()) {
    TrimTaskLog(info);
    // A log that cannot be written loses only this line; the task has run.
    system_.logFile.Append(info.LogFile, TaskLogLine(system_.zone, info));
  }
  return released;
}

void TaskRunner::LogNote(std::string_view text) {
  ShellWaitInfo info;
  info.Log = true;
  info.LogFile = LogFilePath();
  TrimTaskLog(info);
  system_.logFile.Append(info.LogFile, TaskLogNoteLine(system_.zone, system_.clock.Now(), text));
}

bool TaskRunner::TrimTaskLog(const ShellWaitInfo& info) {
  if (!info.Log) return false;
  const std::uint64_t limit = static_cast<std::uint64_t>(info.MaxLogSize > 0 ? info.MaxLogSize : kDefaultMaxLogSize);
  const std::optional<std::uint64_t> size = system_.logFile.Size(info.LogFile);
  if (!size || *size <= limit) return false;
  return system_.logFile.Remove(info.LogFile);
}

}  // namespace kelvane
