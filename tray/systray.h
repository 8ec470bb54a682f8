#pragma once
// cSystray: one icon in the notification area with its tip and balloon
// tips. It keeps the shell's notify-icon record for its whole life, sends it
// with every request (the flags say which parts are meant), and turns the
// shell's notifications, which arrive at its hidden window through a window
// hook, into events for its owner.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tray/tray_icon.h"
#include "tray/message_hook.h"

namespace kelvane {

using IconHandle = std::uintptr_t;

// The mouse-move message number doubles as the icon's callback message.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x0200;
inline constexpr std::uint32_t kTimerMessage = 0x0113;  // WM_TIMER

// Parts of the record a request means.
inline constexpr std::uint32_t kNotifyMessage = 0x01;
inline constexpr std::uint32_t kNotifyIcon = 0x02;
inline constexpr std::uint32_t kNotifyTip = 0x04;
inline constexpr std::uint32_t kNotifyBalloon = 0x10;
inline constexpr std::uint32_t kBalloonNoSound = 0x10;
// No set-version request is ever sent, so the shell keeps talking in its
// oldest style: the mouse message or notification code in lParam.
inline constexpr std::uint32_t kRecordTimeoutOrVersion = 3;

// Notification codes besides the mouse messages 0x200 to 0x209.
inline constexpr std::uint32_t kBalloonShown = 1026;
inline constexpr std::uint32_t kBalloonHidden = 1027;
inline constexpr std::uint32_t kBalloonTimedOut = 1028;
inline constexpr std::uint32_t kBalloonClicked = 1029;

enum class NotifyRequest { Add = 0, Modify = 1, Delete = 2 };

// The published layouts of the record; Unset announces a size of 0 (the
// record before the first add).
enum class RecordSize { Unset, V1, V2, V3 };

// V1 for shells before major version 5 (no balloons), V2 for 5, V3 for 6
// and later. A shell whose version cannot be read gets V1, the layout every
// shell understands, rather than a size that none does.
RecordSize RecordSizeForShell(std::optional<int> shellMajorVersion);
bool IsBalloonCapableSize(RecordSize size);

// Field sizes in UTF-16 units, the terminating NUL included. The first
// layout has a tip field of half the size.
std::size_t TipFieldChars(RecordSize size);
inline constexpr std::size_t kBalloonTextChars = 256;
inline constexpr std::size_t kBalloonTitleChars = 64;

// The longest start of `text` that fits a field of `fieldChars` UTF-16
// units together with its NUL, never splitting a character.
std::string FitField(std::string_view text, std::size_t fieldChars);

// The notify-icon record in portable form; texts are already fitted to
// their fields.
struct IconRecord {
  RecordSize size = RecordSize::Unset;
  WindowId window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  IconHandle icon = 0;
  std::string tip;
  std::string balloonText;
  std::uint32_t timeoutOrVersion = 0;
  std::string balloonTitle;
  std::uint32_t balloonFlags = 0;
};

// The events of cSystray; an owner overrides those it wants.
class SystrayEvents {
 public:
  virtual ~SystrayEvents() = default;
  virtual void MouseMove() {}
  virtual void MouseDown(TrayButton) {}
  virtual void MouseUp(TrayButton) {}
  virtual void MouseDblClick(TrayButton) {}
  virtual void BalloonClose() {}
  virtual void BalloonClick() {}
  // The event named BalloonShow; renamed apart from the operation.
  virtual void BalloonShown() {}
  virtual void BalloonHide() {}
};

// What cSystray needs from the system.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  // The shell library's major version; nullopt when it cannot be read.
  virtual std::optional<int> ShellMajorVersion() = 0;
  // An invisible window for the shell's notifications; 0 on failure.
  virtual WindowId CreateHiddenWindow() = 0;
  virtual void DestroyHiddenWindow(WindowId window) = 0;
  // The number of the "TaskbarCreated" message; 0 on failure.
  virtual std::uint32_t RegisterTaskbarCreated() = 0;
  // False when the shell refused the request.
  virtual bool Notify(NotifyRequest request, const IconRecord& record) = 0;
  virtual void StartTimer(WindowId window, std::uintptr_t id, std::uint32_t intervalMs) = 0;
  virtual void StopTimer(WindowId window, std::uintptr_t id) = 0;
  virtual void SetForeground(WindowId window) = 0;
  // Icons loaded for the object, owned by it and given back through
  // ReleaseIcon; 0 when nothing could be loaded.
  virtual IconHandle LoadIconFile(const std::string& file) = 0;
  virtual IconHandle LoadIconResource(const std::string& name) = 0;
  virtual IconHandle ExtractIconFrom(const std::string& file, std::int32_t index) = 0;
  virtual void ReleaseIcon(IconHandle icon) = 0;
};

