#pragma once
// The program's settings: the main window's schedule controls, the
// program-wide options and the task list, loaded from and saved to the store.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/numeric_spin.h"
#include "base/settings_store.h"
#include "bosskeys/boss_keys.h"
#include "bosskeys/hotkey_settings.h"
#include "tasks/task_records.h"

namespace kelvane {

inline constexpr std::string_view kConfigSection = "CONFIG";
inline constexpr std::string_view kTaskSection = "TASK";
// The count is read under this spelling; the store matches names without
// regard to case, so it is the same section.
inline constexpr std::string_view kTaskSectionOnLoad = "Task";

// Texts of the action list, in index order.
inline const std::vector<std::string>& ActionNames() {
  static const std::vector<std::string> names{"Shutdown", "Restart", "Log Off",
                                              "Suspend", "Hibernate", "Lock Computer"};
  return names;
}
inline constexpr int kLockComputerIndex = 5;

// The values held by the main window's schedule controls.
struct ScheduleControls {
  // Items of the action list: the first five always, "Lock Computer" only
  // where the system offers it.
  std::vector<std::string> actionItems;
  int actionIndex = 0;
  std::string actionName = "Shutdown";
  bool force = true;
  bool blink = true;
  bool prompt = true;
  NumericSpin blinkSeconds{1, 999, 30};
  bool countdownMode = true;
  NumericSpin period{1, 999, 1};
  int unitIndex = 0;  // 0 Hours, 1 Minutes, 2 Seconds
  NumericSpin hour{1, 12, 1};
  NumericSpin minute{0, 59, 0, true};
  int halfDayIndex = 0;  // 0 AM, 1 PM

  static ScheduleControls WithActions(bool lockOffered);
};

// Program-wide options that mirror settings.
struct ProgramOptions : BossKeyOptions {
  bool TrayTips = true;
  bool EnabledStart = false;
  bool StartUp = true;
  bool LockDuringTaskRun = false;
  bool DoTaskRun = false;
  TaskList tasks;
};

// Loads every setting; a value that cannot be converted leaves its control
// or option as it was. Writes nothing.
void LoadSettings(const SettingsStore& store, ScheduleControls& controls, ProgramOptions& options,
                  HotKeyPair hotKeys = {});
void SaveSettings(SettingsStore& store, const ScheduleControls& controls, const ProgramOptions& options,
                  HotKeyPair hotKeys = {});

// Reads "StartUp" (missing counts as on), writes it back as "1" or "0" and
// returns whether autostart is on.
bool NormalizeStartUp(SettingsStore& store);

// The per-user data folder below the APPDATA folder.
std::string DataFolderPath(std::string_view appData);

}  // namespace kelvane
