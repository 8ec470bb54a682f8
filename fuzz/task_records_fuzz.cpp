// Task records: any stored text reads as a task or as the empty disabled one,
// and a task set into a slot reads back as set, whatever bytes its name and
// command line hold other than the separator itself.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_support.h"
#include "tasks/task_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);
  const int slot = input.ConsumeIntegralInRange(-5, kMaxTasks + 5);
  TaskRecord task;
  task.enabled = input.ConsumeBool();
  task.name = input.ConsumeRandomLengthString(512);
  task.commandLine = input.ConsumeRandomLengthString(2048);
  const std::string stored = input.ConsumeRemainingBytesAsString();

  TaskList list;
  for (int n = 1; n <= kMaxTasks; ++n) list.Tasks[static_cast<std::size_t>(n)] = stored;
  const TaskRecord read = GetTaskRecord(list, slot);
  Require(read == ParseTaskRecord(stored) || slot < 1 || slot > kMaxTasks, "a slot reads as its record");
  if (stored.find(kTaskSeparator) == std::string::npos) Require(read == TaskRecord{}, "no fields, no task");

  const bool inRange = slot >= 1 && slot <= kMaxTasks;
  Require(SetTaskRecord(list, slot, task) == inRange, "only slots 1 to 100 take a task");
  if (!inRange) {
    Require(GetTaskRecord(list, slot) == TaskRecord{}, "a slot outside the list reads as no task");
    return 0;
  }
  const bool plain = task.name.find(kTaskSeparator) == std::string::npos &&
                     task.commandLine.find(kTaskSeparator) == std::string::npos;
  // A separator inside a field splits it when read; that is the records' format.
  if (plain) Require(GetTaskRecord(list, slot) == task, "set then get gives the task back");
  return 0;
}