// Called with (hidden window, notification code, ExtraParam) after each
// notification of the icon.
using ForwardProc = std::function<void(WindowId window, std::uint32_t code, std::intptr_t extraParam)>;

class cSystray final : private HookHandler {
 public:
  cSystray(TrayShell& shell, HookSystem& hookSystem, ErrorReporter& reporter, SystrayEvents& events);
  ~cSystray() override;
  cSystray(const cSystray&) = delete;
  cSystray& operator=(const cSystray&) = delete;

  void SetProc(ForwardProc proc) { forward_ = std::move(proc); }
  WindowId lhWnd() const { return window_; }
  std::intptr_t ExtraParam() const { return extraParam_; }
  void ExtraParam(std::intptr_t value) { extraParam_ = value; }
  // Tears down at once; later requests and the destruction do nothing more.
  void DoTerminate();
  // Adds or updates the icon (true) or removes it (false).
  void SysTrayShow(bool bShow = true);
  // Shows or hides the balloon; false when the shell has no balloons. A
  // negative timeout leaves the balloon to the shell's own time-out.
  bool BalloonShow(bool bShow = true, std::int32_t lTimeout = -1, bool bNoSound = false);
  bool IsBalloonCapable() const { return IsBalloonCapableSize(recordSize_); }
  // Brings the hidden window to the foreground before a popup menu opens.
  void BeforePopup();
  // Uses an icon the caller owns.
  void SysTrayIconFromHandle(IconHandle icon);
  bool SysTrayIconFromFile(const std::string& sFile);
  bool SysTrayIconFromRes(const std::string& sResName);
  bool SysTrayIconFromCompRes(const std::string& sResFile, std::int32_t lIconIndex);
  const std::string& SysTrayToolTip() const { return tip_; }
  void SysTrayToolTip(std::string_view tip);
  std::uint32_t BalloonIcon() const { return balloonIcon_; }
  void BalloonIcon(std::uint32_t flags);
  const std::string& BalloonTitle() const { return balloonTitle_; }
  void BalloonTitle(std::string_view title);
  const std::string& BalloonText() const { return balloonText_; }
  void BalloonText(std::string_view text);

  bool Added() const { return added_; }
  std::uint32_t IconId() const;
  std::uintptr_t BalloonTimerId() const { return std::uintptr_t{IconId()} + 1; }
  std::uint32_t TaskbarCreatedMessage() const { return taskbarCreated_; }

 private:
  void WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& message,
               std::intptr_t& lUser) override;
  void OnTrayNotification(std::uint32_t code);
  void RaiseMouseEvent(std::uint32_t code);
  void OnTaskbarCreated();
  void Send(NotifyRequest request);
  void SendBalloonChange();
  void StopBalloonTimer();
  bool UseLoadedIcon(IconHandle loaded);
  void Teardown();

  TrayShell& shell_;
  WindowHooks hooks_;
  SystrayEvents& events_;
  WindowId window_ = 0;
  IconRecord record_;
  std::string tip_;
  IconHandle icon_ = 0;
  std::string balloonTitle_;
  std::string balloonText_;
  std::uint32_t balloonIcon_ = 0;
  bool added_ = false;
  std::uint32_t taskbarCreated_ = 0;
  IconHandle loadedIcon_ = 0;
  RecordSize recordSize_ = RecordSize::Unset;
  std::int32_t balloonTimeout_ = -1;
  ForwardProc forward_;
  std::intptr_t extraParam_ = 0;
  // Lets a notification notice that an event handler destroyed the object.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvane
