#include "options/task_grid.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "controls/grid/grid_recorders.h"

namespace kelvane {

void PrintTo(const TaskRecord& task, std::ostream* out) {
  *out << '{' << (task.enabled ? "on" : "off") << ", \"" << task.name << "\", \"" << task.commandLine << "\"}";
}

namespace {

using testing::ColumnTexts;
using Texts = std::vector<std::string>;

class FakeRegistry : public RegistryValues {
 public:
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values;
  std::string GetRegValue(RegistryRoot root, std::string_view subKey, std::string_view valueName) const override {
    const auto found = values.find({root, std::string(subKey), std::string(valueName)});
    return found == values.end() ? std::string() : found->second;
  }
};

// The grid's model, and a log of the properties only its window knows, each
// with whether painting was on and how many columns there were when it was set.
class FakeGridControl : public TaskGridControl {
 public:
  testing::RecordingView view;
  GridModel model{&view};
  Texts log;
  bool editable = false;

  GridModel& Model() override { return model; }
  void SetEditTrigger(std::int32_t v) override { Note("EditTrigger " + std::to_string(v)); }
  void SetThemeStyle(std::int32_t v) override { Note("ThemeStyle " + std::to_string(v)); }
  void SetFocusRectColor(OleColor v) override { Note("FocusRectColor " + std::to_string(v)); }
  void SetEditable(bool v) override {
    editable = v;
    Note(std::string("Editable ") + (v ? "on" : "off"));
  }
  void SetHotHeaderTracking(bool v) override { Note(std::string("HotHeaderTracking ") + (v ? "on" : "off")); }
  void SetAllowUserResizing(std::int32_t v) override { Note("AllowUserResizing " + std::to_string(v)); }

 private:
  void Note(const std::string& what) {
    log.push_back(what + (model.Redraw() ? " painting" : " batched") + " cols " + std::to_string(model.Cols()));
  }
};

class FakeButtons : public TaskButtonsView {
 public:
  bool add = false;
  bool del = false;
  bool move = false;
  std::vector<std::int32_t> spinSets;
  int beeps = 0;
  void EnableAdd(bool on) override { add = on; }
  void EnableDelete(bool on) override { del = on; }
  void EnableMove(bool on) override { move = on; }
  void SetMoveSpin(std::int32_t value) override { spinSets.push_back(value); }
  void Beep() override { ++beeps; }
};

constexpr const char* kDataFolder = R"(C:\Users\Zoë\AppData\Roaming\Kelvane)";
const std::string kSeparator(kTaskSeparator);

class TaskGridTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  FakeGridControl control;
  GridModel& grid = control.model;
  FakeButtons buttons;
  TaskList tasks;
  TaskGrid taskGrid{control, buttons, tasks, registry, kDataFolder};

  void Open() {
    control.model.SetCols(0);
    taskGrid.Setup();
    taskGrid.Load();
  }
  void SetTasks(std::initializer_list<TaskRecord> list) {
    tasks.TaskCount = 0;
    for (const TaskRecord& task : list) SetTaskRecord(tasks, ++tasks.TaskCount, task);
  }
  std::vector<TaskRecord> Stored() const {
    std::vector<TaskRecord> stored;
    for (int n = 1; n <= tasks.TaskCount; ++n) stored.push_back(GetTaskRecord(tasks, n));
    return stored;
  }
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

