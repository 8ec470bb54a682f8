#pragma once
// What the boss key, the alternative boss key and the click on the
// hidden-windows picture do.

#include <cstdint>
#include <string>

#include "bosskeys/window_hiding.h"
#include "power/power.h"
#include "tray/tray_icon.h"

namespace kelvane {

// The two hotkeys: `HotKeyCtlBoss` and `HotKeyCtlAltB`.
enum class BossKey { Boss, Alternative };

// The boss keys' options, as stored.
struct BossKeyOptions {
  bool BossKeyDoExeAction = true;
  bool BossKeyHideWindows = false;
  bool BossKeyIgnorePrompt = false;
  bool Boss2KeyHideWindows = true;
  bool Boss2KeyIgnorePrompt = true;
  bool Boss2KeyRunTasks = false;
  // "Suspend", "Hibernate", "Lock Computer", or any other text for none.
  std::string Boss2KeyAction;
};

// The main window's side of the boss keys.
class BossKeyHost {
 public:
  virtual ~BossKeyHost() = default;
  virtual const BossKeyOptions& Options() const = 0;
  virtual bool Armed() const = 0;
  // Marks the schedule disarmed without touching its timer.
  virtual void ForgetArmed() = 0;
  // ToggleSchedule with the BossKeyNow trigger.
  virtual void ArmNow() = 0;
  virtual void SetTrayImage(TrayImage image) = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  // Shows the hidden-windows icon in `ImgShowHidden`, or clears it.
  virtual void SetShowHiddenPicture(bool shown) = 0;
  virtual void ProcessPendingMessages() = 0;
  virtual void RunTasks() = 0;
  // The hourglass pointer on or off.
  virtual void SetWaitCursor(bool wait) = 0;
  // Suspends (0) or hibernates (1) with the schedule's Force and wake events allowed.
  virtual void SuspendPower(std::int32_t hibernate) = 0;
  virtual void LockComputer() = 0;
  // Quitting was confirmed: nothing more is to be performed.
  virtual bool Ending() const = 0;
};

// Owns the windows-hidden flag, which both keys share and which the
// schedule reads for its idle tray image and tooltip.
class BossKeys {
 public:
  BossKeys(BossKeyHost& host, WindowHider& hider) : host_(host), hider_(hider) {}

  // `HotkeyPressed` of `HotKeyCtlBoss`.
  void OnBossKey();
  // `HotkeyPressed` of `HotKeyCtlAltB`.
  void OnAltBossKey();
  // Click on `ImgShowHidden`.
  void OnShowHiddenClick();
  // Brings hidden windows back without touching the tray; for the quit
  // confirmation and the orderly close (the latter not while the computer
  // is being shut down).
  void ShowHiddenWindows();
  // Brings hidden windows back with the tray and the picture, as the click
  // on the picture does; nothing when none are hidden.
  void RestoreHiddenWindows() { OnShowHiddenClick(); }

  bool WindowsHidden() const { return windowsHidden_; }

 private:
  // Shows hidden windows, or hides them; true when it hid them.
  bool ToggleWindows();
  void ShowIdleTray(bool windowsHidden);
  void HideWindows();
  void ShowWindowsAgain();
  void RunAltAction();

  BossKeyHost& host_;
  WindowHider& hider_;
  bool windowsHidden_ = false;
  bool altKeyRunning_ = false;
};

}  // namespace kelvane
