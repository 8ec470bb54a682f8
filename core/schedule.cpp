#include "core/schedule.h"

#include <algorithm>
#include <limits>

#include "base/local_time.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

using std::chrono::seconds;

std::optional<int> SmallNumber(const std::string& text, int minimum, int maximum) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  const int value = std::stoi(text);
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::optional<Instant> NextClockTarget(const LocalTimeZone& zone, Instant now, const std::string& hourText,
                                       const std::string& minuteText, HalfDay halfDay) {
  const auto hour = SmallNumber(hourText, 1, 12);
  const auto minute = SmallNumber(minuteText, 0, 59);
  if (!hour || !minute) return std::nullopt;
  return NextShowing(zone, now, *hour % 12 + (halfDay == HalfDay::PM ? 12 : 0), *minute);
}

Instant NextShowing(const LocalTimeZone& zone, Instant now, int hour, int minute) {
  LocalDateTime wanted = ToLocal(zone, now);
  wanted.hour = hour;
  wanted.minute = minute;
  wanted.second = 0;
  // In the hour that repeats when the clocks go back, the second showing of
  // the time still counts as today's.
  for (const Instant today : LocalOccurrences(zone, wanted)) {
    if (today >= now) return today;
  }
  return FromLocal(zone, NextDay(wanted));
}

Instant NextRepeatShowing(const LocalTimeZone& zone, Instant now, int hour, int minute, int days) {
  if ((days & kAllRepeatDays) == 0) return NextShowing(zone, now, hour, minute);
  LocalDateTime wanted = ToLocal(zone, now);
  wanted.hour = hour;
  wanted.minute = minute;
  wanted.second = 0;
  // Today and the seven days after it hold every weekday, today's twice.
  for (int day = 0; day < 8; ++day, wanted = NextDay(wanted)) {
    const std::chrono::weekday weekday{std::chrono::floor<std::chrono::days>(WallAsUtc(wanted))};
    if ((days & (1 << (weekday.iso_encoding() - 1))) == 0) continue;
    for (const Instant at : LocalOccurrences(zone, wanted)) {
      if (at >= now) return at;
    }
  }
  return NextShowing(zone, now, hour, minute);
}

std::optional<CountdownUnit> CountdownUnitAt(int index) {
  if (index < 0 || index >= static_cast<int>(kCountdownUnitNames.size())) return std::nullopt;
  return static_cast<CountdownUnit>(index);
}

std::optional<HalfDay> HalfDayAt(int index) {
  if (index < 0 || index >= static_cast<int>(kHalfDayNames.size())) return std::nullopt;
  return static_cast<HalfDay>(index);
}

std::int32_t DisplayedSeconds(std::chrono::milliseconds left) {
  const std::chrono::seconds up = std::chrono::ceil<std::chrono::seconds>(left);
  return ClampToInt32(up.count());
}

std::string CountdownStatus(std::int32_t seconds) { return std::to_string(seconds) + " Seconds to Execution"; }

std::string SessionEndStatus(PowerAction action) {
  const char* verb = action == PowerAction::Restart  ? "restart"
                     : action == PowerAction::LogOff ? "log off"
                                                     : "shut down";
  return std::string("Waiting for Windows to ") + verb;
}

std::chrono::seconds CountdownLength(const std::string& periodText, CountdownUnit unit) {
  const std::int64_t amount = LeadingInt32Saturated(periodText);
  switch (unit) {
    case CountdownUnit::Hours: return seconds{amount * 3600};
    case CountdownUnit::Minutes: return seconds{amount * 60};
    case CountdownUnit::Seconds: break;
  }
  return seconds{amount};
}

Schedule::Schedule(const Clock& clock, const LocalTimeZone& zone, ScheduleHost& host, ConditionSampler* sampler)
    : clock_(clock), zone_(zone), host_(host) {
  if (sampler != nullptr) condition_.emplace(*sampler);
}

bool Schedule::ToggleSchedule(ToggleTrigger trigger) {
  if (armed_) {
    Disarm(trigger);
  } else if (!Arm(trigger)) {
    return false;
  }
  armed_ = !armed_;
  host_.SetTimerRunning(armed_);
  return true;
}