  const struct {
    const char* heading;
    float width;
    std::int32_t alignment;
    ColumnType type;
  } columns[] = {{"Run", 60, 5, ColumnType::CheckBox}, {"Name", 140, 4, ColumnType::Text},
                 {"Execution", 208, 0, ColumnType::Text}};
  ASSERT_EQ(grid.Cols(), 2);
  for (std::int32_t col = 0; col <= 2; ++col) {
    SCOPED_TRACE(col);
    const auto& c = columns[col];
    EXPECT_EQ(grid.ColHeading(col), c.heading);
    EXPECT_EQ(grid.ColWidth(col), c.width);
    EXPECT_EQ(grid.ColAlignment(col), c.alignment);
    EXPECT_EQ(grid.ColType(col), c.type);
  }
  EXPECT_EQ(control.log, (Texts{"EditTrigger 18 batched cols 0", "ThemeStyle 3 batched cols 2",
                                "FocusRectColor 14722429 batched cols 2", "Editable on batched cols 2",
                                "HotHeaderTracking off batched cols 2", "AllowUserResizing 1 batched cols 2"}));
  EXPECT_EQ(grid.RowHeightMin(), 21);
  EXPECT_TRUE(grid.ColumnSort());
  EXPECT_TRUE(grid.Redraw());
  EXPECT_GE(control.view.paints, 1);
  EXPECT_EQ(paintsWithoutAllColumns, 0);
}

struct PresetRow {
  bool checked;
  const char* name;
  std::string command;
};

void ExpectRows(const GridModel& grid, const std::vector<PresetRow>& rows) {
  ASSERT_EQ(grid.RowCount(), static_cast<std::int32_t>(rows.size()));
  for (std::int32_t row = 0; row < grid.RowCount(); ++row) {
    SCOPED_TRACE(row);
    const PresetRow& want = rows[static_cast<std::size_t>(row)];
    EXPECT_EQ(grid.CellChecked(row, kTaskRunColumn), want.checked);
    EXPECT_EQ(grid.CellText(row, kTaskRunColumn), want.checked ? "1" : "0");
    EXPECT_EQ(grid.CellText(row, kTaskNameColumn), want.name);
    EXPECT_EQ(grid.CellText(row, kTaskCommandColumn), want.command);
  }
}

std::vector<PresetRow> Presets(bool ccleaner, const std::string& ccleanerFolder, bool spybot,
                               const std::string& spybotFolder) {
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

TEST_F(TaskGridTest, AnEmptyListShowsTheSevenPresetsWithToolsEnabledOnlyWhereFound) {
  const std::string ccleanerKey = R"(Software\CCleaner)";
  const std::string spybotKey = R"(\Software\Safer Networking Limited\SpybotSnD)";
  const struct {
    const char* situation;
    std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values;
    std::vector<PresetRow> rows;
  } cases[] = {
      {"nothing installed",
       {},
       Presets(false, R"(C:\Program Files\CCleaner)", false, R"(C:\Program Files\Spybot - Search & Destroy\)")},
      {"both installed",
       {{{RegistryRoot::LocalMachine, ccleanerKey, ""}, R"(D:\Tools\CCleaner)"},
        {{RegistryRoot::CurrentUser, spybotKey, "Path"}, R"(E:\安全\Spybot)"}},
       Presets(true, R"(D:\Tools\CCleaner)", true, R"(E:\安全\Spybot)")},
      // The same values under the other root, or under another value name,
      // are somebody else's.
      {"values in the wrong places",
       {{{RegistryRoot::CurrentUser, ccleanerKey, ""}, R"(D:\Tools\CCleaner)"},
        {{RegistryRoot::LocalMachine, spybotKey, "Path"}, R"(E:\Spybot)"},
        {{RegistryRoot::CurrentUser, spybotKey, ""}, R"(E:\Spybot)"}},
       Presets(false, R"(C:\Program Files\CCleaner)", false, R"(C:\Program Files\Spybot - Search & Destroy\)")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    registry.values = c.values;
    tasks.TaskCount = 0;
    Open();
    ExpectRows(grid, c.rows);
    EXPECT_EQ(taskGrid.Store(), 0);
    std::vector<TaskRecord> expected;
    for (const PresetRow& row : c.rows) expected.push_back({row.checked, row.name, row.command});
    EXPECT_EQ(Stored(), expected) << "OK stores the presets as tasks 1 to 7";
  }
}

TEST_F(TaskGridTest, TasksInAnyScriptAndOfAnyLengthRoundTrip) {
  const std::string longCommand = "cmd.exe /c echo " + std::string(100000, 'x');
  const std::vector<TaskRecord> list{
      {true, "تنظيف القرص", R"(%SYS32%\cleanmgr.exe /d c: "مجلد")"},
      {false, "磁盘整理", R"("%KLAPPDATA%\工具\defrag.exe" -v)"},
      {true, "Backup 🗄️✨", "robocopy \"C:\\Users\\me\" \"E:\\Backup 💾\" /MIR"},
      {true, "long", longCommand},
      {false, "spaces ", " trailing and leading "},
  };
  tasks.TaskCount = 0;
  for (const TaskRecord& task : list) SetTaskRecord(tasks, ++tasks.TaskCount, task);
  Open();
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
  EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), (Texts{"first", "", "", "", "", "second", "third"}));
  taskGrid.Store();
  // A flag other than "1" reads as off; the slot number in a record is not
  // trusted, the place in the list is.
  EXPECT_EQ(Stored(), (std::vector<TaskRecord>{
                          {true, "first", "one.exe"}, {false, "second", "two.exe"}, {false, "third", "three.exe"}}));
  EXPECT_EQ(tasks.Tasks[2], BuildTaskRecord(2, {false, "second", "two.exe"}));
}

TEST_F(TaskGridTest, ACountOutsideTheListsRangeNeitherHidesThePresetsNorInventsRows) {
  const std::tuple<std::int32_t, std::int32_t> cases[] = {{0, 7}, {-3, 7}, {150, kMaxTasks}};
  for (const auto& [count, rows] : cases) {
    SCOPED_TRACE(count);
    for (int n = 1; n <= kMaxTasks; ++n) SetTaskRecord(tasks, n, {true, "t" + std::to_string(n), "x.exe"});
    tasks.TaskCount = count;
    Open();
    EXPECT_EQ(grid.RowCount(), rows);
  }
}

TEST_F(TaskGridTest, StoreKeepsCompleteRowsInTheOrderShown) {
  SetTasks({{true, "placeholder", "p.exe"}});
  Open();
  grid.Clear();
  AddRow("charlie", "c.exe", true);
  AddRow("only a name", "");
  AddRow("", "only-a-command.exe", true);
  AddRow("alpha", "a.exe");
  AddRow("bravo", "b.exe", true);
  taskGrid.Store();
  EXPECT_EQ(Stored(), (std::vector<TaskRecord>{
                          {true, "charlie", "c.exe"}, {false, "alpha", "a.exe"}, {true, "bravo", "b.exe"}}));

  grid.Sort(kTaskNameColumn, kSortAscending);
  taskGrid.Store();
  EXPECT_EQ(tasks.TaskCount, 3);
  Texts names;
  for (const TaskRecord& task : Stored()) names.push_back(task.name);
  EXPECT_EQ(names, (Texts{"alpha", "bravo", "charlie"}));
  EXPECT_EQ(Stored()[1], (TaskRecord{true, "bravo", "b.exe"})) << "the check box travels with its row";
}

TEST_F(TaskGridTest, AddStopsAtAFullListAndNoValidRowIsLostOnTheWayThere) {
  SetTasks({{true, "one", "1.exe"}});
  Open();
  for (int n = 2; n <= kMaxTasks; ++n) {
    ASSERT_TRUE(buttons.add);
    taskGrid.Add();
    grid.SetCellText(grid.RowCount() - 1, kTaskNameColumn, "task " + std::to_string(n));
    grid.SetCellText(grid.RowCount() - 1, kTaskCommandColumn, std::to_string(n) + ".exe");
  }
  EXPECT_EQ(grid.RowCount(), kMaxTasks);
  EXPECT_FALSE(buttons.add);
  taskGrid.Add();
  EXPECT_EQ(grid.RowCount(), kMaxTasks);
  EXPECT_EQ(taskGrid.Store(), 0);
  EXPECT_EQ(tasks.TaskCount, kMaxTasks);
  EXPECT_EQ(GetTaskRecord(tasks, kMaxTasks), (TaskRecord{false, "task 100", "100.exe"}));

  grid.SetRow(0);
  taskGrid.Delete();
  EXPECT_TRUE(buttons.add);

  // Rows put into the grid around "+" still cannot go past the last slot;
  // the store says how many were left out.
  AddRow("extra 1", "e1.exe");
  AddRow("extra 2", "e2.exe");
  EXPECT_EQ(taskGrid.Store(), 1);
  EXPECT_EQ(tasks.TaskCount, kMaxTasks);
  EXPECT_EQ(GetTaskRecord(tasks, kMaxTasks), (TaskRecord{false, "extra 1", "e1.exe"}));
}

TEST_F(TaskGridTest, NewRowIsEmptyUncheckedAndLast) {
  SetTasks({{true, "one", "1.exe"}});
  Open();
  taskGrid.Add();
  ASSERT_EQ(grid.RowCount(), 2);
  EXPECT_FALSE(grid.CellChecked(1, kTaskRunColumn));
  EXPECT_EQ(grid.CellText(1, kTaskNameColumn), "");
  EXPECT_EQ(grid.CellText(1, kTaskCommandColumn), "");
}

TEST_F(TaskGridTest, DeleteCommitsAtOnceAndKeepsThePlace) {
  SetTasks({{true, "a", "a.exe"}, {true, "b", "b.exe"}, {false, "c", "c.exe"}, {true, "d", "d.exe"}});
  Open();
  AddRow("half typed", "");
  grid.SetRow(1);
  taskGrid.Delete();
  EXPECT_EQ(Stored(), (std::vector<TaskRecord>{{true, "a", "a.exe"}, {false, "c", "c.exe"}, {true, "d", "d.exe"}}));
  EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), (Texts{"a", "c", "d"})) << "the incomplete row went with the commit";
  EXPECT_EQ(grid.Row(), 1);

  grid.SetRow(2);
  taskGrid.Delete();
  EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), (Texts{"a", "c"}));
  EXPECT_EQ(grid.Row(), 1);

  // Without a current row, "-" only commits.
  AddRow("e", "e.exe");
  grid.SetRow(kNoIndex);
  taskGrid.Delete();
  EXPECT_EQ(tasks.TaskCount, 3);
}

