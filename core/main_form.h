#pragma once
// The main window's behaviour: start-up, the schedule controls, arming and
// ticking, the firing sequence, quitting and the orderly close. The Win32
// window binds its controls and messages to this class.

#include <memory>
#include <optional>
#include <string>

#include "bosskeys/boss_keys.h"
#include "bosskeys/window_hiding.h"
#include "base/clock.h"
#include "core/command_line.h"
#include "core/schedule.h"
#include "core/settings.h"
#include "base/settings_store.h"
#include "options/options_form.h"
#include "tray/tray_icon.h"
#include "options/autostart.h"
#include "power/power.h"
#include "prompt/prompt_model.h"
#include "tray/tray_menu.h"

namespace kelvane {

enum class ScheduleField { Period, Hour, Minute, Blink, ConditionMinutes };
enum class ScheduleCheck { Prompt, Blink, Force };

// The status line when the prompt could not be shown and the action was dropped.
inline constexpr const char* kPromptFailedStatus = "Cancelled: the prompt could not be shown";

// The drawn caption buttons, numbered as the window's images are.
enum class CaptionButton { Close = 4, Minimize = 5 };

// Which schedule controls accept input: the mode and the blink box choose
// among the boxes, and while armed none does, so that the window shows what
// will be performed.
struct ControlEnabling {
  bool choices = true;  // cmbAction, optIn, optAt and the three check boxes
  bool period = true;   // txtPeriod, vsPeriod, cmbUnit
  bool clock = false;   // txtHour, vsHour, txtMin, vsMin, cmbT
  bool blink = true;    // txtBlink, vsBlink
  bool repeat = false;  // the day boxes of "Repeat"
  bool condition = false;  // cmbCondition and its value
};
ControlEnabling EnablingFor(const ScheduleControls& controls, bool armed);

// The main window itself, as the presenter sees it.
class MainView {
 public:
  virtual ~MainView() = default;
  // Brings every control in line with the model (texts, selections, checks,
  // enabling); controls already showing the value are left alone.
  virtual void ShowControls(const ScheduleControls& controls, const ControlEnabling& enabling) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  // The items of the list of running programs.
  virtual void SetProgramItems(const std::vector<std::string>& items) = 0;
  virtual void SetToggleCaption(const std::string& caption) = 0;
  virtual void SetTimerRunning(bool running) = 0;
  // One call of MainForm::OnDeadlineTimer after `delay`, replacing an
  // earlier request.
  virtual void StartDeadlineTimer(std::chrono::milliseconds delay) = 0;
  virtual void SetShowHiddenPicture(bool shown) = 0;
  virtual void SetVisible(bool visible) = 0;
  // The hourglass pointer on or off.
  virtual void SetWaitCursor(bool wait) = 0;
  virtual void BringToFront() = 0;
  // "Do you want to quit Kelvane?" with Yes and No; true for Yes.
  virtual bool AskQuit() = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  // Tells the user that the schedule's input cannot be used (a beep).
  virtual void SignalInvalidInput() = 0;
  virtual void ProcessPendingMessages() = 0;
  // Destroys the window after the orderly close has run.
  virtual void Unload() = 0;
  // Closes every other window and ends the process without fault dialogs.
  virtual void EndProcess() = 0;
};

// The windows of other subsystems that the main window opens.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the prompt modally and returns its answer; nullopt when the prompt
  // could not be shown at all.
  // After `timeoutSeconds` (0: never) without an answer the prompt answers
  // Execute by itself.
  virtual std::optional<PromptAnswer> RunPrompt(const std::string& actionName, int timeoutSeconds) = 0;
  // Shows the options dialog modally over the main window.
  virtual void RunOptionsDialog(const OptionsSettings& settings) = 0;
  virtual TrayMenuCommand RunTrayMenu() = 0;
  // The check mark of the tray menu's "Enabled".
  virtual void SetTrayMenuEnabledCheck(bool checked) = 0;
  virtual void RunAboutBox() = 0;
  virtual void CloseAboutBox() = 0;
};

// The two boss-key hotkey controls, `HotKeyCtlBoss` and `HotKeyCtlAltB`.
class HotKeyControls {
 public:
  virtual ~HotKeyControls() = default;
  virtual HotKeyPair HotKeys() = 0;
  // The control of one boss key, as the options dialog edits it.
  virtual HotKeyEditor& Editor(BossKey key) = 0;
  // Switches both hotkeys off and releases them.
  virtual void StopHotkeys() = 0;
};

