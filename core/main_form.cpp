#include "core/main_form.h"

namespace kelvane {
namespace {

// The actions that ask Windows to end the session, which other programs may
// refuse unless they are forced.
bool RefusableSessionEnd(PowerAction action) { return EndsSession(action) || action == PowerAction::LogOff; }

}  // namespace

ControlEnabling EnablingFor(const ScheduleControls& controls, bool armed) {
  if (armed) return {false, false, false, false, false, false};
  const bool time = !controls.conditionMode;
  const bool clock = time && !controls.countdownMode;
  return {true, time && controls.countdownMode, clock, controls.blink, clock, !time};
}

MainForm::MainForm(MainView& view, Dialogs& dialogs, MainServices services)
    : view_(view),
      dialogs_(dialogs),
      services_(std::move(services)),
      schedule_(services_.clock, services_.zone, *this, services_.conditions),
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
    if (controls_.unit == CountdownUnit::Seconds &&
        controls_.period.value() < 30) {
      controls_.period.SetValue(30);
    }
    Toggle(ToggleTrigger::User);
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

bool MainForm::RefusedWhileArmed() {
  if (!schedule_.Armed()) return false;
  Refresh();
  return true;
}

void MainForm::OnActionSelected(int index) {
  if (RefusedWhileArmed()) return;
  const auto action = ActionAt(index, controls_.lockOffered);
  if (!action) return;
  controls_.action = *action;
  Refresh();
}

void MainForm::OnModeSelected(bool countdown) {
  if (RefusedWhileArmed()) return;
  controls_.countdownMode = countdown;
  controls_.conditionMode = false;
  Refresh();
}

void MainForm::OnUnitSelected(int index) {
  if (RefusedWhileArmed()) return;
  if (const auto unit = CountdownUnitAt(index)) controls_.unit = *unit;
  Refresh();
}

void MainForm::OnHalfDaySelected(int index) {
  if (RefusedWhileArmed()) return;
  if (const auto half = HalfDayAt(index)) controls_.halfDay = *half;
  Refresh();
}

void MainForm::OnRepeatDayChanged(int day, bool checked) {
  if (RefusedWhileArmed() || day < 0 || day > 6) return;
  controls_.repeatDays = checked ? controls_.repeatDays | (1 << day) : controls_.repeatDays & ~(1 << day);
  Refresh();
}

void MainForm::OnConditionModeSelected() {
  if (RefusedWhileArmed()) return;
  controls_.conditionMode = true;
  Refresh();
}

void MainForm::OnConditionSelected(int index) {
  if (RefusedWhileArmed()) return;
  if (const auto condition = ConditionAt(index)) controls_.condition = *condition;
  Refresh();
}

void MainForm::OnConditionProgramChanged(const std::string& text) {
  if (RefusedWhileArmed()) return;
  controls_.conditionProgram = ExecutableOf(text);
}

void MainForm::OnProgramListOpening() {
  if (services_.conditions != nullptr) view_.SetProgramItems(ProgramListItems(services_.conditions->RunningPrograms()));
}

void MainForm::OnCheckChanged(ScheduleCheck check, bool checked) {
  if (RefusedWhileArmed()) return;
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
    case ScheduleField::ConditionMinutes: return controls_.conditionMinutes;
    case ScheduleField::Blink: break;
  }
  return controls_.blinkSeconds;
}

void MainForm::OnFieldTextChanged(ScheduleField field, const std::string& text) {
  if (RefusedWhileArmed()) return;
  NumericSpin& spin = Spin(field);
  if (spin.text() == text) return;
  spin.Edit(text);
  Refresh();
}

void MainForm::OnFieldLeft(ScheduleField field) {
  if (RefusedWhileArmed()) return;
  Spin(field).Commit();
  Refresh();
}

void MainForm::OnFieldStep(ScheduleField field, int delta) {
  if (RefusedWhileArmed()) return;
  Spin(field).Step(delta);
  Refresh();
}