TEST_F(TaskGridTest, DeletingTheLastTaskBringsThePresetsBack) {
  SetTasks({{true, "only", "only.exe"}});
  Open();
  grid.SetRow(0);
  taskGrid.Delete();
  EXPECT_EQ(tasks.TaskCount, 0);
  ASSERT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.CellText(0, kTaskNameColumn), "CCleaner");
  EXPECT_EQ(grid.CellText(6, kTaskNameColumn), "Ad-Aware 2007 Smart");
}

TEST_F(TaskGridTest, MoveSpinMovesTheCurrentRowAndComesBackToRest) {
  const struct {
    const char* what;
    std::int32_t current;
    std::vector<std::int32_t> values;
    Texts order;
    std::int32_t currentAfter;
  } cases[] = {
      {"up", 2, {501}, {"a", "c", "b", "d"}, 1},
      {"down", 1, {499}, {"a", "c", "b", "d"}, 2},
      {"repeated ups keep moving the same row", 3, {501, 500, 501, 500, 501}, {"d", "a", "b", "c"}, 0},
      {"up on the first row", 0, {501}, {"a", "b", "c", "d"}, 0},
      {"down on the last row", 3, {499}, {"a", "b", "c", "d"}, 3},
      {"no current row", kNoIndex, {501, 499}, {"a", "b", "c", "d"}, kNoIndex},
      {"any value above or below counts", 1, {999, 1}, {"a", "b", "c", "d"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetTasks({{true, "a", "a"}, {true, "b", "b"}, {true, "c", "c"}, {true, "d", "d"}});
    Open();
    grid.SetRow(c.current);
    buttons.spinSets.clear();
    std::size_t moves = 0;
    for (const std::int32_t value : c.values) {
      taskGrid.OnMoveSpin(value);
      moves += value == kMoveSpinRest ? 0 : 1;
    }
    EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), c.order);
    EXPECT_EQ(grid.Row(), c.currentAfter);
    EXPECT_EQ(buttons.spinSets, std::vector<std::int32_t>(moves, kMoveSpinRest));
    taskGrid.Store();
    EXPECT_EQ(GetTaskRecord(tasks, 1).name, c.order[0]) << "the stored order follows";
  }
}

