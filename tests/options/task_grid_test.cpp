#include "options/task_grid.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "controls/grid/grid_recorders.h"
#include "options/options_fakes.h"

namespace kelvane {

void PrintTo(const TaskRecord& task, std::ostream* out) {
  *out << '{' << (task.enabled ? "on" : "off") << ", \"" << task.name << "\", \"" << task.commandLine << "\"}";
}

namespace {

using testing::ColumnTexts;
using Texts = std::vector<std::string>;
using Tasks = std::vector<TaskRecord>;
using testing::FakeButtons;
using testing::FakeGridControl;
using testing::FakeRegistry;
using testing::RegistryMap;

const std::string kSeparator(kTaskSeparator);

class TaskGridTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  FakeGridControl control;
  GridModel& grid = control.model;
  FakeButtons buttons;
  TaskList tasks;
  TaskGrid taskGrid{control, buttons, tasks, registry, R"(C:\Users\Zoë\AppData\Roaming\Kelvane)"};

  // Opens the grid on these tasks, as the dialog does.
  void Open(const Tasks& list) {
    tasks.TaskCount = 0;
    for (const TaskRecord& task : list) SetTaskRecord(tasks, ++tasks.TaskCount, task);
    Open();
  }
  void Open() {
    grid.SetCols(0);
    taskGrid.Setup();
    taskGrid.Load();
  }
  Tasks Stored() const {
    Tasks stored;
    for (int n = 1; n <= tasks.TaskCount; ++n) stored.push_back(GetTaskRecord(tasks, n));
    return stored;
  }
  Texts Names() const { return ColumnTexts(grid, kTaskNameColumn); }
  void AddRow(std::string_view name, std::string_view command, bool enabled = false) {
    const std::int32_t row = grid.AddItem();
    grid.SetCellText(row, kTaskNameColumn, name);
    grid.SetCellText(row, kTaskCommandColumn, command);
    grid.SetCellChecked(row, kTaskRunColumn, enabled);
  }
};

TEST_F(TaskGridTest, SetupDefinesTheColumnsAndTheLookWhilePaintingWaits) {
  int paintsWithoutAllColumns = 0;
  control.view.onPaint = [&] { paintsWithoutAllColumns += grid.Cols() == 2 ? 0 : 1; };
  taskGrid.Setup();
  const std::tuple<std::string, float, std::int32_t, ColumnType> columns[] = {
      {"Run", 60, 5, ColumnType::CheckBox}, {"Name", 140, 4, ColumnType::Text}, {"Execution", 208, 0, ColumnType::Text}};
  ASSERT_EQ(grid.Cols(), 2);
  for (std::int32_t col = 0; col <= 2; ++col) {
    EXPECT_EQ(std::make_tuple(grid.ColHeading(col), grid.ColWidth(col), grid.ColAlignment(col), grid.ColType(col)),
              columns[col]);
  }
  EXPECT_EQ(control.log, (Texts{"EditTrigger 18 batched cols 0", "ThemeStyle 3 batched cols 2",
                                "FocusRectColor 14722429 batched cols 2", "Editable 1 batched cols 2",
                                "HotHeaderTracking 0 batched cols 2", "AllowUserResizing 1 batched cols 2"}));
  EXPECT_EQ(grid.RowHeightMin(), 21);
  EXPECT_TRUE(grid.ColumnSort());
  EXPECT_TRUE(grid.Redraw());
  EXPECT_GE(control.view.paints, 1);
  EXPECT_EQ(paintsWithoutAllColumns, 0);
}

Tasks Presets(bool ccleaner, const std::string& ccleanerFolder, bool spybot, const std::string& spybotFolder) {
  return {
      {ccleaner, "CCleaner", ccleanerFolder + R"(\ccleaner.exe /AUTO)"},
      {spybot, "Spybot S&&D",
       "\"" + spybotFolder + R"(\SpybotSD.exe" /taskbarhide /autocheck /autofix /autoclose /onlyspyware)"},
      {false, "Defrag Harddisk",
       R"(%SYS32%\cmd.exe /C %SYS32%\Defrag.exe c:\ -v > "C:\Users\Zoë\AppData\Roaming\Kelvane\"defrag.txt)"},
      {false, "Analyse Harddisk",
       R"(%SYS32%\cmd.exe /C %SYS32%\Defrag.exe c:\ -a -v > "C:\Users\Zoë\AppData\Roaming\Kelvane\"defrag.txt)"},
      {false, "AVG Virus Scan C:",
       R"(%SYS32%\cmd.exe /C C:\"Program Files\Grisoft\AVG Free"\AVGSCAN.exe /CLEAN /HEUR /REPORT="%KLAPPDATA%"\AvgVirusLog.TXT c:\)"},
      {false, "Windows Disk Cleaup", "%SYS32%\\cmd.exe /C %SYS32%\\cleanmgr.exe /d c: "},
      {false, "Ad-Aware 2007 Smart",
       R"(%SYS32%\cmd.exe /C "C:\Program Files\Lavasoft\Ad-Aware 2007\"Ad-Aware2007.exe /Smart /Silent /Clean /Cookies )"},
  };
}

TEST_F(TaskGridTest, AnEmptyListShowsTheSevenPresetsAndOkStoresThemAsTasksOneToSeven) {
  const std::string ccleanerKey = R"(Software\CCleaner)";
  const std::string spybotKey = R"(\Software\Safer Networking Limited\SpybotSnD)";
  const std::string noCcleaner = R"(C:\Program Files\CCleaner)";
  const std::string noSpybot = R"(C:\Program Files\Spybot - Search & Destroy\)";
  const std::tuple<const char*, RegistryMap, Tasks> cases[] = {
      {"nothing installed", {}, Presets(false, noCcleaner, false, noSpybot)},
      {"both installed",
       {{{RegistryRoot::LocalMachine, ccleanerKey, ""}, R"(D:\Tools\CCleaner)"},
        {{RegistryRoot::CurrentUser, spybotKey, "Path"}, R"(E:\安全\Spybot)"}},
       Presets(true, R"(D:\Tools\CCleaner)", true, R"(E:\安全\Spybot)")},
      // Under the other root, or another value name, they are somebody else's.
      {"values in the wrong places",
       {{{RegistryRoot::CurrentUser, ccleanerKey, ""}, "D:\\X"},
        {{RegistryRoot::LocalMachine, spybotKey, "Path"}, "E:\\X"},
        {{RegistryRoot::CurrentUser, spybotKey, ""}, "E:\\X"}},
       Presets(false, noCcleaner, false, noSpybot)},
  };
  for (const auto& [situation, values, presets] : cases) {
    SCOPED_TRACE(situation);
    registry.values = values;
    Open({});
    ASSERT_EQ(grid.RowCount(), 7);
    for (std::int32_t row = 0; row < 7; ++row) {
      EXPECT_EQ(grid.CellText(row, kTaskRunColumn), presets[row].enabled ? "1" : "0");
    }
    EXPECT_EQ(taskGrid.Store(), 0);
    EXPECT_EQ(Stored(), presets);
  }
}

TEST_F(TaskGridTest, TasksInAnyScriptAndOfAnyLengthRoundTrip) {
  const Tasks list{
      {true, "تنظيف القرص", R"(%SYS32%\cleanmgr.exe /d c: "مجلد")"},
      {false, "磁盘整理", R"("%KLAPPDATA%\工具\defrag.exe" -v)"},
      {true, "Backup 🗄️✨", "robocopy \"C:\\Users\\me\" \"E:\\Backup 💾\" /MIR"},
      {true, "long", "cmd.exe /c echo " + std::string(100000, 'x')},
      {false, "spaces ", " trailing and leading "},
  };
  Open(list);
  EXPECT_EQ(ColumnTexts(grid, kTaskRunColumn), (Texts{"1", "0", "1", "1", "0"}));
  EXPECT_EQ(taskGrid.Store(), 0);
  EXPECT_EQ(Stored(), list);
}

TEST_F(TaskGridTest, DamagedRecordsShowAsEmptyRowsThatTheNextStoreDrops) {
  tasks.TaskCount = 7;
  tasks.Tasks[1] = BuildTaskRecord(1, {true, "first", "one.exe"});
  tasks.Tasks[2] = "";
  tasks.Tasks[3] = "garbage without separators";
  tasks.Tasks[4] = "4" + kSeparator + "1" + kSeparator + "no command";
  tasks.Tasks[5] = std::string(200000, '\xA4') + "\xFF\xFE";
  tasks.Tasks[6] = BuildTaskRecord(9, {false, "second", "two.exe"});
  tasks.Tasks[7] = "7" + kSeparator + "yes" + kSeparator + "third" + kSeparator + "three.exe" + kSeparator;
  Open();
  EXPECT_EQ(Names(), (Texts{"first", "", "", "", "", "second", "third"}));
  taskGrid.Store();
  // A flag other than "1" is off; the slot number inside a record is not
  // trusted, the place in the list is.
  EXPECT_EQ(Stored(), (Tasks{{true, "first", "one.exe"}, {false, "second", "two.exe"}, {false, "third", "three.exe"}}));
  EXPECT_EQ(tasks.Tasks[2], BuildTaskRecord(2, {false, "second", "two.exe"}));

  for (const auto& [count, rows] : {std::pair{-3, 7}, {150, kMaxTasks}}) {
    SCOPED_TRACE(count);
    for (int n = 1; n <= kMaxTasks; ++n) SetTaskRecord(tasks, n, {true, "t", "x.exe"});
    tasks.TaskCount = count;
    Open();
    EXPECT_EQ(grid.RowCount(), rows);
  }
}

TEST_F(TaskGridTest, StoreKeepsCompleteRowsInTheOrderShownAlsoAfterASort) {
  Open({{true, "placeholder", "p.exe"}});
  grid.Clear();
  AddRow("charlie", "c.exe", true);
  AddRow("only a name", "");
  AddRow("", "only-a-command.exe", true);
  AddRow("alpha", "a.exe");
  AddRow("bravo", "b.exe", true);
  taskGrid.Store();
  EXPECT_EQ(Stored(), (Tasks{{true, "charlie", "c.exe"}, {false, "alpha", "a.exe"}, {true, "bravo", "b.exe"}}));

  grid.Sort(kTaskNameColumn, kSortAscending);
  taskGrid.Store();
  EXPECT_EQ(Stored(), (Tasks{{false, "alpha", "a.exe"}, {true, "bravo", "b.exe"}, {true, "charlie", "c.exe"}}));
}

TEST_F(TaskGridTest, AddStopsAtAFullListAndNoValidRowIsLost) {
  Open({{true, "one", "1.exe"}});
  taskGrid.Add();
  EXPECT_EQ(ColumnTexts(grid, kTaskRunColumn), (Texts{"1", ""})) << "a new row is empty, unchecked and last";
  EXPECT_FALSE(grid.CellChecked(1, kTaskRunColumn));
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(control.editedCells, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, kTaskNameColumn}}))
      << "its name is open for typing";
  for (int n = 2; n <= kMaxTasks; ++n) {
    ASSERT_TRUE(buttons.add);
    if (n > 2) taskGrid.Add();
    grid.SetCellText(n - 1, kTaskNameColumn, "task " + std::to_string(n));
    grid.SetCellText(n - 1, kTaskCommandColumn, std::to_string(n) + ".exe");
  }
  EXPECT_FALSE(buttons.add);
  taskGrid.Add();
  EXPECT_EQ(grid.RowCount(), kMaxTasks);
  EXPECT_EQ(taskGrid.Store(), 0);
  EXPECT_EQ(tasks.TaskCount, kMaxTasks);
  EXPECT_EQ(GetTaskRecord(tasks, kMaxTasks), (TaskRecord{false, "task 100", "100.exe"}));

  grid.SetRow(0);
  taskGrid.Delete();
  EXPECT_TRUE(buttons.add);
  // Rows put into the grid around "+" still go no further than the last
  // slot, and the store counts what it left out.
  AddRow("extra 1", "e1.exe");
  AddRow("extra 2", "e2.exe");
  EXPECT_EQ(taskGrid.Store(), 1);
  EXPECT_EQ(GetTaskRecord(tasks, kMaxTasks), (TaskRecord{false, "extra 1", "e1.exe"}));
}

