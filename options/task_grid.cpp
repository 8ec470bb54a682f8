#include "options/task_grid.h"

#include <algorithm>
#include <utility>

namespace kelvane {
namespace {

// Editing starts and commits with Enter (2) and toggles on a double-click (16).
constexpr std::int32_t kEditTrigger = 2 | 16;
constexpr std::int32_t kRowHeightMin = 21;
constexpr std::int32_t kAlignCentre = 5;
constexpr std::int32_t kAlignLeft = 4;
constexpr std::int32_t kThemeStyle = 3;
constexpr OleColor kFocusRectColor = 0xE0A57D;
constexpr std::int32_t kResizeColumns = 1;

// Found: enabled, at the registry's folder; not found: disabled, at the
// folder a default installation uses.
struct Detected {
  bool found;
  std::string folder;
};

Detected Detect(const RegistryValues& registry, RegistryRoot root, std::string_view key, std::string_view value,
                std::string_view fallback) {
  std::string folder = registry.GetRegValue(root, key, value);
  if (folder.empty()) return {false, std::string(fallback)};
  return {true, std::move(folder)};
}

bool HoldsSeparator(std::string_view text) { return text.find(kTaskSeparator) != std::string_view::npos; }

}  // namespace

std::vector<TaskRecord> TaskPresets(const RegistryValues& registry, std::string_view dataFolder) {
  const Detected ccleaner =
      Detect(registry, RegistryRoot::LocalMachine, R"(Software\CCleaner)", "", R"(C:\Program Files\CCleaner)");
  // The leading backslash is the spelling the presets have always looked up.
  const Detected spybot = Detect(registry, RegistryRoot::CurrentUser, R"(\Software\Safer Networking Limited\SpybotSnD)",
                                 "Path", R"(C:\Program Files\Spybot - Search & Destroy\)");
  const std::string data(dataFolder);
  return {
      {ccleaner.found, "CCleaner", ccleaner.folder + R"(\ccleaner.exe /AUTO)"},
      {spybot.found, "Spybot S&&D",
       "\"" + spybot.folder + R"(\SpybotSD.exe" /taskbarhide /autocheck /autofix /autoclose /onlyspyware)"},
      {false, "Defrag Harddisk", R"(%SYS32%\cmd.exe /C %SYS32%\Defrag.exe c:\ -v > ")" + data + R"(\"defrag.txt)"},
      {false, "Analyse Harddisk",
       R"(%SYS32%\cmd.exe /C %SYS32%\Defrag.exe c:\ -a -v > ")" + data + R"(\"defrag.txt)"},
      {false, "AVG Virus Scan C:",
       R"(%SYS32%\cmd.exe /C C:\"Program Files\Grisoft\AVG Free"\AVGSCAN.exe /CLEAN /HEUR /REPORT="%KLAPPDATA%"\AvgVirusLog.TXT c:\)"},
      {false, "Windows Disk Cleaup", R"(%SYS32%\cmd.exe /C %SYS32%\cleanmgr.exe /d c: )"},
      {false, "Ad-Aware 2007 Smart",
       R"(%SYS32%\cmd.exe /C "C:\Program Files\Lavasoft\Ad-Aware 2007\"Ad-Aware2007.exe /Smart /Silent /Clean /Cookies )"},
  };
}

TaskGrid::TaskGrid(TaskGridControl& grid, TaskButtonsView& buttons, TaskList& tasks, const RegistryValues& registry,
                   std::string dataFolder)
    : grid_(grid),
      model_(grid.Model()),
      buttons_(buttons),
      tasks_(tasks),
      registry_(registry),
      dataFolder_(std::move(dataFolder)) {}

void TaskGrid::Setup() {
  model_.SetRedraw(false);
  grid_.SetEditTrigger(kEditTrigger);
  model_.SetRowHeightMin(kRowHeightMin);
  model_.AddColumn("Run", 60, kAlignCentre, ColumnType::CheckBox);
  model_.AddColumn("Name", 140, kAlignLeft, ColumnType::Text);
  model_.AddColumn("Execution", 208);
  grid_.SetThemeStyle(kThemeStyle);
  grid_.SetFocusRectColor(kFocusRectColor);
  grid_.SetEditable(true);
  editing_ = true;
  grid_.SetHotHeaderTracking(false);
  grid_.SetAllowUserResizing(kResizeColumns);
  model_.SetColumnSort(true);
  model_.SetRedraw(true);
  model_.Refresh();
}

void TaskGrid::AppendRow(const TaskRecord& task) {
  const std::int32_t row = model_.AddItem();
  model_.SetCellText(row, kTaskNameColumn, task.name);
  model_.SetCellText(row, kTaskRunColumn, task.enabled ? "1" : "0");
  model_.SetCellChecked(row, kTaskRunColumn, task.enabled);
  model_.SetCellText(row, kTaskCommandColumn, task.commandLine);
}

void TaskGrid::Load() {
  model_.Clear();
  model_.SetRedraw(false);
  // A count from a damaged store below 1 is an empty list, and above the
  // last slot there are no records to show.
  const std::int32_t count = std::clamp<std::int32_t>(tasks_.TaskCount, 0, kMaxTasks);
  if (count > 0) {
    for (int n = 1; n <= count; ++n) AppendRow(GetTaskRecord(tasks_, n));
  } else {
    for (const TaskRecord& preset : TaskPresets(registry_, dataFolder_)) AppendRow(preset);
  }
  model_.SetRedraw(true);
  model_.Refresh();
  UpdateButtons();
}

std::int32_t TaskGrid::Store() {
  tasks_.TaskCount = 0;
  std::int32_t withoutSlot = 0;
  for (std::int32_t row = 0; row < model_.RowCount(); ++row) {
    TaskRecord task{model_.CellChecked(row, kTaskRunColumn), model_.CellText(row, kTaskNameColumn),
                    model_.CellText(row, kTaskCommandColumn)};
    if (task.name.empty() || task.commandLine.empty()) continue;
    if (tasks_.TaskCount == kMaxTasks) {
      ++withoutSlot;
      continue;
    }
    ++tasks_.TaskCount;
    SetTaskRecord(tasks_, tasks_.TaskCount, task);
  }
  return withoutSlot;
}

void TaskGrid::Add() {
  // Past kMaxTasks rows a new one could not be stored.
  if (!editing_ || model_.RowCount() >= kMaxTasks) return;
  grid_.FinishEditing();
  const std::int32_t row = model_.AddItem();
  UpdateButtons();
  model_.SetRow(row);
  // The name is typed first; Right then reaches the command line.
  model_.SetCol(kTaskNameColumn);
  grid_.MakeRowVisible(row);
  grid_.EditCell(row, kTaskNameColumn);
}

void TaskGrid::Delete() {
  grid_.FinishEditing();
  const std::int32_t row = model_.Row();
  if (!editing_ || row >= model_.RowCount()) return;
  if (row >= 0) model_.RemoveItem(row);
  Store();
  Load();
  // Reloading makes the first row current; the row that moved into the
  // deleted one's place is where the user was.
  if (row >= 0 && model_.RowCount() > 0) {
    const std::int32_t current = std::min(row, model_.RowCount() - 1);
    model_.SetRow(current);
    grid_.MakeRowVisible(current);
  }
}

void TaskGrid::OnMoveSpin(std::int32_t value) {
  // Setting the spin back to its rest reports that value too.
  if (value == kMoveSpinRest) return;
  // The spin's arrows take no focus, so a name may still be open in the
  // row about to move.
  grid_.FinishEditing();
  const std::int32_t row = model_.Row();
  const std::int32_t rows = model_.RowCount();
  if (editing_ && rows >= 2 && row >= 0) {
    if (value > kMoveSpinRest && row >= 1) {
      model_.SwapRow(row, row - 1);
    } else if (value < kMoveSpinRest && row < rows - 1) {
      model_.SwapRow(row, row + 1);
    }
    grid_.MakeRowVisible(model_.Row());
  }
  // Always back to the rest, so that neither arrow ever reaches the end of
  // the range and stops reporting.
  buttons_.SetMoveSpin(kMoveSpinRest);
}

void TaskGrid::SetEditing(bool on) {
  editing_ = on;
  grid_.SetEditable(on);
  UpdateButtons();
}

void TaskGrid::UpdateButtons() {
  buttons_.EnableAdd(editing_ && model_.RowCount() < kMaxTasks);
  buttons_.EnableDelete(editing_);
  buttons_.EnableMove(editing_);
}

void TaskGrid::OnRequestEdit(std::int32_t, std::int32_t, bool& cancel) const {
  // The check boxes toggle through this request too, not only text edits.
  if (!editing_) cancel = true;
}

void TaskGrid::OnRequestUpdate(std::int32_t, std::int32_t col, std::string& newText, bool& cancel) const {
  if (col != kTaskRunColumn && HoldsSeparator(newText)) {
    cancel = true;
    buttons_.Beep();
  }
}

}  // namespace kelvane
