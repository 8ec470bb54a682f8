#pragma once
// The program's settings: the main window's schedule controls, the
// program-wide options and the task list, loaded from and saved to the store.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/numeric_spin.h"
#include "base/settings_store.h"
#include "bosskeys/boss_keys.h"
#include "conditions/condition.h"
#include "core/schedule.h"
#include "power/power.h"
#include "bosskeys/hotkey_settings.h"
#include "tasks/task_records.h"

namespace kelvane {

inline constexpr std::string_view kConfigSection = "CONFIG";
inline constexpr std::string_view kTaskSection = "TASK";
// The count is read under this spelling; the store matches names without
// regard to case, so it is the same section.
inline constexpr std::string_view kTaskSectionOnLoad = "Task";

// The values held by the main window's schedule controls.
struct ScheduleControls {
  // "Lock Computer" is in the action list only where the system offers it.
  bool lockOffered = false;
  PowerAction action = PowerAction::Shutdown;
  bool force = true;
  bool blink = true;
  bool prompt = true;
  NumericSpin blinkSeconds{1, 999, 30};
  bool countdownMode = true;
  NumericSpin period{1, 999, 1};
  CountdownUnit unit = CountdownUnit::Hours;
  NumericSpin hour{1, 12, 1};
  NumericSpin minute{0, 59, 0, true};
  HalfDay halfDay = HalfDay::AM;
  int repeatDays = 0;  // "RepeatDays", see kAllRepeatDays
  // The third mode: a condition instead of a time ("Method" 3).
  bool conditionMode = false;
  ConditionKind condition = ConditionKind::Idle;
  NumericSpin conditionMinutes{1, 999, 10};
  std::string conditionProgram;

  static ScheduleControls WithActions(bool lockOffered);
  std::vector<std::string> ActionItems() const { return ActionListItems(lockOffered); }
};

inline constexpr std::int32_t kDefaultPromptTimeout = 120;
inline constexpr std::int32_t kMaxPromptTimeout = 3600;
// The quiet conditions' thresholds: KB/s of the network, percent of the processor.
inline constexpr std::int32_t kDefaultConditionKBps = 50;
inline constexpr std::int32_t kMaxConditionKBps = 1000000;
inline constexpr std::int32_t kDefaultConditionPercent = 10;
inline constexpr std::int32_t kMaxConditionPercent = 99;

// Program-wide options that mirror settings.
struct ProgramOptions : BossKeyOptions {
  bool TrayTips = true;
  bool EnabledStart = false;
  bool StartUp = true;
  bool LockDuringTaskRun = false;
  bool DoTaskRun = false;
  // Keeps the computer from sleeping on idle while armed.
  bool KeepAwake = true;
  // Wakes a sleeping computer at the target to act.
  bool WakeToAct = false;
  // Seconds after which an unanswered prompt executes; 0 for never.
  std::int32_t PromptTimeout = kDefaultPromptTimeout;
  // Below these the network or the processor counts as quiet.
  std::int32_t ConditionKBps = kDefaultConditionKBps;
  std::int32_t ConditionPercent = kDefaultConditionPercent;
  TaskList tasks;
};

// Loads every setting; a value that cannot be converted leaves its control
// or option as it was. Writes nothing.
void LoadSettings(const SettingsStore& store, ScheduleControls& controls, ProgramOptions& options,
                  HotKeyPair hotKeys = {});
// Writes every setting; false when the store refused any of them (the
// others are written all the same).
bool SaveSettings(SettingsStore& store, const ScheduleControls& controls, const ProgramOptions& options,
                  HotKeyPair hotKeys = {});

// Reads "StartUp" (missing counts as on), writes it back as "1" or "0" and
// returns whether autostart is on.
bool NormalizeStartUp(SettingsStore& store);

// The per-user data folder below the APPDATA folder.
std::string DataFolderPath(std::string_view appData);

// The APPDATA folder: the environment's when it names a full path, else the
// one the system keeps for the user, which `knownFolder` is asked for only
// then (asking loads parts of the system that a start can do without). A
// missing or relative variable would put the data folder where other users
// can write, and tasks naming %KLAPPDATA% would run what they left there.
std::string ChooseAppDataFolder(std::string_view environmentValue, const std::function<std::string()>& knownFolder);

}  // namespace kelvane