TEST_F(TaskGridTest, DeleteCommitsAtOnceKeepsThePlaceAndAfterTheLastBringsThePresetsBack) {
  Open({{true, "a", "a.exe"}, {true, "b", "b.exe"}, {false, "c", "c.exe"}, {true, "d", "d.exe"}});
  AddRow("half typed", "");
  grid.SetRow(1);
  taskGrid.Delete();
  EXPECT_EQ(Stored(), (Tasks{{true, "a", "a.exe"}, {false, "c", "c.exe"}, {true, "d", "d.exe"}}));
  EXPECT_EQ(Names(), (Texts{"a", "c", "d"})) << "the incomplete row went with the commit";
  EXPECT_EQ(grid.Row(), 1);
  grid.SetRow(2);
  taskGrid.Delete();
  EXPECT_EQ(grid.Row(), 1);
  // Without a current row, "-" only commits.
  AddRow("e", "e.exe");
  grid.SetRow(kNoIndex);
  taskGrid.Delete();
  EXPECT_EQ(tasks.TaskCount, 3);

  for (int left = 3; left > 0; --left) {
    grid.SetRow(0);
    taskGrid.Delete();
  }
  EXPECT_EQ(tasks.TaskCount, 0);
  ASSERT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(Names().front(), "CCleaner");
}

TEST_F(TaskGridTest, MoveSpinMovesTheCurrentRowAndComesBackToRest) {
  const struct {
    const char* what;
    Texts rows;
    std::int32_t current;
    std::vector<std::int32_t> values;
    Texts order;
    std::int32_t currentAfter;
  } cases[] = {
      {"up", {"a", "b", "c", "d"}, 2, {501}, {"a", "c", "b", "d"}, 1},
      {"down", {"a", "b", "c", "d"}, 1, {499}, {"a", "c", "b", "d"}, 2},
      {"repeated ups move the same row", {"a", "b", "c", "d"}, 3, {501, 500, 501, 500, 501}, {"d", "a", "b", "c"}, 0},
      {"up on the first row", {"a", "b", "c"}, 0, {501}, {"a", "b", "c"}, 0},
      {"down on the last row", {"a", "b", "c"}, 2, {499}, {"a", "b", "c"}, 2},
      {"no current row", {"a", "b"}, kNoIndex, {501, 499}, {"a", "b"}, kNoIndex},
      {"a single row", {"a"}, 0, {501, 499}, {"a"}, 0},
      {"the ends of the range", {"a", "b", "c"}, 1, {999, 1}, {"a", "b", "c"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Tasks list;
    for (const std::string& name : c.rows) list.push_back({true, name, name + ".exe"});
    Open(list);
    grid.SetRow(c.current);
    buttons.spinSets.clear();
    std::size_t moves = 0;
    for (const std::int32_t value : c.values) {
      taskGrid.OnMoveSpin(value);
      moves += value == kMoveSpinRest ? 0 : 1;
    }
    EXPECT_EQ(Names(), c.order);
    EXPECT_EQ(grid.Row(), c.currentAfter);
    EXPECT_EQ(buttons.spinSets, std::vector<std::int32_t>(moves, kMoveSpinRest));
    taskGrid.Store();
    EXPECT_EQ(Stored().front().name, c.order.front()) << "the stored order follows";
  }
}

TEST_F(TaskGridTest, RunTaskBoxSwitchesEditingAndTheThreeControlsTogether) {
  Open({{true, "a", "a.exe"}, {true, "b", "b.exe"}});
  taskGrid.SetEditing(false);
  EXPECT_FALSE(control.editable || buttons.add || buttons.del || buttons.move);
  bool cancel = false;
  taskGrid.OnRequestEdit(0, kTaskRunColumn, cancel);
  EXPECT_TRUE(cancel) << "the check boxes cannot be toggled either";
  grid.SetRow(0);
  taskGrid.Add();
  taskGrid.Delete();
  taskGrid.OnMoveSpin(499);
  EXPECT_EQ(Names(), (Texts{"a", "b"}));

  taskGrid.SetEditing(true);
  EXPECT_TRUE(control.editable && buttons.add && buttons.del && buttons.move);
  cancel = false;
  taskGrid.OnRequestEdit(0, kTaskNameColumn, cancel);
  EXPECT_FALSE(cancel);
}

TEST_F(TaskGridTest, TextWithTheRecordSeparatorIsRefusedWithABeep) {
  Open({});
  const std::tuple<std::int32_t, std::string, bool> cases[] = {
      {kTaskCommandColumn, "cmd.exe /c echo 5" + kSeparator + " > price.txt", true},
      {kTaskNameColumn, kSeparator, true},
      {kTaskNameColumn, "سعر ¤", true},
      {kTaskCommandColumn, "cmd.exe /c echo ¢ £ ¥ € \xC2\xA5", false},
      {kTaskNameColumn, "سعر", false},
  };
  for (const auto& [col, typed, refused] : cases) {
    SCOPED_TRACE(typed);
    buttons.beeps = 0;
    std::string text = typed;
    bool cancel = false;
    taskGrid.OnRequestUpdate(0, col, text, cancel);
    EXPECT_EQ(cancel, refused);
    EXPECT_EQ(buttons.beeps, refused ? 1 : 0);
    EXPECT_EQ(text, typed);
  }
}

}  // namespace
}  // namespace kelvane
