#pragma once
// The registry, the grid control and the task buttons as the options
// dialog's tests see them.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "controls/grid/grid_recorders.h"
#include "options/task_grid.h"

namespace kelvane::testing {

using RegistryMap = std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string>;

class FakeRegistry : public RegistryValues {
 public:
  RegistryMap values;
  std::string GetRegValue(RegistryRoot root, std::string_view subKey, std::string_view valueName) const override {
    const auto found = values.find({root, std::string(subKey), std::string(valueName)});
    return found == values.end() ? std::string() : found->second;
  }
};

// The model, and a log of the properties only the window knows, each noted
// with whether painting was on and how many columns there were.
class FakeGridControl : public TaskGridControl {
 public:
  RecordingView view;
  GridModel model{&view};
  std::vector<std::string> log;
  bool editable = false;

  GridModel& Model() override { return model; }
  void SetEditTrigger(std::int32_t v) override { Note("EditTrigger", v); }
  void SetThemeStyle(std::int32_t v) override { Note("ThemeStyle", v); }
  void SetFocusRectColor(OleColor v) override { Note("FocusRectColor", static_cast<std::int64_t>(v)); }
  void SetEditable(bool v) override { Note("Editable", editable = v); }
  void SetHotHeaderTracking(bool v) override { Note("HotHeaderTracking", v); }
  void SetAllowUserResizing(std::int32_t v) override { Note("AllowUserResizing", v); }
  void EditCell(std::int32_t row, std::int32_t col) override { editedCells.emplace_back(row, col); }
  void FinishEditing() override { ++finishedEdits; }
  void MakeRowVisible(std::int32_t row) override { shownRows.push_back(row); }
  std::vector<std::pair<std::int32_t, std::int32_t>> editedCells;
  int finishedEdits = 0;
  std::vector<std::int32_t> shownRows;

 private:
  void Note(const char* what, std::int64_t value) {
    log.push_back(std::string(what) + ' ' + std::to_string(value) + (model.Redraw() ? " painting" : " batched") +
                  " cols " + std::to_string(model.Cols()));
  }
};

class FakeButtons : public TaskButtonsView {
 public:
  bool add = false, del = false, move = false;
  std::vector<std::int32_t> spinSets;
  int beeps = 0;
  void EnableAdd(bool on) override { add = on; }
  void EnableDelete(bool on) override { del = on; }
  void EnableMove(bool on) override { move = on; }
  void SetMoveSpin(std::int32_t value) override { spinSets.push_back(value); }
  void Beep() override { ++beeps; }
};

}  // namespace kelvane::testing
