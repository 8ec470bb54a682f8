#pragma once
// The user's task list as record strings: slot, enabled flag, name and
// command line, each followed by the currency sign.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr int kMaxTasks = 100;
// U+00A4 CURRENCY SIGN in UTF-8.
inline constexpr std::string_view kTaskSeparator = "\xC2\xA4";

struct TaskRecord {
  bool enabled = false;
  std::string name;
  std::string commandLine;
  friend bool operator==(const TaskRecord&, const TaskRecord&) = default;
};

struct TaskList {
  // Slot 0 is never used; slots 1 to 100 hold the records.
  std::array<std::string, kMaxTasks + 1> Tasks{};
  std::int32_t TaskCount = 0;
};

std::string BuildTaskRecord(int slot, const TaskRecord& task);
// A record without the enabled, name and command-line fields yields a
// disabled task with empty texts.
TaskRecord ParseTaskRecord(std::string_view record);

TaskRecord GetTaskRecord(const TaskList& list, int slot);
// Returns false, storing nothing, for a slot outside 1 to 100.
bool SetTaskRecord(TaskList& list, int slot, const TaskRecord& task);

}  // namespace kelvane