class TaskRunnerPart {
 public:
  virtual ~TaskRunnerPart() = default;
  virtual void RunTasks(const TaskList& tasks) = 0;
  // No further task starts; the one running finishes on its own.
  virtual void Cancel() = 0;
  // A line of its own in the task log.
  virtual void LogNote(const std::string& text) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // An existing folder, or one that cannot be made, is not an error.
  virtual void CreateFolder(const std::string& path) = 0;
};

// The task log's line when the store refused a setting.
inline constexpr std::string_view kSettingsNotSavedNote = "Settings could not be saved: the registry refused a value";

struct MainServices {
  SettingsStore& store;
  PowerApi& power;
  const Clock& clock;
  const LocalTimeZone& zone;
  TrayIcon& tray;
  RunKey& runKey;
  FileSystem& files;
  TaskRunnerPart& tasks;
  WindowHider& windows;
  HotKeyControls& hotKeys;
  std::string programPath;
  std::string appData;
  // What the conditions sample; without it no condition can be armed.
  ConditionSampler* conditions = nullptr;
};

class MainForm : private ScheduleHost, private BossKeyHost {
 public:
  MainForm(MainView& view, Dialogs& dialogs, MainServices services);

  // The start-up sequence, run when the window has been created.
  void Start();

  void OnActionSelected(int index);
  void OnModeSelected(bool countdown);
  void OnUnitSelected(int index);
  void OnHalfDaySelected(int index);
  // The "When" option, its condition list and the program's name.
  void OnConditionModeSelected();
  void OnConditionSelected(int index);
  void OnConditionProgramChanged(const std::string& text);
  // The program list is about to drop down: it lists what runs now.
  void OnProgramListOpening();
  void OnCheckChanged(ScheduleCheck check, bool checked);
  // A day's box of "Repeat" (0 Monday to 6 Sunday).
  void OnRepeatDayChanged(int day, bool checked);
  // The user typed into a box: kept as typed until the edit is finished.
  void OnFieldTextChanged(ScheduleField field, const std::string& text);
  // The box lost the focus: its range and format apply.
  void OnFieldLeft(ScheduleField field);
  // A spin's arrows (up positive) or a step key in the box.
  void OnFieldStep(ScheduleField field, int delta);
  void OnFieldKey(ScheduleField field, StepKey key) { OnFieldStep(field, StepOf(key)); }
  static bool AcceptsFieldChar(char32_t c);

  void OnToggleClicked();
  // Enter in the window: the default button, "&Enable" or "&Disable".
  void OnEnterKey() { OnToggleClicked(); }
  void OnOptionsClicked();
  void DoAction(CaptionButton button);
  void OnEscape();
  void OnTimerTick();
  void OnDeadlineTimer();
  // The wall clock was set or the time zone changed.
  void OnClockChanged();
  // The computer woke from sleep or hibernation.
  void OnResume();
  // A second start of the program asks this one to show itself.
  void OnShowRequest();
  void OnTrayMouseDown(TrayButton button);
  void OnTrayCommand(TrayMenuCommand command);
  // `HotkeyPressed` of the boss key and of the alternative boss key.
  void OnHotKeyPressed(BossKey key);
  void OnBossKeyPressed() { OnHotKeyPressed(BossKey::Boss); }
  void OnAltBossKeyPressed() { OnHotKeyPressed(BossKey::Alternative); }
  void OnShowHiddenClicked() { bossKeys_.OnShowHiddenClick(); }
  // `ErrorOccured` of a hotkey control: the boss key's message is shown, the
  // alternative key's failures stay quiet.
  void OnHotKeyError(BossKey key, const std::string& message);
  // Every unload of the window: saves, shows hidden windows again unless the
  // computer is being shut down, releases the tray icon and the hotkeys.
  void OnUnload();
  // The user's session ends (a logoff, or an installer closing the
  // program): disarm, bring hidden windows back and end.
  void OnEndSession();
  // Asked whether the session may end. An installer that closes the
  // program (`ENDSESSION_CLOSEAPP`) may end the process after the answer,
  // so hidden windows come back now.
  void OnQueryEndSession(bool closingForInstaller);
  void ExitProgram();

