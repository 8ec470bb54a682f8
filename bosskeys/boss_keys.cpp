#include "bosskeys/boss_keys.h"

namespace kelvane {

void BossKeys::OnBossKey() {
  const ProgramOptions& options = host_.Options();
  if (options.BossKeyHideWindows) {
    if (windowsHidden_) {
      ShowWindowsAgain();
      return;
    }
    HideWindows();
  }
  if (options.BossKeyDoExeAction) {
    // Arms anew with the target now, also when the schedule was armed.
    host_.ForgetArmed();
    host_.ArmNow();
  }
}

void BossKeys::OnAltBossKey() {
  // The task run handles messages while it waits; a second press meanwhile
  // would start the tasks and the action a second time inside the first run.
  if (altKeyRunning_) return;
  altKeyRunning_ = true;
  const struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{altKeyRunning_};
  const ProgramOptions& options = host_.Options();
  if (options.Boss2KeyHideWindows) {
    if (windowsHidden_) {
      ShowWindowsAgain();
      return;
    }
    HideWindows();
    host_.ProcessPendingMessages();
    if (options.Boss2KeyRunTasks) host_.RunTasks();
  } else {
    host_.SetWaitCursor(true);
    if (options.Boss2KeyRunTasks) host_.RunTasks();
    host_.SetWaitCursor(false);
  }
  RunAltAction();
}

void BossKeys::OnShowHiddenClick() {
  if (windowsHidden_) ShowWindowsAgain();
}

void BossKeys::ShowHiddenWindows() {
  hider_.ShowHiddenWindows();
  windowsHidden_ = false;
}

void BossKeys::HideWindows() {
  if (!host_.Armed()) {
    host_.SetTrayImage(TrayImage::IdleHidden);
    host_.SetTrayTip(IdleTip(true));
  }
  host_.SetShowHiddenPicture(true);
  hider_.HideAllWindows();
  windowsHidden_ = true;
}

void BossKeys::ShowWindowsAgain() {
  if (!host_.Armed()) {
    host_.SetTrayImage(TrayImage::Idle);
    host_.SetTrayTip(IdleTip(false));
  }
  ShowHiddenWindows();
  host_.SetShowHiddenPicture(false);
}

void BossKeys::RunAltAction() {
  // The alternative key never prompts, never uses the schedule and never
  // ends the session.
  const std::string& action = host_.Options().Boss2KeyAction;
  if (action == "Suspend") {
    host_.SuspendPower(0);
  } else if (action == "Hibernate") {
    host_.SuspendPower(1);
  } else if (action == "Lock Computer") {
    host_.LockComputer();
  }
}

}  // namespace kelvane
