#pragma once
// The options dialog's behaviour: opening fills its controls from the
// settings and the two hotkey controls; the check boxes that act at once act;
// OK and the close image apply everything in a fixed order; Esc applies
// nothing. The Win32 dialog binds its controls to this class.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/numeric_spin.h"
#include "base/settings_store.h"
#include "bosskeys/boss_keys.h"
#include "bosskeys/hotkey_settings.h"
#include "options/autostart.h"
#include "options/task_grid.h"
#include "tasks/task_records.h"

namespace kelvane {

// The options the dialog edits, as the program holds them.
struct EditedOptions {
  BossKeyOptions& bossKeys;
  bool& trayTips;
  bool& enabledStart;
  bool& startUp;
  bool& lockDuringTaskRun;
  bool& doTaskRun;
  bool& keepAwake;
  std::int32_t& promptTimeout;
  bool& wakeToAct;
  // The thresholds below which the network and the processor are quiet.
  std::int32_t& quietKBps;
  std::int32_t& quietPercent;
  TaskList& tasks;
};

// What the dialog opens for the user.
class ShellActions {
 public:
  virtual ~ShellActions() = default;
  // The shell's "open" on a document; nothing is reported when it fails.
  virtual void OpenDocument(const std::string& path) = 0;
  // A new process with a normal, focused window; failures are ignored.
  virtual void StartProcess(const std::string& commandLine) = 0;
};

// What the main window hands the dialog.
struct OptionsSettings {
  EditedOptions options;
  HotKeyEditor& bossKey;
  HotKeyEditor& altBossKey;
  SettingsStore& store;
  RunKey& runKey;
  // The operating system's name, as the power actions classify it.
  std::string osName;
  // The running program's full path and the per-user data folder.
  std::string programPath;
  std::string dataFolder;
};

// With what the dialog itself asks of the system.
struct OptionsServices {
  OptionsSettings settings;
  ShellActions& shell;
  const RegistryValues& registry;
};

enum class OptionsCheck {
  Startup,
  EnabledStart,
  TrayTips,
  KeepAwake,
  WakeToAct,
  PromptTimeout,
  BossKey,
  AltBossKey,
  BossExecute,
  BossHide,
  BossIgnorePrompt,
  AltRunTasks,
  AltHide,
  AltIgnorePrompt,
  TaskRun,
  Lock,
};

enum class Modifier { Control = 0, Shift = 1, Alt = 2, Win = 3 };

// The dialog's number boxes.
enum class OptionsNumber { PromptTimeout, QuietKBps, QuietPercent };

// One boss-key frame: the enabling box over its caption, the four modifier
// boxes and the key list.
struct HotKeyFrame {
  bool on = false;
  std::array<bool, 4> modifiers{};
  int keyIndex = -1;  // -1: nothing selected
  std::string caption;
};

// Everything the dialog's controls show.
struct OptionsState {
  std::vector<std::string> keyNames;
  HotKeyFrame boss;
  HotKeyFrame alt;
  std::vector<std::string> altActions;
  int altActionIndex = -1;  // -1: nothing selected
  bool startup = false;
  bool enabledStart = false;
  bool trayTips = true;
  bool keepAwake = true;
  bool wakeToAct = false;
  bool promptTimeoutOn = true;
  NumericSpin promptTimeout{1, 3600, 120};
  NumericSpin quietKBps{1, 1000000, 50};
  NumericSpin quietPercent{1, 99, 10};
  bool bossExecute = true;
  bool bossHide = false;
  bool bossIgnorePrompt = false;
  bool altRunTasks = false;
  bool altHide = true;
  bool altIgnorePrompt = true;
  bool taskRun = false;
  bool lock = false;
};

bool CheckValue(const OptionsState& state, OptionsCheck check);
const NumericSpin& NumberValue(const OptionsState& state, OptionsNumber number);

class OptionsView {
 public:
  virtual ~OptionsView() = default;
  // Brings every control in line with the state; the grid and the task
  // buttons are the task grid's.
  virtual void ShowState(const OptionsState& state) = 0;
  virtual void Close() = 0;
};

// The power options control panel.
inline constexpr std::string_view kPowerConfigCommand = "rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,@28";

class OptionsForm {
 public:
  OptionsForm(OptionsView& view, TaskGridControl& grid, TaskButtonsView& buttons, OptionsServices services);

  // Opening: the controls from the settings and the hotkey controls, the
  // task grid set up and filled, the dependent controls in line.
  void Open();

  void OnCheck(OptionsCheck check, bool checked);
  void OnModifier(BossKey key, Modifier modifier, bool checked);
  void OnKeySelected(BossKey key, int index);
  void OnAltActionSelected(int index);
  // A number box: typed into, stepped by its spin or keys, and left.
  void OnNumberText(OptionsNumber number, std::string_view text);
  void OnNumberStep(OptionsNumber number, int delta);
  void OnNumberLeft(OptionsNumber number);

  // OK and the close image.
  void ApplyAndClose();
  // Esc: closes without applying.
  void Discard();

  void OnHelp();
  void OnPowerConfig();
  void OnShowLog();

  TaskGrid& Tasks() { return taskGrid_; }
  const OptionsState& State() const { return state_; }

 private:
  void ShowHotKey(HotKeyFrame& frame, const HotKeyEditor& hotKey) const;
  void StoreHotKey(HotKeyEditor& hotKey, const HotKeyFrame& frame) const;
  void SetFrameOn(BossKey key, bool on);
  void Refresh() { view_.ShowState(state_); }
  NumericSpin& Number(OptionsNumber number);

  OptionsView& view_;
  OptionsServices services_;
  TaskGrid taskGrid_;
  OptionsState state_;
  bool closed_ = false;
};

}  // namespace kelvane
