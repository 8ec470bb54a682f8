#include "tray/systray.h"

#include <utility>

#include "base/utf8.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

// Bytes and UTF-16 units of the character at the start of `text`. A byte
// that does not begin a well-formed sequence counts alone, as one unit: the
// conversion at the boundary makes at most one replacement unit of it.
struct CharSize {
  std::size_t bytes;
  std::size_t units;
};

CharSize SizeOfCharAt(std::string_view text) {
  const Utf8Char c = DecodeUtf8(text);
  return {c.bytes, c.valid && c.codePoint >= 0x10000 ? 2u : 1u};
}

}  // namespace

RecordSize RecordSizeForShell(std::optional<int> shellMajorVersion) {
  if (!shellMajorVersion || *shellMajorVersion < 5) return RecordSize::V1;
  return *shellMajorVersion == 5 ? RecordSize::V2 : RecordSize::V3;
}

bool IsBalloonCapableSize(RecordSize size) { return size == RecordSize::V2 || size == RecordSize::V3; }

std::size_t TipFieldChars(RecordSize size) { return size == RecordSize::V1 ? 64 : 128; }

std::string FitField(std::string_view text, std::size_t fieldChars) {
  if (fieldChars == 0) return {};
  const std::size_t room = fieldChars - 1;
  std::size_t units = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    const CharSize next = SizeOfCharAt(text.substr(end));
    if (units + next.units > room) break;
    units += next.units;
    end += next.bytes;
  }
  return std::string(text.substr(0, end));
}

cSystray::cSystray(TrayShell& shell, HookSystem& hookSystem, ErrorReporter& reporter, SystrayEvents& events)
    : shell_(shell), hooks_("cSystray", hookSystem, reporter), events_(events) {
  recordSize_ = RecordSizeForShell(shell_.ShellMajorVersion());
  window_ = shell_.CreateHiddenWindow();
  taskbarCreated_ = shell_.RegisterTaskbarCreated();
  // Without the hook the icon still shows; it raises no events and misses a
  // rebuilt task bar.
  if (hooks_.HookWindow(window_, this)) {
    hooks_.WatchMsg(window_, kTrayCallbackMessage, WatchWhen::After);
    if (taskbarCreated_ != 0) hooks_.WatchMsg(window_, taskbarCreated_, WatchWhen::After);
    hooks_.WatchMsg(window_, kTimerMessage, WatchWhen::After);
  }
}

cSystray::~cSystray() {
  *alive_ = false;
  Teardown();
}

void cSystray::DoTerminate() { Teardown(); }

void cSystray::Teardown() {
  if (window_ == 0) return;
  SysTrayShow(false);
  if (loadedIcon_ != 0) shell_.ReleaseIcon(std::exchange(loadedIcon_, 0));
  hooks_.UnhookAll();
  shell_.DestroyHiddenWindow(window_);
  window_ = 0;
}

std::uint32_t cSystray::IconId() const {
  // Unique to the instance; the shell tells icons apart by window and id.
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
}

void cSystray::SysTrayShow(bool bShow) {
  if (!bShow) {
    if (!added_) return;
    StopBalloonTimer();
    Send(NotifyRequest::Delete);
    added_ = false;
    return;
  }
  if (!added_) {
    record_.size = recordSize_;
    record_.timeoutOrVersion = kRecordTimeoutOrVersion;
    record_.window = window_;
    record_.id = IconId();
    record_.callbackMessage = kTrayCallbackMessage;
  }
  record_.flags = kNotifyMessage;
  if (icon_ != 0) {
    record_.flags |= kNotifyIcon;
    record_.icon = icon_;
  }
  if (!tip_.empty()) {
    record_.flags |= kNotifyTip;
    record_.tip = FitField(tip_, TipFieldChars(recordSize_));
  }
  Send(added_ ? NotifyRequest::Modify : NotifyRequest::Add);
  added_ = true;
}

bool cSystray::BalloonShow(bool bShow, std::int32_t lTimeout, bool bNoSound) {
  if (!IsBalloonCapable()) return false;
  if (bShow) {
    BalloonShow(false, -1, false);
    balloonTimeout_ = lTimeout;
    record_.flags = kNotifyBalloon;
    record_.balloonText = FitField(balloonText_, kBalloonTextChars);
    record_.balloonTitle = FitField(balloonTitle_, kBalloonTitleChars);
    record_.balloonFlags = balloonIcon_ | (bNoSound ? kBalloonNoSound : 0u);
    Send(NotifyRequest::Modify);
  } else {
    // An empty balloon text takes the balloon away.
    record_.flags = kNotifyBalloon;
    record_.balloonText.clear();
    record_.balloonTitle.clear();
    Send(NotifyRequest::Modify);
    StopBalloonTimer();
  }
  return true;
}

void cSystray::BeforePopup() {
  if (window_ != 0) shell_.SetForeground(window_);
}

void cSystray::SysTrayIconFromHandle(IconHandle icon) {
  icon_ = icon;
  if (!added_) return;
  record_.flags = kNotifyIcon;
  record_.icon = icon;
  Send(NotifyRequest::Modify);
}

