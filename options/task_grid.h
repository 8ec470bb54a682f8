#pragma once
// The task list as the options dialog edits it: a three-column grid ("Run",
// "Name", "Execution") filled from the list or, when the list is empty, from
// seven presets; written back in the order shown; with "+", "-" and a spin
// that moves the current row up or down.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/grid/grid_model.h"
#include "options/registry_values.h"
#include "tasks/task_records.h"

namespace kelvane {

// The grid control as the task list uses it: its model, and the properties
// that only the control's window knows.
class TaskGridControl {
 public:
  virtual ~TaskGridControl() = default;
  virtual GridModel& Model() = 0;
  virtual void SetEditTrigger(std::int32_t trigger) = 0;
  virtual void SetThemeStyle(std::int32_t style) = 0;
  virtual void SetFocusRectColor(OleColor color) = 0;
  virtual void SetEditable(bool editable) = 0;
  virtual void SetHotHeaderTracking(bool on) = 0;
  virtual void SetAllowUserResizing(std::int32_t mode) = 0;
  // Opens the in-place editor on a cell.
  virtual void EditCell(std::int32_t row, std::int32_t col) = 0;
  // Commits an open in-place editor, so that what was typed belongs to the
  // row it was typed in before rows move, go or are stored.
  virtual void FinishEditing() = 0;
  // Scrolls just enough to show the row.
  virtual void MakeRowVisible(std::int32_t row) = 0;
};

// The controls beside the grid, and the sound of a refused edit.
class TaskButtonsView {
 public:
  virtual ~TaskButtonsView() = default;
  virtual void EnableAdd(bool enabled) = 0;
  virtual void EnableDelete(bool enabled) = 0;
  virtual void EnableMove(bool enabled) = 0;
  virtual void SetMoveSpin(std::int32_t value) = 0;
  virtual void Beep() = 0;
};

// The grid's columns.
inline constexpr std::int32_t kTaskRunColumn = 0;
inline constexpr std::int32_t kTaskNameColumn = 1;
inline constexpr std::int32_t kTaskCommandColumn = 2;

// The move spin rests here; above it is the up arrow, below the down arrow.
inline constexpr std::int32_t kMoveSpinRest = 500;
inline constexpr std::int32_t kMoveSpinTop = 999;
inline constexpr std::int32_t kMoveSpinBottom = 1;

// The seven tasks offered when the list is empty. CCleaner and Spybot are
// enabled, at the folder the registry names, when they are installed.
std::vector<TaskRecord> TaskPresets(const RegistryValues& registry, std::string_view dataFolder);

class TaskGrid {
 public:
  // `dataFolder` is the per-user data folder written into two presets.
  TaskGrid(TaskGridControl& grid, TaskButtonsView& buttons, TaskList& tasks, const RegistryValues& registry,
           std::string dataFolder);

  // `SetupTaskGrid`: the columns and the look, once when the dialog opens.
  void Setup();
  // `LoadTaskGrid`: the list's tasks, or the presets when it is empty.
  void Load();
  // `StoreTaskGrid`: the rows with a name and a command line become the list,
  // numbered from 1 in the order shown. Returns how many such rows found no
  // slot; "+" stops at kMaxTasks rows, so only rows added behind its back can.
  std::int32_t Store();
  // The dialog is being applied: an open cell editor is committed first.
  void FinishEditing() { grid_.FinishEditing(); }

  // "+": a new empty row, made current, its name open for typing.
  void Add();
  // "-": removes the current row and commits the grid to the list at once.
  void Delete();
  // The move spin's new value.
  void OnMoveSpin(std::int32_t value);
  // "Run Task before Action": the grid's editing and the three controls
  // beside it follow the box.
  void SetEditing(bool on);
  bool Editing() const { return editing_; }

  // The grid's RequestEdit and RequestUpdate events, forwarded by the dialog.
  void OnRequestEdit(std::int32_t row, std::int32_t col, bool& cancel) const;
  // A name or command line holding the record separator is refused: the
  // edit stays open and the view beeps.
  void OnRequestUpdate(std::int32_t row, std::int32_t col, std::string& newText, bool& cancel) const;

 private:
  void AppendRow(const TaskRecord& task);
  void UpdateButtons();

  TaskGridControl& grid_;
  GridModel& model_;
  TaskButtonsView& buttons_;
  TaskList& tasks_;
  const RegistryValues& registry_;
  std::string dataFolder_;
  bool editing_ = true;
};

}  // namespace kelvane
