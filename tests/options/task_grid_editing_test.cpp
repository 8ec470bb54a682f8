// The task list in the grid control's own behaviour (its editing, keys and
// current cell), as the options dialog wires the two together: what the user
// types into a cell must end up in the task it was typed for.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/grid/grid_control.h"
#include "controls/grid/grid_fake_surface.h"
#include "options/options_fakes.h"
#include "options/task_grid.h"

namespace kelvane {
namespace {

using testing::FakeButtons;
using testing::FakeRegistry;
using testing::FakeSurface;

// The grid control with its events handed to the task list, as the dialog
// hands them.
class GridBackedTaskGrid : public TaskGridControl, public GridEvents {
 public:
  GridBackedTaskGrid() {
    grid.InitProperties(FontDescription{"Tahoma", 8}, LoadMode::Run);
    grid.SetClientSize(480, 200);
  }

  GridModel& Model() override { return grid.Model(); }
  void SetEditTrigger(std::int32_t v) override { grid.SetProperty(GridProperty::EditTrigger, std::int64_t{v}); }
  void SetThemeStyle(std::int32_t v) override { grid.SetProperty(GridProperty::ThemeStyle, std::int64_t{v}); }
  void SetFocusRectColor(OleColor v) override { grid.SetProperty(GridProperty::FocusRectColor, std::int64_t{v}); }
  void SetEditable(bool v) override { grid.SetProperty(GridProperty::Editable, v); }
  void SetHotHeaderTracking(bool v) override { grid.SetProperty(GridProperty::HotHeaderTracking, v); }
  void SetAllowUserResizing(std::int32_t v) override {
    grid.SetProperty(GridProperty::AllowUserResizing, std::int64_t{v});
  }
  void EditCell(std::int32_t row, std::int32_t col) override { grid.EditCell(row, col); }
  void FinishEditing() override { grid.UpdateCell(); }
  void MakeRowVisible(std::int32_t row) override { grid.MakeRowVisible(row); }

  void RequestEdit(std::int32_t row, std::int32_t col, bool& cancel) override {
    if (tasks != nullptr) tasks->OnRequestEdit(row, col, cancel);
  }
  void RequestUpdate(std::int32_t row, std::int32_t col, std::string& text, bool& cancel) override {
    if (tasks != nullptr) tasks->OnRequestUpdate(row, col, text, cancel);
  }

  FakeSurface surface;
  GridControl grid{surface, this};
  TaskGrid* tasks = nullptr;
};

class TaskGridEditingTest : public ::testing::Test {
 protected:
  void Open(const std::vector<TaskRecord>& list) {
    control.tasks = &taskGrid;
    list_.TaskCount = 0;
    for (const TaskRecord& task : list) SetTaskRecord(list_, ++list_.TaskCount, task);
    taskGrid.Setup();
    taskGrid.Load();
  }
  // The stored name of each stored command line.
  std::map<std::string, std::string> NamesByCommand() const {
    std::map<std::string, std::string> names;
    for (int n = 1; n <= list_.TaskCount; ++n) {
      const TaskRecord task = GetTaskRecord(list_, n);
      names[task.commandLine] = task.name;
    }
    return names;
  }