  // A command line given to this program: the controls take its values and
  // it arms exactly as "&Enable" does, or disarms, or tells the state. The
  // text is for the caller's console.
  struct CommandReply {
    int exitCode = kExitOk;
    std::string text;
  };
  CommandReply ApplyCommand(const Command& command);
  // "Disabled", or what is armed and when.
  std::string StatusText() const;

  void SaveSettings() override;

  const ScheduleControls& Controls() const { return controls_; }
  ProgramOptions& Options() { return options_; }
  bool WindowsHidden() const override { return bossKeys_.WindowsHidden(); }
  Schedule& GetSchedule() { return schedule_; }
  bool QuitFlag() const { return quit_; }
  // Quitting was confirmed, the session ended or the window has gone:
  // nothing more is performed.
  bool Ending() const override { return ending_ || unloaded_; }
  bool ShuttingDown() const { return shuttingDown_; }
  const std::string& DataFolder() const { return dataFolder_; }

 private:
  // ScheduleHost
  ArmingInputs ReadInputs() const override;
  bool TrayTipsOn() const override { return options_.TrayTips; }
  void SetStatus(const std::string& text) override { view_.SetStatus(text); }
  void SetToggleCaption(const std::string& caption) override { view_.SetToggleCaption(caption); }
  void SetEnabledMenuCheck(bool checked) override { dialogs_.SetTrayMenuEnabledCheck(checked); }
  void SetTimerRunning(bool running) override;
  void StartDeadlineTimer(std::chrono::milliseconds delay) override { view_.StartDeadlineTimer(delay); }
  void SetTrayImage(TrayImage image) override { services_.tray.SetImage(image); }
  void SetTrayTip(const std::string& tip) override { services_.tray.SetToolTip(tip); }
  bool TrayCanShowBalloons() const override { return services_.tray.IsBalloonCapable(); }
  void ShowBalloon(const std::string& text) override;
  void FireAction() override;

  // BossKeyHost
  const ProgramOptions& Options() const override { return options_; }
  bool Armed() const override { return schedule_.Armed(); }
  void ForgetArmed() override { schedule_.ForgetArmed(); }
  void ArmNow() override { Toggle(ToggleTrigger::BossKeyNow); }
  void SetShowHiddenPicture(bool shown) override { view_.SetShowHiddenPicture(shown); }
  void ProcessPendingMessages() override { view_.ProcessPendingMessages(); }
  void RunTasks() override { services_.tasks.RunTasks(options_.tasks); }
  void SetWaitCursor(bool wait) override { view_.SetWaitCursor(wait); }
  void SuspendPower(std::int32_t hibernate) override;
  void LockComputer() override;

  // A power call the system refused: the user gets the desktop back and is told.
  void OnPowerCallFailed(PowerAction action);
  // The session was asked to end and has not: the user gets the desktop
  // back and is told, before the prompt asks again.
  void OnSessionNotEnded(PowerAction action);
  // From here on no tick, task, lock or power call happens.
  void BeginEnding();

  void ShowTrayAtStart();
  void Unload();
  void PerformAction(bool lockedBeforeTasks);
  // A clock time that repeats is armed for its next day at once after an
  // action that leaves the program running, and after an Abort.
  void ArmNextRepeat();
  // With "WakeToAct", a timer wakes the computer at an armed time target.
  void UpdateWakeTimer();
  NumericSpin& Spin(ScheduleField field);
  // Arms or disarms; an arming first finishes every edit, so that the boxes
  // show the values the schedule reads.
  bool Toggle(ToggleTrigger trigger);
  // While armed the schedule's inputs take no changes; the controls are shown
  // again as they are.
  bool RefusedWhileArmed();
  void Refresh();

  MainView& view_;
  Dialogs& dialogs_;
  MainServices services_;
  ScheduleControls controls_;
  ProgramOptions options_;
  Schedule schedule_;
  BossKeys bossKeys_;
  std::string dataFolder_;
  bool quit_ = false;
  bool ending_ = false;
  bool shuttingDown_ = false;
  bool unloaded_ = false;
  std::optional<Instant> wakeAt_;
  // The arming that waits for the session to end and retries it.
  std::uint64_t retryArming_ = 0;
};

}  // namespace kelvane