bool MainForm::AcceptsFieldChar(char32_t c) { return NumericSpin::AcceptsChar(c); }

void MainForm::Refresh() { view_.ShowControls(controls_, EnablingFor(controls_, schedule_.Armed())); }

bool MainForm::Toggle(ToggleTrigger trigger) {
  if (!schedule_.Armed()) {
    for (NumericSpin* box : {&controls_.period, &controls_.hour, &controls_.minute, &controls_.blinkSeconds,
                             &controls_.conditionMinutes}) {
      box->Commit();
    }
  }
  const bool toggled = schedule_.ToggleSchedule(trigger);
  Refresh();
  return toggled;
}

void MainForm::OnToggleClicked() {
  if (!Toggle(ToggleTrigger::User)) view_.SignalInvalidInput();
}

void MainForm::OnOptionsClicked() {
  ProgramOptions& o = options_;
  dialogs_.RunOptionsDialog(OptionsSettings{
      EditedOptions{o, o.TrayTips, o.EnabledStart, o.StartUp, o.LockDuringTaskRun, o.DoTaskRun, o.KeepAwake,
                    o.PromptTimeout, o.WakeToAct, o.ConditionKBps, o.ConditionPercent, o.tasks},
      services_.hotKeys.Editor(BossKey::Boss), services_.hotKeys.Editor(BossKey::Alternative), services_.store,
      services_.runKey, GetOsName(services_.power), services_.programPath, dataFolder_});
  // "Keep awake" switched while armed holds for the countdown under way, and
  // new thresholds for the condition under way.
  if (schedule_.Armed()) services_.power.KeepSystemAwake(options_.KeepAwake);
  schedule_.SetQuietThresholds(options_.ConditionKBps, options_.ConditionPercent);
  SaveSettings();
  view_.ProcessPendingMessages();
}

void MainForm::DoAction(CaptionButton button) {
  switch (button) {
    case CaptionButton::Close:
      if (!view_.AskQuit()) return;
      BeginEnding();
      quit_ = true;
      bossKeys_.ShowHiddenWindows();
      ExitProgram();
      break;
    case CaptionButton::Minimize: view_.SetVisible(false); break;
  }
}

void MainForm::OnEscape() { view_.SetVisible(false); }

void MainForm::OnTimerTick() {
  // A tick that was already queued when quitting was confirmed.
  if (Ending()) return;
  if (schedule_.Armed()) schedule_.Tick();
}

void MainForm::OnDeadlineTimer() {
  if (!Ending()) schedule_.OnDeadline();
}

void MainForm::OnClockChanged() {
  if (Ending()) return;
  schedule_.OnClockChanged();
  UpdateWakeTimer();
}

void MainForm::OnResume() {
  // A target passed during sleep fires now rather than at the next tick.
  if (!Ending() && schedule_.Armed()) schedule_.Tick();
}

void MainForm::OnShowRequest() {
  view_.SetVisible(true);
  view_.BringToFront();
}

void MainForm::SetTimerRunning(bool running) {
  view_.SetTimerRunning(running);
  services_.power.KeepSystemAwake(running && options_.KeepAwake);
  UpdateWakeTimer();
}

void MainForm::UpdateWakeTimer() {
  std::optional<Instant> at;
  if (options_.WakeToAct && schedule_.Armed() && !schedule_.ConditionStatus() && !ending_) at = schedule_.Target();
  if (at == wakeAt_) return;
  wakeAt_ = at;
  services_.power.SetWakeTimer(at);
}

void MainForm::BeginEnding() {
  ending_ = true;
  SetTimerRunning(false);
  services_.tasks.Cancel();
}

void MainForm::OnEndSession() {
  if (unloaded_) return;
  // The shutdown or restart that was waited for leaves hidden windows as a
  // forced one does.
  shuttingDown_ = schedule_.AwaitsSessionEnd() && EndsSession(schedule_.Action());
  BeginEnding();
  if (schedule_.Armed()) Toggle(ToggleTrigger::Execution);
  quit_ = true;
  if (!shuttingDown_) bossKeys_.ShowHiddenWindows();
  ExitProgram();
}

void MainForm::OnQueryEndSession(bool closingForInstaller) {
  if (closingForInstaller && !unloaded_) bossKeys_.RestoreHiddenWindows();
}

void MainForm::OnTrayMouseDown(TrayButton button) {
  if (button == TrayButton::Left) {
    dialogs_.CloseAboutBox();
    view_.SetVisible(true);
    view_.BringToFront();
  } else if (button == TrayButton::Right) {
    view_.BringToFront();
    OnTrayCommand(dialogs_.RunTrayMenu());
  }
}

void MainForm::OnTrayCommand(TrayMenuCommand command) {
  switch (command) {
    case TrayMenuCommand::Exit: DoAction(CaptionButton::Close); break;
    case TrayMenuCommand::Enabled: OnToggleClicked(); break;
    case TrayMenuCommand::Show: view_.SetVisible(true); break;
    case TrayMenuCommand::About: dialogs_.RunAboutBox(); break;
    case TrayMenuCommand::None: break;
  }
}

void MainForm::OnHotKeyPressed(BossKey key) {
  switch (key) {
    case BossKey::Boss: bossKeys_.OnBossKey(); break;
    case BossKey::Alternative: bossKeys_.OnAltBossKey(); break;
  }
}

void MainForm::OnHotKeyError(BossKey key, const std::string& message) {
  if (key == BossKey::Boss) view_.ShowMessage(message);
}

void MainForm::OnUnload() {
  if (unloaded_) return;
  unloaded_ = true;
  SaveSettings();
  view_.ProcessPendingMessages();
  if (!shuttingDown_) bossKeys_.ShowHiddenWindows();
  services_.power.KeepSystemAwake(false);
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

MainForm::CommandReply MainForm::ApplyCommand(const Command& command) {
  if (Ending()) return {kExitNotArmed, "Disabled"};
  switch (command.kind) {
    case CommandKind::Status: return {schedule_.Armed() ? kExitOk : kExitNotArmed, StatusText()};
    case CommandKind::Disable:
      if (schedule_.Armed()) OnToggleClicked();
      return {kExitOk, StatusText()};
    case CommandKind::Arm: break;
    case CommandKind::Start:
    case CommandKind::Help: return {kExitUsage, UsageText()};
  }
  if (command.action == PowerAction::LockComputer && !controls_.lockOffered) {
    return {kExitNotArmed, "Lock Computer is not offered on this system"};
  }
  // A program that does not run, or a quiet condition that cannot be
  // measured, is refused before anything armed is let go (disarmed, the
  // arming below refuses it and says so in the window).
  if (schedule_.Armed() && command.condition && services_.conditions != nullptr) {
    ConditionSampler& sampler = *services_.conditions;
    if (command.conditionKind == ConditionKind::ProgramEnds && sampler.CountProgram(command.program) == 0) {
      return {kExitNotArmed, NotRunningText(command.program)};
    }
    if (auto why = QuietUnavailable(sampler, command.conditionKind)) return {kExitNotArmed, *why};
  }
  // A new command replaces what was armed, without the "No Action" balloon
  // of a disarm that the user would read as the end of it.
  if (schedule_.Armed()) Toggle(ToggleTrigger::Execution);
  controls_.action = command.action;
  controls_.countdownMode = command.countdown;
  controls_.conditionMode = command.condition;
  if (command.condition) {
    controls_.condition = command.conditionKind;
    if (command.conditionKind == ConditionKind::ProgramEnds) {
      controls_.conditionProgram = command.program;
    } else {
      controls_.conditionMinutes.SetValue(command.period);
    }
  } else if (command.countdown) {
    controls_.period.SetValue(command.period);
    controls_.unit = command.unit;
  } else {
    controls_.hour.SetValue(command.hour % 12 == 0 ? 12 : command.hour % 12);
    controls_.minute.SetValue(command.minute);
    controls_.halfDay = command.hour < 12 ? HalfDay::AM : HalfDay::PM;
  }
  if (command.prompt) controls_.prompt = *command.prompt;
  controls_.force = command.force;
  if (!Toggle(ToggleTrigger::User)) {
    const std::string& why = schedule_.Refusal();
    return why.empty() ? CommandReply{kExitUsage, UsageText()} : CommandReply{kExitNotArmed, why};
  }
  return {kExitOk, StatusText()};
}

std::string MainForm::StatusText() const {
  if (!schedule_.Armed()) return "Disabled";
  if (schedule_.AwaitsSessionEnd()) {
    return "Armed: " + schedule_.ActionName() + ", " + SessionEndStatus(schedule_.Action());
  }
  if (const auto condition = schedule_.ConditionStatus()) return "Armed: " + schedule_.ActionName() + ", " + *condition;
  // Past the target (the prompt waits) nothing is left to count down.
  return ArmedStatusText(schedule_.Action(), ToLocal(services_.zone, schedule_.Target()),
                         std::max<std::int64_t>(0, DisplayedSeconds(schedule_.TimeLeft())));
}

void MainForm::SaveSettings() {
  // A store the user may only read keeps what was saved before; the program
  // goes on as it is, and says so in the task log rather than in a message
  // that would stop an arming or a quit.
  if (!kelvane::SaveSettings(services_.store, controls_, options_, services_.hotKeys.HotKeys())) {
    services_.tasks.LogNote(std::string(kSettingsNotSavedNote));
  }
}

ArmingInputs MainForm::ReadInputs() const {
  ArmingInputs inputs;
  inputs.action = controls_.action;
  inputs.force = controls_.force;
  inputs.blinkIcon = controls_.blink;
  inputs.prompt = controls_.prompt;
  inputs.blinkSecondsText = controls_.blinkSeconds.text();
  inputs.countdownMode = controls_.countdownMode;
  inputs.periodText = controls_.period.text();
  inputs.unit = controls_.unit;
  inputs.hourText = controls_.hour.text();
  inputs.minuteText = controls_.minute.text();
  inputs.halfDay = controls_.halfDay;
  inputs.repeatDays = controls_.repeatDays;
  inputs.conditionMode = controls_.conditionMode;
  inputs.condition = {controls_.condition, controls_.conditionMinutes.value(), controls_.conditionProgram,
                      options_.ConditionKBps, options_.ConditionPercent};
  return inputs;
}

void MainForm::ShowBalloon(const std::string& text) {
  services_.tray.SetBalloonText(text);
  services_.tray.BalloonShow(true, kBalloonTimeoutMs, false);
}

void MainForm::FireAction() {
  // The tasks ran before the request that this firing retries.
  const bool retry = schedule_.Armings() == retryArming_;
  if (schedule_.AwaitsSessionEnd()) OnSessionNotEnded(schedule_.Action());
  const bool bossTriggered = schedule_.TakeTimerTag() == kBossKeyTag;
  if (schedule_.Prompt() && !(bossTriggered && options_.BossKeyIgnorePrompt)) {
    const std::uint64_t arming = schedule_.Armings();
    view_.SetStatus(kWaitingStatus);
    const std::optional<PromptAnswer> answer = dialogs_.RunPrompt(schedule_.ActionName(), options_.PromptTimeout);
    // The user may have switched the schedule off from the tray, or quit,
    // while the prompt was open; acting then would re-arm or run a cancelled
    // action.
    if (!schedule_.Armed() || Ending()) return;
    // Armed anew while the prompt was open: an Execute (or a count run out)
    // was given for the earlier arming and performs nothing; the new one
    // stands. Abort and Snooze still apply, as the user chose them last.
    if (answer && answer->Result == PromptResult::Execute && schedule_.Armings() != arming) return;
    if (!answer) {
      // The user asked to be asked; without an answer nothing is performed.
      OnToggleClicked();
      view_.SetStatus(kPromptFailedStatus);
      return;
    }
    if (answer->Result == PromptResult::Snooze) {
      schedule_.Snooze(answer->SnoozeMinutes);
      UpdateWakeTimer();
      return;
    }
    if (answer->Result == PromptResult::Abort) {
      OnToggleClicked();
      ArmNextRepeat();
      return;
    }
  }
  Toggle(ToggleTrigger::Execution);
  bool lockedBeforeTasks = false;
  if (options_.DoTaskRun && !retry) {
    if (options_.LockDuringTaskRun) lockedBeforeTasks = kelvane::LockComputer(services_.power);
    const std::uint64_t arming = schedule_.Armings();
    services_.tasks.RunTasks(options_.tasks);
    // The user may have quit while the tasks ran, or armed anew: the new
    // choice stands and this firing performs nothing more.
    if (Ending() || schedule_.Armings() != arming) return;
  }
  PerformAction(lockedBeforeTasks);
}

void MainForm::PerformAction(bool lockedBeforeTasks) {
  const PowerAction action = schedule_.Action();
  // The computer is locked already; locking again would only fail.
  if (action == PowerAction::LockComputer && lockedBeforeTasks) {
    ArmNextRepeat();
    return;
  }
  if (!PerformPowerAction(services_.power, action, schedule_.Force())) {
    OnPowerCallFailed(action);
    return;
  }
  // A program with unsaved work may keep the session from ending while the
  // call itself succeeded; the program stays to notice.
  if (!schedule_.Force() && RefusableSessionEnd(action)) {
    schedule_.AwaitSessionEnd(action, services_.power.SessionEndWait());
    retryArming_ = schedule_.Armings();
    Refresh();
    return;
  }
  if (EndsSession(action)) {
    quit_ = true;
    shuttingDown_ = true;
    Unload();
    return;
  }
  // A log off ends the program soon; the next start arms with "Start Enabled".
  if (action != PowerAction::LogOff) ArmNextRepeat();
}

void MainForm::ArmNextRepeat() {
  const bool repeats = !controls_.countdownMode && !controls_.conditionMode && controls_.repeatDays != 0;
  if (repeats && !Ending() && !schedule_.Armed()) Toggle(ToggleTrigger::User);
}

void MainForm::SuspendPower(std::int32_t hibernate) {
  // The alternative boss key acts outside the schedule, with the force flag
  // as the window shows it.
  if (!kelvane::SuspendPower(services_.power, hibernate, controls_.force, false)) {
    OnPowerCallFailed(hibernate != 0 ? PowerAction::Hibernate : PowerAction::Suspend);
  }
}

void MainForm::LockComputer() {
  if (!kelvane::LockComputer(services_.power)) OnPowerCallFailed(PowerAction::LockComputer);
}

void MainForm::OnSessionNotEnded(PowerAction action) {
  const std::string text = std::string(ActionName(action)) + " did not complete";
  // The program that refused may be among the hidden windows.
  bossKeys_.RestoreHiddenWindows();
  if (options_.TrayTips && services_.tray.IsBalloonCapable()) ShowBalloon(text);
  services_.tasks.LogNote(text);
}

void MainForm::OnPowerCallFailed(PowerAction action) {
  const std::string text = std::string(ActionName(action)) + " failed";
  bossKeys_.RestoreHiddenWindows();
  view_.SetStatus(text);
  if (options_.TrayTips && services_.tray.IsBalloonCapable()) ShowBalloon(text);
  services_.tasks.LogNote(text);
}

}  // namespace kelvane