bool Schedule::Arm(ToggleTrigger trigger) {
  const ArmingInputs inputs = host_.ReadInputs();
  const Elapsed now = clock_.SinceStart();
  std::optional<Instant> clockTarget;
  std::chrono::milliseconds length{0};
  refusal_.clear();
  const bool condition = inputs.conditionMode && trigger != ToggleTrigger::BossKeyNow;
  if (condition) {
    if (!condition_) return false;
    if (auto why = condition_->Start(inputs.condition, now)) {
      refusal_ = std::move(*why);
      host_.SetStatus(refusal_);
      return false;
    }
  } else if (trigger != ToggleTrigger::BossKeyNow) {
    if (inputs.countdownMode) {
      length = CountdownLength(inputs.periodText, inputs.unit);
    } else {
      clockTarget = NextClockTarget(zone_, clock_.Now(), inputs.hourText, inputs.minuteText, inputs.halfDay);
      if (!clockTarget) return false;
      const LocalDateTime shown = ToLocal(zone_, *clockTarget);
      const Instant from = std::max(clock_.Now(), firedTarget_ + std::chrono::seconds{1});
      clockTarget = NextRepeatShowing(zone_, from, shown.hour, shown.minute, inputs.repeatDays);
    }
  }
  host_.SetEnabledMenuCheck(true);
  host_.SetToggleCaption("&Disable");
  action_ = inputs.action;
  force_ = inputs.force;
  blinkIcon_ = inputs.blinkIcon;
  prompt_ = inputs.prompt;
  blinkSeconds_ = LeadingInt32Saturated(inputs.blinkSecondsText);
  // Only a boss-key arming skips the prompt; any other arming forgets an
  // earlier boss-key press.
  timerTag_ = trigger == ToggleTrigger::BossKeyNow ? kBossKeyTag : "";
  followsWallClock_ = clockTarget.has_value();
  repeatDays_ = clockTarget ? inputs.repeatDays & kAllRepeatDays : 0;
  waitsForCondition_ = condition;
  awaitsSessionEnd_ = false;
  deadline_ = now + length;
  if (clockTarget) {
    wallTarget_ = *clockTarget;
    wallLocal_ = ToLocal(zone_, wallTarget_);
  }
  ++armings_;

  host_.SaveSettings();
  host_.SetTrayImage(TrayImage::Armed);
  host_.SetTrayTip(ArmedTip());
  if (trigger != ToggleTrigger::BossKeyNow && BalloonsWanted()) {
    host_.ShowBalloon(std::string(kProductName) + " will perform " + ActionName() +
                      (condition ? " " + condition_->Description() : " On " + GeneralDate(Target())));
  }
  if (condition) host_.SetStatus(condition_->Status());
  // The countdown runs from the end of arming: writing the settings and the
  // tray's requests take a few milliseconds, and the whole length is left
  // once the timer starts.
  if (!followsWallClock_) deadline_ = clock_.SinceStart() + length;
  return true;
}

void Schedule::AwaitSessionEnd(PowerAction action, std::chrono::milliseconds wait) {
  // Armed anew meanwhile: the newer choice stands.
  if (armed_) return;
  action_ = action;
  // The request already let every program refuse; the retry does not.
  force_ = true;
  prompt_ = true;
  timerTag_.clear();
  followsWallClock_ = false;
  repeatDays_ = 0;
  waitsForCondition_ = false;
  awaitsSessionEnd_ = true;
  deadline_ = clock_.SinceStart() + wait;
  ++armings_;
  armed_ = true;
  host_.SetEnabledMenuCheck(true);
  host_.SetToggleCaption("&Disable");
  host_.SetTrayImage(TrayImage::Armed);
  host_.SetTrayTip(ArmedTip());
  host_.SetStatus(SessionEndStatus(action_));
  host_.SetTimerRunning(true);
}

void Schedule::Disarm(ToggleTrigger trigger) {
  StopCondition();
  awaitsSessionEnd_ = false;
  host_.SetStatus("Disabled");
  host_.SetToggleCaption("&Enable");
  host_.SetEnabledMenuCheck(false);
  const bool hidden = host_.WindowsHidden();
  host_.SetTrayImage(hidden ? TrayImage::IdleHidden : TrayImage::Idle);
  host_.SetTrayTip(IdleTip(hidden));
  if (trigger != ToggleTrigger::Execution && BalloonsWanted()) {
    host_.ShowBalloon(hidden ? "No Action (H)" : "No Action");
  }
}

Instant Schedule::Target() const {
  return followsWallClock_ ? wallTarget_ : clock_.Now() + (deadline_ - clock_.SinceStart());
}

std::chrono::milliseconds Schedule::TimeLeft() const {
  return followsWallClock_ ? wallTarget_ - clock_.Now() : deadline_ - clock_.SinceStart();
}

std::string Schedule::ArmedTip() const {
  if (awaitsSessionEnd_) return std::string(kProductName) + ": " + SessionEndStatus(action_);
  return std::string(kProductName) + ": " + ActionName() +
         (waitsForCondition_ ? " " + condition_->Description() : " On " + GeneralDate(Target()));
}

