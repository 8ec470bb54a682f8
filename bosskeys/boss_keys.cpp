#include "bosskeys/boss_keys.h"

namespace kelvane {

void BossKeys::OnBossKey() {
  const BossKeyOptions& options = host_.Options();
  // Only the press that hides goes on to the action.
  if (options.BossKeyHideWindows && !ToggleWindows()) return;
  if (options.BossKeyDoExeAction) {
    // Arms anew with the target now, also when the schedule was armed.
    host_.ForgetArmed();
    host_.ArmNow();
  }
}

void BossKeys::OnAltBossKey() {
  const BossKeyOptions& options = host_.Options();
  // The press that shows the windows again does only that, also while an
  // earlier press's tasks still run.
  if (options.Boss2KeyHideWindows && windowsHidden_) {
    ShowWindowsAgain();
    return;
  }
  // The task run handles messages while it waits; a second press meanwhile
  // would start the tasks and the action a second time inside the first run.
  if (altKeyRunning_) return;
  altKeyRunning_ = true;
  const struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{altKeyRunning_};
  if (options.Boss2KeyHideWindows) {
    HideWindows();
    host_.ProcessPendingMessages();
    if (options.Boss2KeyRunTasks) host_.RunTasks();
  } else {
    host_.SetWaitCursor(true);
    if (options.Boss2KeyRunTasks) host_.RunTasks();
    host_.SetWaitCursor(false);
  }
  if (host_.Ending()) return;
  RunAltAction();
}

void BossKeys::OnShowHiddenClick() {
  if (windowsHidden_) ShowWindowsAgain();
}

void BossKeys::ShowHiddenWindows() {
  hider_.ShowHiddenWindows();
  windowsHidden_ = false;
}

bool BossKeys::ToggleWindows() {
  if (windowsHidden_) {
    ShowWindowsAgain();
    return false;
  }
  HideWindows();
  return true;
}

void BossKeys::ShowIdleTray(bool windowsHidden) {
  // While armed the tray shows the armed schedule; disarming picks the idle
  // image from the windows-hidden flag.
  if (host_.Armed()) return;
  host_.SetTrayImage(windowsHidden ? TrayImage::IdleHidden : TrayImage::Idle);
  host_.SetTrayTip(IdleTip(windowsHidden));
}

void BossKeys::HideWindows() {
  ShowIdleTray(true);
  host_.SetShowHiddenPicture(true);
  hider_.HideAllWindows();
  windowsHidden_ = true;
}

void BossKeys::ShowWindowsAgain() {
  ShowIdleTray(false);
  ShowHiddenWindows();
  host_.SetShowHiddenPicture(false);
}

void BossKeys::RunAltAction() {
  // The alternative key never prompts, never uses the schedule and never
  // ends the session.
  const auto action = ActionFromName(host_.Options().Boss2KeyAction);
  if (!action) return;
  switch (*action) {
    case PowerAction::Suspend: host_.SuspendPower(0); break;
    case PowerAction::Hibernate: host_.SuspendPower(1); break;
    case PowerAction::LockComputer: host_.LockComputer(); break;
    case PowerAction::Shutdown: case PowerAction::Restart: case PowerAction::LogOff: break;
  }
}

}  // namespace kelvane
