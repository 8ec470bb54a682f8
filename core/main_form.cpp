#include "core/main_form.h"

#include "base/value_codec.h"

namespace kelvane {

ControlEnabling EnablingFor(const ScheduleControls& controls) {
  return {controls.countdownMode, !controls.countdownMode, controls.blink};
}

MainForm::MainForm(MainView& view, MainServices services)
    : view_(view),
      services_(std::move(services)),
      schedule_(services_.clock, services_.zone, *this),
      bossKeys_(*this, services_.windows) {}

void MainForm::Start() {
  quit_ = true;
  controls_ = ScheduleControls::WithActions(LockOffered(GetOsVersionInfo(services_.power)));
  options_.StartUp = NormalizeStartUp(services_.store);
  SetAutostart(services_.runKey, services_.programPath, options_.StartUp);
  dataFolder_ = DataFolderPath(services_.appData);
  services_.files.CreateFolder(dataFolder_);

  LoadSettings(services_.store, controls_, options_, services_.hotKeys.HotKeys());
  Refresh();
  services_.tray.SetImage(TrayImage::Idle);
  services_.tray.SetToolTip(IdleTip(false));

  if (options_.EnabledStart) {
    // A short countdown armed at start-up could fire before the user can
    // react, so seconds below 30 are raised to 30.
    if (controls_.unitIndex == static_cast<int>(CountdownUnit::Seconds) &&
        LeadingNumber(controls_.period.text()) < 30) {
      controls_.period.SetText("30");
      Refresh();
    }
    schedule_.ToggleSchedule(ToggleTrigger::User);
  }
  ShowTrayAtStart();
  services_.windows.ResetWindowLists();
  view_.ProcessPendingMessages();
}

void MainForm::ShowTrayAtStart() {
  TrayIcon& tray = services_.tray;
  tray.Show();
  if (!tray.IsBalloonCapable()) return;
  tray.SetBalloonIcon(kBalloonIconUser);
  tray.SetBalloonTitle(std::string(kProductName));
  if (!options_.TrayTips) return;
  // Armed at start-up, the balloon repeats the text the arming has set.
  if (!schedule_.Armed()) tray.SetBalloonText("No Action");
  tray.BalloonShow(true, kBalloonTimeoutMs, false);
}

void MainForm::OnActionSelected(int index) {
  if (index < 0 || index >= static_cast<int>(controls_.actionItems.size())) return;
  controls_.actionIndex = index;
  controls_.actionName = controls_.actionItems[static_cast<std::size_t>(index)];
  Refresh();
}

void MainForm::OnModeSelected(bool countdown) {
  controls_.countdownMode = countdown;
  Refresh();
}

void MainForm::OnUnitSelected(int index) {
  if (index >= 0 && index < 3) controls_.unitIndex = index;
  Refresh();
}

void MainForm::OnHalfDaySelected(int index) {
  if (index >= 0 && index < 2) controls_.halfDayIndex = index;
  Refresh();
}

void MainForm::OnCheckChanged(ScheduleCheck check, bool checked) {
  switch (check) {
    case ScheduleCheck::Prompt: controls_.prompt = checked; break;
    case ScheduleCheck::Blink: controls_.blink = checked; break;
    case ScheduleCheck::Force: controls_.force = checked; break;
  }
  Refresh();
}

NumericSpin& MainForm::Spin(ScheduleField field) {
  switch (field) {
    case ScheduleField::Period: return controls_.period;
    case ScheduleField::Hour: return controls_.hour;
    case ScheduleField::Minute: return controls_.minute;
    case ScheduleField::Blink: break;
  }
  return controls_.blinkSeconds;
}

void MainForm::OnFieldTextChanged(ScheduleField field, const std::string& text) {
  NumericSpin& spin = Spin(field);
  if (spin.text() == text) return;
  spin.SetText(text);
  Refresh();
}

void MainForm::OnFieldSpin(ScheduleField field, bool upArrow) {
  NumericSpin& spin = Spin(field);
  spin.SetValue(spin.value() + (upArrow ? -1 : 1));
  Refresh();
}

bool MainForm::AcceptsFieldChar(char32_t c) { return NumericSpin::AcceptsChar(c); }

void MainForm::Refresh() { view_.ShowControls(controls_, EnablingFor(controls_)); }

void MainForm::OnToggleClicked() {
  if (!schedule_.ToggleSchedule(ToggleTrigger::User)) view_.SignalInvalidInput();
}

void MainForm::OnOptionsClicked() {
  view_.RunOptionsDialog();
  SaveSettings();
  view_.ProcessPendingMessages();
}

void MainForm::DoAction(int index) {
  if (index == kCloseButton) {
    if (!view_.AskQuit()) return;
    quit_ = true;
    bossKeys_.ShowHiddenWindows();
    ExitProgram();
  } else if (index == kMinimizeButton) {
    view_.SetVisible(false);
  }
}

void MainForm::OnEscape() { view_.SetVisible(false); }

void MainForm::OnTimerTick() {
  if (schedule_.Armed()) schedule_.Tick();
}

void MainForm::OnTrayMouseDown(TrayButton button) {
  if (button == TrayButton::Left) {
    view_.CloseAboutBox();
    view_.SetVisible(true);
    view_.BringToFront();
  } else if (button == TrayButton::Right) {
    view_.BringToFront();
    OnTrayCommand(view_.RunTrayMenu());
  }
}

void MainForm::OnTrayCommand(TrayMenuCommand command) {
  switch (command) {
    case TrayMenuCommand::Exit: DoAction(kCloseButton); break;
    case TrayMenuCommand::Enabled: OnToggleClicked(); break;
    case TrayMenuCommand::Show: view_.SetVisible(true); break;
    case TrayMenuCommand::About: view_.RunAboutBox(); break;
    case TrayMenuCommand::None: break;
  }
}

void MainForm::OnBossKeyError(const std::string& message) { view_.ShowMessage(message); }

void MainForm::OnUnload() {
  if (unloaded_) return;
  unloaded_ = true;
  SaveSettings();
  view_.ProcessPendingMessages();
  if (!shuttingDown_) bossKeys_.ShowHiddenWindows();
  services_.tray.Terminate();
  services_.hotKeys.StopHotkeys();
}

void MainForm::Unload() {
  OnUnload();
  view_.Unload();
}

void MainForm::ExitProgram() {
  view_.ProcessPendingMessages();
  quit_ = true;
  services_.tray.Terminate();
  Unload();
  view_.EndProcess();
}

void MainForm::SaveSettings() {
  kelvane::SaveSettings(services_.store, controls_, options_, services_.hotKeys.HotKeys());
}

ArmingInputs MainForm::ReadInputs() const {
  ArmingInputs inputs;
  inputs.actionName = controls_.actionName;
  inputs.force = controls_.force;
  inputs.blinkIcon = controls_.blink;
  inputs.prompt = controls_.prompt;
  inputs.blinkSecondsText = controls_.blinkSeconds.text();
  inputs.countdownMode = controls_.countdownMode;
  inputs.periodText = controls_.period.text();
  inputs.unit = static_cast<CountdownUnit>(controls_.unitIndex);
  inputs.hourText = controls_.hour.text();
  inputs.minuteText = controls_.minute.text();
  inputs.halfDay = static_cast<HalfDay>(controls_.halfDayIndex);
  return inputs;
}

void MainForm::ShowBalloon(const std::string& text) {
  services_.tray.SetBalloonText(text);
  services_.tray.BalloonShow(true, kBalloonTimeoutMs, false);
}

void MainForm::FireAction() {
  const bool bossTriggered = schedule_.TakeTimerTag() == kBossKeyTag;
  if (schedule_.Prompt() && !(bossTriggered && options_.BossKeyIgnorePrompt)) {
    const PromptAnswer answer = view_.RunPrompt(schedule_.ActionName());
    // The user may have switched the schedule off from the tray, or quit,
    // while the prompt was open; acting then would re-arm or run a cancelled
    // action.
    if (!schedule_.Armed() || unloaded_) return;
    if (answer.Result == PromptResult::Snooze) {
      schedule_.Snooze(answer.SnoozeMinutes);
      return;
    }
    if (answer.Result == PromptResult::Abort) {
      OnToggleClicked();
      return;
    }
  }
  schedule_.ToggleSchedule(ToggleTrigger::Execution);
  bool lockedBeforeTasks = false;
  if (options_.DoTaskRun) {
    if (options_.LockDuringTaskRun) lockedBeforeTasks = kelvane::LockComputer(services_.power);
    services_.tasks.RunTasks(options_.tasks);
  }
  PerformAction(lockedBeforeTasks);
}

void MainForm::PerformAction(bool lockedBeforeTasks) {
  PowerApi& power = services_.power;
  const std::string& action = schedule_.ActionName();
  const bool force = schedule_.Force();
  if (action == "Shutdown" || action == "Restart") {
    ExitWindowsPower(power, action == "Shutdown" ? kExitPowerOff : kExitReboot, force);
    quit_ = true;
    shuttingDown_ = true;
    Unload();
  } else if (action == "Log Off") {
    ExitWindowsPower(power, kExitLogOff, force);
  } else if (action == "Suspend") {
    kelvane::SuspendPower(power, 0, force, false);
  } else if (action == "Hibernate") {
    kelvane::SuspendPower(power, 1, force, false);
  } else if (action == "Lock Computer") {
    if (!lockedBeforeTasks) kelvane::LockComputer(power);
  }
}

void MainForm::SuspendPower(std::int32_t hibernate) {
  // The alternative boss key acts outside the schedule, with the force flag
  // as the window shows it.
  kelvane::SuspendPower(services_.power, hibernate, controls_.force, false);
}

void MainForm::LockComputer() { kelvane::LockComputer(services_.power); }

}  // namespace kelvane
