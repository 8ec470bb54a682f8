#include "tasks/task_records.h"

#include <vector>

namespace kelvane {

std::string BuildTaskRecord(int slot, const TaskRecord& task) {
  std::string record = std::to_string(slot);
  record += kTaskSeparator;
  record += task.enabled ? "1" : "0";
  record += kTaskSeparator;
  record += task.name;
  record += kTaskSeparator;
  record += task.commandLine;
  record += kTaskSeparator;
  return record;
}

TaskRecord ParseTaskRecord(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = record.find(kTaskSeparator, start);
    if (at == std::string_view::npos) {
      fields.push_back(record.substr(start));
      break;
    }
    fields.push_back(record.substr(start, at - start));
    start = at + kTaskSeparator.size();
  }
  if (fields.size() < 4) return {};
  return {fields[1] == "1", std::string(fields[2]), std::string(fields[3])};
}

TaskRecord GetTaskRecord(const TaskList& list, int slot) {
  if (slot < 1 || slot > kMaxTasks) return {};
  return ParseTaskRecord(list.Tasks[static_cast<std::size_t>(slot)]);
}

bool SetTaskRecord(TaskList& list, int slot, const TaskRecord& task) {
  if (slot < 1 || slot > kMaxTasks) return false;
  list.Tasks[static_cast<std::size_t>(slot)] = BuildTaskRecord(slot, task);
  return true;
}

}  // namespace kelvane