std::optional<std::string> Schedule::ConditionStatus() const {
  if (!armed_ || !waitsForCondition_) return std::nullopt;
  return condition_->Status();
}

void Schedule::StopCondition() {
  if (waitsForCondition_) condition_->Stop();
  waitsForCondition_ = false;
}

void Schedule::TickCondition() {
  // Ticks go on inside the prompt's message loop; the firing is under way.
  if (firing_) {
    host_.SetStatus(kWaitingStatus);
    return;
  }
  const bool holds = condition_->Update(clock_.SinceStart());
  host_.SetStatus(condition_->Status());
  if (!holds) return;
  firing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{firing_};
  host_.FireAction();
}

void Schedule::Tick() {
  if (waitsForCondition_) {
    TickCondition();
    return;
  }
  const std::int32_t secs = DisplayedSeconds(TimeLeft());
  // Ticks go on inside the prompt's message loop; the firing is under way.
  host_.SetStatus(firing_ ? kWaitingStatus : awaitsSessionEnd_ ? SessionEndStatus(action_) : CountdownStatus(secs));
  // The wait for the session has nothing to count down to; a snooze after
  // it blinks as the armed countdown did.
  if (blinkIcon_ && !awaitsSessionEnd_ && secs <= blinkSeconds_) {
    const bool inBalloonWindow = static_cast<std::int64_t>(secs) + 5 > blinkSeconds_ || secs < 10;
    if (inBalloonWindow && secs >= 0 && !firing_ && BalloonsWanted()) {
      host_.ShowBalloon(std::string(kProductName) + " will perform " + ActionName() + " in " + std::to_string(secs) +
                        " seconds");
    }
    host_.SetTrayImage(blinkPhase_ ? TrayImage::Idle : TrayImage::Armed);
    blinkPhase_ = !blinkPhase_;
  }
  if (!FireIfDue()) AskForDeadline(TimeLeft());
}

void Schedule::OnDeadline() {
  if (armed_ && !waitsForCondition_ && !FireIfDue()) AskForDeadline(TimeLeft());
}

void Schedule::AskForDeadline(std::chrono::milliseconds left) {
  if (left > std::chrono::milliseconds{0} && left <= kTickInterval) host_.StartDeadlineTimer(left);
}

bool Schedule::FireIfDue() {
  // The prompt of a firing runs a nested message loop in which this timer
  // keeps ticking; those ticks must not start a second firing.
  if (TimeLeft() > std::chrono::milliseconds{0} || firing_) return false;
  firing_ = true;
  if (followsWallClock_) firedTarget_ = wallTarget_;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{firing_};
  host_.FireAction();
  return true;
}

void Schedule::OnClockChanged() {
  if (!armed_) return;
  // A clock time is worked out again for its hour and minute: the next
  // showing on the wall clock, unless the clock was set past the date and
  // time it stood for, which makes it due now.
  if (followsWallClock_) {
    const Instant now = clock_.Now();
    const Instant sameDate = FromLocal(zone_, wallLocal_);
    wallTarget_ =
        sameDate <= now ? sameDate : NextRepeatShowing(zone_, now, wallLocal_.hour, wallLocal_.minute, repeatDays_);
    wallLocal_ = ToLocal(zone_, wallTarget_);
  }
  host_.SetTrayTip(ArmedTip());
  Tick();
}

void Schedule::Snooze(std::int32_t minutes) {
  // From the instant of the answer, on the elapsed clock like a countdown;
  // a repeating time comes back when the snoozed action has been answered.
  followsWallClock_ = false;
  StopCondition();
  awaitsSessionEnd_ = false;
  deadline_ = clock_.SinceStart() + std::chrono::minutes{minutes};
  // A snooze is an answer to the prompt: the next firing asks again, also
  // when a boss-key press had armed for now while the prompt was open.
  timerTag_.clear();
  host_.SetStatus(CountdownStatus(DisplayedSeconds(TimeLeft())));
  // The blinking stopped in whichever phase it was; an armed program shows
  // the armed image until the next blink window.
  host_.SetTrayImage(TrayImage::Armed);
  blinkPhase_ = false;
  host_.SetTrayTip(ArmedTip());
  // Replaces the balloon that counted down to the old target.
  if (BalloonsWanted()) host_.ShowBalloon(ActionName() + " snoozed until " + GeneralDate(Target()));
}

std::string Schedule::TakeTimerTag() {
  std::string tag;
  tag.swap(timerTag_);
  return tag;
}

std::string Schedule::GeneralDate(Instant instant) const { return FormatGeneralDate(zone_, instant); }

bool Schedule::BalloonsWanted() const { return host_.TrayTipsOn() && host_.TrayCanShowBalloons(); }

}  // namespace kelvane