TEST_F(TaskGridTest, ASingleRowDoesNotMove) {
  SetTasks({{true, "a", "a"}});
  Open();
  taskGrid.OnMoveSpin(501);
  taskGrid.OnMoveSpin(499);
  EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), (Texts{"a"}));
  EXPECT_EQ(buttons.spinSets, (std::vector<std::int32_t>{kMoveSpinRest, kMoveSpinRest}));
}

TEST_F(TaskGridTest, RunTaskBoxSwitchesEditingAndTheThreeControlsTogether) {
  SetTasks({{true, "a", "a.exe"}, {true, "b", "b.exe"}});
  Open();
  taskGrid.SetEditing(false);
  EXPECT_FALSE(control.editable);
  EXPECT_FALSE(buttons.add || buttons.del || buttons.move);
  bool cancel = false;
  taskGrid.OnRequestEdit(0, kTaskRunColumn, cancel);
  EXPECT_TRUE(cancel) << "the check boxes cannot be toggled either";
  // Nothing reaches the list while editing is off.
  grid.SetRow(0);
  taskGrid.Add();
  taskGrid.Delete();
  taskGrid.OnMoveSpin(499);
  EXPECT_EQ(ColumnTexts(grid, kTaskNameColumn), (Texts{"a", "b"}));

  taskGrid.SetEditing(true);
  EXPECT_TRUE(control.editable);
  EXPECT_TRUE(buttons.add && buttons.del && buttons.move);
  cancel = false;
  taskGrid.OnRequestEdit(0, kTaskNameColumn, cancel);
  EXPECT_FALSE(cancel);
}

TEST_F(TaskGridTest, TextWithTheRecordSeparatorIsRefusedWithABeep) {
  Open();
  const struct {
    std::int32_t col;
    std::string text;
    bool refused;
  } cases[] = {
      {kTaskCommandColumn, "cmd.exe /c echo 5" + kSeparator + " > price.txt", true},
      {kTaskNameColumn, kSeparator, true},
      {kTaskCommandColumn, "cmd.exe /c echo ¢ £ ¥ € \xC2\xA5", false},
      {kTaskNameColumn, "سعر ¤", true},
      {kTaskNameColumn, "سعر", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    buttons.beeps = 0;
    std::string text = c.text;
    bool cancel = false;
    taskGrid.OnRequestUpdate(0, c.col, text, cancel);
    EXPECT_EQ(cancel, c.refused);
    EXPECT_EQ(buttons.beeps, c.refused ? 1 : 0);
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace kelvane
