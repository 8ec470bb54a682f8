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
  LocalDateTime wanted = ToLocal(zone, now);
  wanted.hour = *hour % 12 + (halfDay == HalfDay::PM ? 12 : 0);
  wanted.minute = *minute;
  wanted.second = 0;
  // In the hour that repeats when the clocks go back, the second showing of
  // the time still counts as today's.
  for (const Instant today : LocalOccurrences(zone, wanted)) {
    if (today >= now) return today;
  }
  return FromLocal(zone, NextDay(wanted));
}

std::optional<CountdownUnit> CountdownUnitAt(int index) {
  if (index < 0 || index >= static_cast<int>(kCountdownUnitNames.size())) return std::nullopt;
  return static_cast<CountdownUnit>(index);
}

std::optional<HalfDay> HalfDayAt(int index) {
  if (index < 0 || index >= static_cast<int>(kHalfDayNames.size())) return std::nullopt;
  return static_cast<HalfDay>(index);
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

Schedule::Schedule(const Clock& clock, const LocalTimeZone& zone, ScheduleHost& host)
    : clock_(clock), zone_(zone), host_(host) {}

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
  const Instant now = clock_.Now();
  Instant target = now;
  if (trigger != ToggleTrigger::BossKeyNow) {
    if (inputs.countdownMode) {
      target = now + CountdownLength(inputs.periodText, inputs.unit);
    } else {
      const auto next = NextClockTarget(zone_, now, inputs.hourText, inputs.minuteText, inputs.halfDay);
      if (!next) return false;
      target = *next;
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
  target_ = target;
  ++armings_;

  host_.SaveSettings();
  const std::string when = GeneralDate(target_);
  host_.SetTrayImage(TrayImage::Armed);
  host_.SetTrayTip(std::string(kProductName) + ": " + ActionName() + " On " + when);
  if (trigger != ToggleTrigger::BossKeyNow && BalloonsWanted()) {
    host_.ShowBalloon(std::string(kProductName) + " will perform " + ActionName() + " On " + when);
  }
  return true;
}

void Schedule::Disarm(ToggleTrigger trigger) {
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

void Schedule::Tick() {
  const std::int32_t secs = ClampToInt32((target_ - clock_.Now()).count());
  host_.SetStatus(std::to_string(secs) + " Seconds to Execution");
  if (blinkIcon_ && secs <= blinkSeconds_) {
    const bool inBalloonWindow = static_cast<std::int64_t>(secs) + 5 > blinkSeconds_ || secs < 10;
    if (inBalloonWindow && secs >= 0 && BalloonsWanted()) {
      host_.ShowBalloon(std::string(kProductName) + " will perform " + ActionName() + " in " + std::to_string(secs) +
                        " seconds");
    }
    host_.SetTrayImage(blinkPhase_ ? TrayImage::Idle : TrayImage::Armed);
    blinkPhase_ = !blinkPhase_;
  }
  // The prompt of a firing runs a nested message loop in which this timer
  // keeps ticking; those ticks must not start a second firing.
  if (target_ <= clock_.Now() && !firing_) {
    firing_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{firing_};
    host_.FireAction();
  }
}

void Schedule::Snooze(std::int32_t minutes) {
  target_ = clock_.Now() + std::chrono::minutes{minutes};
  // A snooze is an answer to the prompt: the next firing asks again, also
  // when a boss-key press had armed for now while the prompt was open.
  timerTag_.clear();
}

std::string Schedule::TakeTimerTag() {
  std::string tag;
  tag.swap(timerTag_);
  return tag;
}

std::string Schedule::GeneralDate(Instant instant) const { return FormatGeneralDate(zone_, instant); }

bool Schedule::BalloonsWanted() const { return host_.TrayTipsOn() && host_.TrayCanShowBalloons(); }

}  // namespace kelvane
