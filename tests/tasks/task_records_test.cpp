#include "tasks/task_records.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvane {
namespace {

TEST(TaskRecords, RecordsRoundTripWithoutTheSeparator) {
  const TaskRecord tasks[] = {
      {true, "Cleanup", "cleanmgr.exe"},
      {false, "", ""},
      {true, "Spybot S&&D", "\"C:\\Program Files\\x\\SpybotSD.exe\" /autocheck"},
      {false, "日本語", "cmd /C echo ✓"},
  };
  TaskList list;
  for (int slot = 1; slot <= 4; ++slot) {
    const TaskRecord& task = tasks[slot - 1];
    ASSERT_TRUE(SetTaskRecord(list, slot, task));
    EXPECT_EQ(GetTaskRecord(list, slot), task);
  }
  EXPECT_EQ(list.Tasks[1], "1\xC2\xA4" "1\xC2\xA4" "Cleanup\xC2\xA4" "cleanmgr.exe\xC2\xA4");
}

TEST(TaskRecords, MalformedRecordsAreDisabledAndEmpty) {
  for (const char* record : {"", "garbage", "1\xC2\xA4" "1\xC2\xA4" "name", "\xC2\xA4"}) {
    EXPECT_EQ(ParseTaskRecord(record), TaskRecord{}) << record;
  }
  // Only the exact text "1" enables a task.
  EXPECT_FALSE(ParseTaskRecord("1\xC2\xA4" "-1\xC2\xA4" "n\xC2\xA4" "c\xC2\xA4").enabled);
}

TEST(TaskRecords, SeparatorInANameDoesNotSurvive) {
  TaskList list;
  SetTaskRecord(list, 1, {true, "A\xC2\xA4" "B", "cmd"});
  const TaskRecord back = GetTaskRecord(list, 1);
  EXPECT_EQ(back.name, "A");
  EXPECT_EQ(back.commandLine, "B");
}

TEST(TaskRecords, SlotsOutsideTheListAreRefused) {
  TaskList list;
  EXPECT_FALSE(SetTaskRecord(list, 0, {true, "a", "b"}));
  EXPECT_FALSE(SetTaskRecord(list, 101, {true, "a", "b"}));
  EXPECT_EQ(GetTaskRecord(list, 101), TaskRecord{});
  EXPECT_EQ(GetTaskRecord(list, -1), TaskRecord{});
}

TEST(TaskRecords, MegabyteFieldsRoundTrip) {
  const TaskRecord task{true, std::string(1 << 20, 'n'), std::string(3 << 20, 'c')};
  TaskList list;
  ASSERT_TRUE(SetTaskRecord(list, 100, task));
  EXPECT_EQ(GetTaskRecord(list, 100), task);
  EXPECT_EQ(ParseTaskRecord(std::string(4 << 20, '\xC2')), TaskRecord{});
}
}  // namespace
}  // namespace kelvane