bool cSystray::SysTrayIconFromFile(const std::string& sFile) { return UseLoadedIcon(shell_.LoadIconFile(sFile)); }

bool cSystray::SysTrayIconFromRes(const std::string& sResName) {
  return UseLoadedIcon(shell_.LoadIconResource(sResName));
}

bool cSystray::SysTrayIconFromCompRes(const std::string& sResFile, std::int32_t lIconIndex) {
  return UseLoadedIcon(shell_.ExtractIconFrom(sResFile, lIconIndex));
}

bool cSystray::UseLoadedIcon(IconHandle loaded) {
  if (loaded == 0) return false;
  // The icon loaded before is let go only once the new one is in use, so a
  // failed load leaves the shown icon valid.
  const IconHandle previous = std::exchange(loadedIcon_, loaded);
  SysTrayIconFromHandle(loaded);
  if (previous != 0) shell_.ReleaseIcon(previous);
  return true;
}

void cSystray::SysTrayToolTip(std::string_view tip) {
  tip_ = std::string(TrimBlanks(tip));
  record_.flags = kNotifyTip;
  record_.tip = FitField(tip_, TipFieldChars(recordSize_));
  Send(NotifyRequest::Modify);
}

void cSystray::BalloonIcon(std::uint32_t flags) {
  if (!IsBalloonCapable()) return;
  balloonIcon_ = flags;
  record_.balloonFlags = flags;
  SendBalloonChange();
}

void cSystray::BalloonTitle(std::string_view title) {
  if (!IsBalloonCapable()) return;
  balloonTitle_ = title;
  record_.balloonTitle = FitField(balloonTitle_, kBalloonTitleChars);
  SendBalloonChange();
}

void cSystray::BalloonText(std::string_view text) {
  if (!IsBalloonCapable()) return;
  balloonText_ = text;
  record_.balloonText = FitField(balloonText_, kBalloonTextChars);
  SendBalloonChange();
}

void cSystray::SendBalloonChange() {
  // With the balloon's text as the record holds it: a text set last shows
  // the balloon at once, with the title and icon set before it.
  record_.flags = kNotifyTip | kNotifyBalloon;
  Send(NotifyRequest::Modify);
}

void cSystray::Send(NotifyRequest request) {
  // After teardown there is no window for an icon to belong to; an icon
  // added now could never be removed.
  if (window_ == 0) return;
  // The shell's answer changes nothing: a refused request leaves the icon
  // as the shell shows it, and TaskbarCreated brings it back.
  shell_.Notify(request, record_);
}

void cSystray::StopBalloonTimer() {
  if (window_ != 0) shell_.StopTimer(window_, BalloonTimerId());
}

void cSystray::WndProc(bool bBefore, bool&, std::intptr_t&, const WindowMessage& message, std::intptr_t&) {
  if (bBefore || message.window != window_) return;
  if (message.uMsg == kTrayCallbackMessage) {
    OnTrayNotification(static_cast<std::uint32_t>(message.lParam));
  } else if (message.uMsg == kTimerMessage) {
    if (message.wParam == BalloonTimerId()) BalloonShow(false, -1, false);
  } else if (message.uMsg == taskbarCreated_) {
    OnTaskbarCreated();
  }
}

void cSystray::OnTrayNotification(std::uint32_t code) {
  const std::shared_ptr<bool> alive = alive_;
  switch (code) {
    case kBalloonHidden:
      StopBalloonTimer();
      events_.BalloonHide();
      break;
    case kBalloonTimedOut:
      StopBalloonTimer();
      events_.BalloonClose();
      break;
    case kBalloonClicked:
      StopBalloonTimer();
      events_.BalloonClick();
      break;
    case kBalloonShown:
      // The caller's time-out overrides the shell's own.
      if (balloonTimeout_ >= 0 && window_ != 0) {
        shell_.StartTimer(window_, BalloonTimerId(), static_cast<std::uint32_t>(balloonTimeout_));
      }
      events_.BalloonShown();
      break;
    default:
      RaiseMouseEvent(code);
      break;
  }
  if (*alive && forward_) forward_(window_, code, extraParam_);
}

void cSystray::RaiseMouseEvent(std::uint32_t code) {
  constexpr std::uint32_t kMouseMove = 0x200;
  constexpr std::uint32_t kMiddleDoubleClick = 0x209;
  if (code < kMouseMove || code > kMiddleDoubleClick) return;
  if (code == kMouseMove) {
    events_.MouseMove();
    return;
  }
  // Down, up and double-click in turn, for the left, right, middle buttons.
  const std::uint32_t offset = code - (kMouseMove + 1);
  constexpr TrayButton kButtons[] = {TrayButton::Left, TrayButton::Right, TrayButton::Middle};
  const TrayButton button = kButtons[offset / 3];
  switch (offset % 3) {
    case 0: events_.MouseDown(button); break;
    case 1: events_.MouseUp(button); break;
    default: events_.MouseDblClick(button); break;
  }
}

void cSystray::OnTaskbarCreated() {
  if (!added_) return;
  added_ = false;
  SysTrayShow(true);
}

}  // namespace kelvane
