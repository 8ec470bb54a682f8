#include "options/options_form.h"

#include <algorithm>

#include "bosskeys/hotkey_ctl.h"
#include "power/power.h"

namespace kelvane {
namespace {

// Six blanks keep the caption clear of the check box that sits over it.
std::string FrameCaption(BossKey key, bool on) {
  const char* name = key == BossKey::Boss ? "      BossKey" : "      Alt. BossKey";
  return std::string(name) + (on ? " - On" : " - Off");
}

bool LockNamedIn(std::string_view osName) {
  return osName == "Windows 2000" || osName == "Windows XP" || osName == "Windows Vista";
}

int IndexOf(const std::vector<std::string>& items, std::string_view text) {
  const auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

// The box of a number, in a state the caller may or may not change.
template <typename State>
auto& NumberIn(State& state, OptionsNumber number) {
  switch (number) {
    case OptionsNumber::QuietKBps: return state.quietKBps;
    case OptionsNumber::QuietPercent: return state.quietPercent;
    case OptionsNumber::PromptTimeout: break;
  }
  return state.promptTimeout;
}

}  // namespace

bool CheckValue(const OptionsState& state, OptionsCheck check) {
  switch (check) {
    case OptionsCheck::Startup: return state.startup;
    case OptionsCheck::EnabledStart: return state.enabledStart;
    case OptionsCheck::TrayTips: return state.trayTips;
    case OptionsCheck::KeepAwake: return state.keepAwake;
    case OptionsCheck::WakeToAct: return state.wakeToAct;
    case OptionsCheck::PromptTimeout: return state.promptTimeoutOn;
    case OptionsCheck::BossKey: return state.boss.on;
    case OptionsCheck::AltBossKey: return state.alt.on;
    case OptionsCheck::BossExecute: return state.bossExecute;
    case OptionsCheck::BossHide: return state.bossHide;
    case OptionsCheck::BossIgnorePrompt: return state.bossIgnorePrompt;
    case OptionsCheck::AltRunTasks: return state.altRunTasks;
    case OptionsCheck::AltHide: return state.altHide;
    case OptionsCheck::AltIgnorePrompt: return state.altIgnorePrompt;
    case OptionsCheck::TaskRun: return state.taskRun;
    case OptionsCheck::Lock: return state.lock;
  }
  return false;
}

const NumericSpin& NumberValue(const OptionsState& state, OptionsNumber number) { return NumberIn(state, number); }

NumericSpin& OptionsForm::Number(OptionsNumber number) { return NumberIn(state_, number); }

OptionsForm::OptionsForm(OptionsView& view, TaskGridControl& grid, TaskButtonsView& buttons, OptionsServices services)
    : view_(view),
      services_(std::move(services)),
      taskGrid_(grid, buttons, services_.settings.options.tasks, services_.registry, services_.settings.dataFolder) {}

void OptionsForm::Open() {
  // The key lists: both offer the same names.
  state_.keyNames = HotKeyCtl::LoadHotKeyCombo();
  ShowHotKey(state_.boss, services_.settings.bossKey);
  ShowHotKey(state_.alt, services_.settings.altBossKey);

  state_.altActions = {"", "Suspend", "Hibernate"};
  if (LockNamedIn(services_.settings.osName)) state_.altActions.emplace_back("Lock Computer");
  const EditedOptions& o = services_.settings.options;
  state_.altActionIndex = IndexOf(state_.altActions, o.bossKeys.Boss2KeyAction);

  state_.taskRun = o.doTaskRun;
  state_.bossExecute = o.bossKeys.BossKeyDoExeAction;
  state_.bossHide = o.bossKeys.BossKeyHideWindows;
  state_.bossIgnorePrompt = o.bossKeys.BossKeyIgnorePrompt;
  state_.lock = o.lockDuringTaskRun;
  state_.trayTips = o.trayTips;
  state_.enabledStart = o.enabledStart;
  state_.altRunTasks = o.bossKeys.Boss2KeyRunTasks;
  state_.altHide = o.bossKeys.Boss2KeyHideWindows;
  state_.altIgnorePrompt = o.bossKeys.Boss2KeyIgnorePrompt;
  state_.startup = o.startUp;
  state_.keepAwake = o.keepAwake;
  state_.wakeToAct = o.wakeToAct;
  state_.promptTimeoutOn = o.promptTimeout > 0;
  if (o.promptTimeout > 0) state_.promptTimeout.SetValue(o.promptTimeout);
  state_.quietKBps.SetValue(o.quietKBps);
  state_.quietPercent.SetValue(o.quietPercent);

  taskGrid_.Setup();
  taskGrid_.Load();

  // The dependent controls follow their boxes as the handlers make them;
  // nothing else is applied while opening.
  SetFrameOn(BossKey::Boss, state_.boss.on);
  SetFrameOn(BossKey::Alternative, state_.alt.on);
  taskGrid_.SetEditing(state_.taskRun);
  Refresh();
}

void OptionsForm::ShowHotKey(HotKeyFrame& frame, const HotKeyEditor& hotKey) const {
  frame.modifiers = {hotKey.CtrlKey(), hotKey.ShiftKey(), hotKey.AltKey(), hotKey.WinKey()};
  frame.on = hotKey.Enabled();
  frame.keyIndex = IndexOf(state_.keyNames, hotKey.HotKey());
}

void OptionsForm::SetFrameOn(BossKey key, bool on) {
  HotKeyFrame& frame = key == BossKey::Boss ? state_.boss : state_.alt;
  frame.on = on;
  frame.caption = FrameCaption(key, on);
}

void OptionsForm::OnCheck(OptionsCheck check, bool checked) {
  switch (check) {
    case OptionsCheck::Startup:
      // Applied at once, and written as "1" or "0" unlike the other flags,
      // so that Esc afterwards keeps it.
      state_.startup = checked;
      services_.settings.options.startUp = checked;
      SetAutostart(services_.settings.runKey, services_.settings.programPath, checked);
      // The Run entry above is what starts the program; this value only
      // remembers the box. A key that refuses it refuses the other settings
      // too, and the main window notes that when it saves them.
      static_cast<void>(services_.settings.store.SaveValue(kAppName, "CONFIG", "StartUp", checked ? "1" : "0"));
      break;
    case OptionsCheck::EnabledStart: state_.enabledStart = checked; break;
    case OptionsCheck::TrayTips: state_.trayTips = checked; break;
    case OptionsCheck::KeepAwake: state_.keepAwake = checked; break;
    case OptionsCheck::WakeToAct: state_.wakeToAct = checked; break;
    case OptionsCheck::PromptTimeout: state_.promptTimeoutOn = checked; break;
    case OptionsCheck::BossKey: SetFrameOn(BossKey::Boss, checked); break;
    case OptionsCheck::AltBossKey: SetFrameOn(BossKey::Alternative, checked); break;
    case OptionsCheck::BossExecute: state_.bossExecute = checked; break;
    case OptionsCheck::BossHide: state_.bossHide = checked; break;
    case OptionsCheck::BossIgnorePrompt: state_.bossIgnorePrompt = checked; break;
    case OptionsCheck::AltRunTasks: state_.altRunTasks = checked; break;
    case OptionsCheck::AltHide: state_.altHide = checked; break;
    case OptionsCheck::AltIgnorePrompt: state_.altIgnorePrompt = checked; break;
    case OptionsCheck::TaskRun:
      state_.taskRun = checked;
      taskGrid_.SetEditing(checked);
      break;
    case OptionsCheck::Lock: state_.lock = checked; break;
  }
  Refresh();
}

void OptionsForm::OnModifier(BossKey key, Modifier modifier, bool checked) {
  HotKeyFrame& frame = key == BossKey::Boss ? state_.boss : state_.alt;
  frame.modifiers[static_cast<std::size_t>(modifier)] = checked;
  Refresh();
}

void OptionsForm::OnKeySelected(BossKey key, int index) {
  if (index < -1 || index >= static_cast<int>(state_.keyNames.size())) return;
  (key == BossKey::Boss ? state_.boss : state_.alt).keyIndex = index;
  Refresh();
}

void OptionsForm::OnAltActionSelected(int index) {
  if (index < -1 || index >= static_cast<int>(state_.altActions.size())) return;
  state_.altActionIndex = index;
  Refresh();
}

void OptionsForm::OnNumberText(OptionsNumber number, std::string_view text) {
  Number(number).Edit(text);
  Refresh();
}

void OptionsForm::OnNumberStep(OptionsNumber number, int delta) {
  Number(number).Step(delta);
  Refresh();
}

void OptionsForm::OnNumberLeft(OptionsNumber number) {
  Number(number).Commit();
  Refresh();
}

void OptionsForm::StoreHotKey(HotKeyEditor& hotKey, const HotKeyFrame& frame) const {
  // Switched off first, so that changing the combination registers nothing
  // on the way; the last step registers the new combination when on.
  hotKey.SetEnabled(false);
  hotKey.SetCtrlKey(frame.modifiers[0]);
  hotKey.SetShiftKey(frame.modifiers[1]);
  hotKey.SetAltKey(frame.modifiers[2]);
  hotKey.SetWinKey(frame.modifiers[3]);
  hotKey.SetHotKey(frame.keyIndex >= 0 ? state_.keyNames[static_cast<std::size_t>(frame.keyIndex)] : "");
  hotKey.SetEnabled(frame.on);
}

void OptionsForm::ApplyAndClose() {
  if (closed_) return;
  for (NumericSpin* box : {&state_.promptTimeout, &state_.quietKBps, &state_.quietPercent}) box->Commit();
  EditedOptions& o = services_.settings.options;
  StoreHotKey(services_.settings.bossKey, state_.boss);
  StoreHotKey(services_.settings.altBossKey, state_.alt);
  o.bossKeys.BossKeyDoExeAction = state_.bossExecute;
  o.bossKeys.BossKeyHideWindows = state_.bossHide;
  o.bossKeys.BossKeyIgnorePrompt = state_.bossIgnorePrompt;
  o.bossKeys.Boss2KeyHideWindows = state_.altHide;
  o.bossKeys.Boss2KeyIgnorePrompt = state_.altIgnorePrompt;
  o.bossKeys.Boss2KeyRunTasks = state_.altRunTasks;
  o.lockDuringTaskRun = state_.lock;
  o.bossKeys.Boss2KeyAction =
      state_.altActionIndex >= 0 ? state_.altActions[static_cast<std::size_t>(state_.altActionIndex)] : "";
  o.trayTips = state_.trayTips;
  o.enabledStart = state_.enabledStart;
  o.keepAwake = state_.keepAwake;
  o.wakeToAct = state_.wakeToAct;
  o.promptTimeout = state_.promptTimeoutOn ? state_.promptTimeout.value() : 0;
  o.quietKBps = state_.quietKBps.value();
  o.quietPercent = state_.quietPercent.value();
  // A name or command line still open in its cell is part of what is applied.
  taskGrid_.FinishEditing();
  taskGrid_.Store();
  o.doTaskRun = state_.taskRun;
  closed_ = true;
  view_.Close();
}

void OptionsForm::Discard() {
  if (closed_) return;
  closed_ = true;
  view_.Close();
}

void OptionsForm::OnHelp() {
  const std::string& path = services_.settings.programPath;
  const auto slash = path.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  services_.shell.OpenDocument(folder + "\\kelvane.pdf");
}

void OptionsForm::OnPowerConfig() { services_.shell.StartProcess(std::string(kPowerConfigCommand)); }

void OptionsForm::OnShowLog() { services_.shell.OpenDocument(services_.settings.dataFolder + "\\TasksLog.txt"); }

}  // namespace kelvane