  FakeRegistry registry;
  GridBackedTaskGrid control;
  GridControl& grid = control.grid;
  FakeButtons buttons;
  TaskList list_;
  TaskGrid taskGrid{control, buttons, list_, registry, R"(C:\Users\me\AppData\Roaming\Kelvane)"};
};

// The move spin's arrows take no keyboard focus, so a cell editor stays open
// while the user clicks them. The name typed for one task must not land on
// the task that the move put in its place.
TEST_F(TaskGridEditingTest, MovingARowWhileItsNameIsOpenLeavesTheOtherTasksNamesAlone) {
  const struct {
    const char* arrow;
    std::int32_t spinValue;
  } arrows[] = {{"up", kMoveSpinRest + 1}, {"down", kMoveSpinRest - 1}};
  for (const auto& arrow : arrows) {
    SCOPED_TRACE(arrow.arrow);
    Open({{true, "alpha", "a.exe"}, {true, "bravo", "b.exe"}, {true, "charlie", "c.exe"}});
    grid.SetRow(1);
    ASSERT_TRUE(grid.EditCell(1, kTaskNameColumn));
    control.surface.editorText = "bravo renamed";

    taskGrid.OnMoveSpin(arrow.spinValue);
    grid.KeyDown(kKeyEnter, {});  // Enter finishes the edit
    taskGrid.Store();

    const std::map<std::string, std::string> names = NamesByCommand();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names.at("a.exe"), "alpha");
    EXPECT_EQ(names.at("c.exe"), "charlie");
    EXPECT_TRUE(names.at("b.exe") == "bravo" || names.at("b.exe") == "bravo renamed") << names.at("b.exe");
  }
}

// Keyboard users reach the "Run" column with the arrow keys or Home; Space
// is how Windows toggles a check box that has the focus. With "Run Task
// before Action" off the list is read-only and Space changes nothing.
TEST_F(TaskGridEditingTest, SpaceOnTheRunColumnSwitchesTheTaskOnlyWhileTheListIsEditable) {
  Open({{false, "alpha", "a.exe"}, {false, "bravo", "b.exe"}});
  taskGrid.SetEditing(true);
  grid.SetRow(1);
  grid.KeyDown(kKeyHome, {});  // the first column: "Run"
  ASSERT_EQ(grid.Col(), kTaskRunColumn);

  grid.KeyDown(kKeySpace, {});
  taskGrid.Store();
  EXPECT_TRUE(GetTaskRecord(list_, 2).enabled) << "Space on bravo's Run box";
  EXPECT_FALSE(GetTaskRecord(list_, 1).enabled);

  taskGrid.SetEditing(false);
  grid.KeyDown(kKeySpace, {});
  taskGrid.Store();
  EXPECT_TRUE(GetTaskRecord(list_, 2).enabled) << "a read-only list keeps its boxes";
}

// The grid shows a few rows; a task moved down past the last one shown (or
// up past the first) would go on moving where the user cannot see it.
TEST_F(TaskGridEditingTest, TheMovedTaskStaysInView) {
  std::vector<TaskRecord> list;
  for (int n = 0; n < 12; ++n) list.push_back({true, "task " + std::to_string(n), "t" + std::to_string(n) + ".exe"});
  Open(list);
  ASSERT_LT(grid.ItemsVisible(), 12) << "fewer rows shown than the list holds";
  const struct {
    const char* arrow;
    std::int32_t from;
    std::int32_t spinValue;
  } moves[] = {{"down", 0, kMoveSpinRest - 1}, {"up", 11, kMoveSpinRest + 1}};
  for (const auto& move : moves) {
    SCOPED_TRACE(move.arrow);
    grid.SetTopRow(move.from);
    grid.SetRow(move.from);
    for (int click = 0; click < 11; ++click) {
      taskGrid.OnMoveSpin(move.spinValue);
      const std::int32_t row = grid.Row();
      const bool shown = row >= grid.TopRow() && row < grid.TopRow() + grid.ItemsVisible();
      EXPECT_TRUE(shown) << "after click " << click + 1 << " the task is on row " << row << ", the view shows rows "
                         << grid.TopRow() << " to " << grid.TopRow() + grid.ItemsVisible() - 1;
      if (!shown) break;
    }
  }
}

// "-" removes the current row and leaves the current row on the task that
// took its place, which the next "-" removes: that task must be one the user
// can see, not one the reloaded list scrolled away from.
TEST_F(TaskGridEditingTest, AfterADeleteTheTaskThatMinusRemovesNextIsInView) {
  std::vector<TaskRecord> list;
  for (int n = 0; n < 12; ++n) list.push_back({true, "task " + std::to_string(n), "t" + std::to_string(n) + ".exe"});
  Open(list);
  ASSERT_LT(grid.ItemsVisible(), 10) << "fewer rows shown than the list holds";
  grid.SetTopRow(11);  // scrolled to the end of the list
  grid.SetRow(10);     // the user clicked the second last task
  ASSERT_TRUE(grid.Row() >= grid.TopRow() && grid.Row() < grid.TopRow() + grid.ItemsVisible());

  taskGrid.Delete();
  ASSERT_EQ(grid.Model().RowCount(), 11);
  ASSERT_EQ(grid.Model().CellText(grid.Row(), kTaskNameColumn), "task 11") << "the place is kept";
  EXPECT_TRUE(grid.Row() >= grid.TopRow() && grid.Row() < grid.TopRow() + grid.ItemsVisible())
      << "the next \"-\" would remove row " << grid.Row() << "; the view shows rows " << grid.TopRow() << " to "
      << grid.TopRow() + grid.ItemsVisible() - 1;
}

}  // namespace
}  // namespace kelvane
