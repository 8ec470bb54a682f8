#pragma once
// Arming, disarming and the countdown tick of the schedule.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/local_time.h"
#include "base/product.h"
#include "conditions/condition.h"
#include "power/power.h"
#include "tray/tray_icon.h"

namespace kelvane {

enum class ToggleTrigger { User, Execution, BossKeyNow };
// The unit and half-day lists show their texts in the order of the enums.
enum class CountdownUnit { Hours = 0, Minutes = 1, Seconds = 2 };
enum class HalfDay { AM = 0, PM = 1 };
inline constexpr std::array<std::string_view, 3> kCountdownUnitNames{"Hours", "Minutes", "Seconds"};
inline constexpr std::array<std::string_view, 2> kHalfDayNames{"AM", "PM"};
// The unit or half day at a list position; nullopt outside the list.
std::optional<CountdownUnit> CountdownUnitAt(int index);
std::optional<HalfDay> HalfDayAt(int index);

inline constexpr const char* kBossKeyTag = "BossKey";
// The status line while the prompt waits: the target has passed, and a
// count below zero would tell the user nothing.
inline constexpr const char* kWaitingStatus = "Waiting for your answer";
// The status line while counting: "42 Seconds to Execution".
std::string CountdownStatus(std::int32_t seconds);
// The status line while Windows ends the session that was asked for:
// "Waiting for Windows to shut down".
std::string SessionEndStatus(PowerAction action);
// The timer that counts down and blinks.
inline constexpr std::chrono::milliseconds kTickInterval{500};

// The schedule controls as they stand when the schedule is armed.
struct ArmingInputs {
  PowerAction action = PowerAction::Shutdown;
  bool force = true;
  bool blinkIcon = true;
  bool prompt = true;
  std::string blinkSecondsText = "30";
  bool countdownMode = true;
  std::string periodText = "1";
  CountdownUnit unit = CountdownUnit::Hours;
  std::string hourText = "1";
  std::string minuteText = "00";
  HalfDay halfDay = HalfDay::AM;
  // A clock time repeats on these days (kAllRepeatDays bits); 0 for once.
  int repeatDays = 0;
  // A condition instead of a time; wins over countdownMode.
  bool conditionMode = false;
  ConditionChoice condition = {};
};

// What the schedule shows and asks of the window and the tray.
class ScheduleHost {
 public:
  virtual ~ScheduleHost() = default;
  virtual ArmingInputs ReadInputs() const = 0;
  virtual bool TrayTipsOn() const = 0;
  virtual bool WindowsHidden() const = 0;
  virtual void SaveSettings() = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetToggleCaption(const std::string& caption) = 0;
  virtual void SetEnabledMenuCheck(bool checked) = 0;
  virtual void SetTimerRunning(bool running) = 0;
  virtual void SetTrayImage(TrayImage image) = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  virtual bool TrayCanShowBalloons() const = 0;
  // Shows a balloon for 3000 ms with sound.
  virtual void ShowBalloon(const std::string& text) = 0;
  // Asks for one call of Schedule::OnDeadline after `delay`, replacing an
  // earlier request; for the last part of a tick, so that the action starts
  // at its target rather than up to a tick after it.
  virtual void StartDeadlineTimer(std::chrono::milliseconds delay) = 0;
  // The target has been reached: run the firing sequence.
  virtual void FireAction() = 0;
};

// The next instant at which the local clock shows hour:minute of the given
// half day, counting an instant equal to `now` as today; a day is added only
// when today has no such instant left. nullopt when the
// texts do not form a valid time.
std::optional<Instant> NextClockTarget(const LocalTimeZone& zone, Instant now, const std::string& hourText,
                                       const std::string& minuteText, HalfDay halfDay);

// The next instant at which the local clock shows hour (0 to 23):minute.
Instant NextShowing(const LocalTimeZone& zone, Instant now, int hour, int minute);

// Repeat days as stored: bit 0 Monday to bit 6 Sunday; 0 for once.
inline constexpr int kAllRepeatDays = 0x7F;
// The next showing of hour:minute on one of the chosen days; a skipped or
// doubled hour as NextShowing takes it. `days` 0 means any day.
Instant NextRepeatShowing(const LocalTimeZone& zone, Instant now, int hour, int minute, int days);

std::chrono::seconds CountdownLength(const std::string& periodText, CountdownUnit unit);

// The whole seconds the status line, tooltip and balloons show for the time
// left: rounded up, so that a five-second countdown reads 5, 4, 3, 2, 1 and
// fires as it would read 0.
std::int32_t DisplayedSeconds(std::chrono::milliseconds left);

class Schedule {
 public:
  // Without a sampler no condition can be armed.
  Schedule(const Clock& clock, const LocalTimeZone& zone, ScheduleHost& host, ConditionSampler* sampler = nullptr);

  // Arms when disarmed and disarms when armed. Returns false when arming was
  // refused because the clock-mode time cannot be formed.
  bool ToggleSchedule(ToggleTrigger trigger);
  // The 500 ms timer tick.
  void Tick();
  // The deadline timer asked for through the host.
  void OnDeadline();
  // The wall clock was set or the zone changed: a clock time is worked out
  // again for the same local date and time, the tooltip shows the target in
  // the current zone, and the target is checked at once.
  void OnClockChanged();

  // Moves the target while staying armed (the prompt's snooze); the status
  // line and the tooltip show the new target at once, and with balloons on a
  // balloon confirms it.
  void Snooze(std::int32_t minutes);
  // Arms to wait for the session to end after a Shutdown, Restart or Log Off
  // that other programs could refuse: if the program still runs after
  // `wait`, it fires as at a target, asking first, and the action is forced
  // then. The status line and the tooltip say what it waits for. Nothing
  // when armed.
  void AwaitSessionEnd(PowerAction action, std::chrono::milliseconds wait);
  // Reads and clears the timer's tag ("BossKey" after a boss-key arming).
  std::string TakeTimerTag();
  // Marks the schedule disarmed without touching the timer, so that the next
  // toggle arms anew.
  void ForgetArmed() { armed_ = false; }

  bool Armed() const { return armed_; }
  // The quiet conditions' thresholds, changed while armed.
  void SetQuietThresholds(int kbps, int percent) {
    if (condition_) condition_->SetThresholds(kbps, percent);
  }
  // Armed for a clock time that repeats on chosen days.
  bool Repeats() const { return armed_ && followsWallClock_ && repeatDays_ != 0; }
  // Armed to wait for the session to end; a snooze of the prompt that
  // follows ends the wait.
  bool AwaitsSessionEnd() const { return armed_ && awaitsSessionEnd_; }
  // Armed for a condition rather than a time: its state, as the status line
  // shows it; nullopt when armed for a time.
  std::optional<std::string> ConditionStatus() const;
  // Why the last arming was refused, when it was not for the time's texts.
  const std::string& Refusal() const { return refusal_; }
  // The target on the wall clock; a countdown's follows the time left.
  Instant Target() const;
  std::chrono::milliseconds TimeLeft() const;
  PowerAction Action() const { return action_; }
  std::string ActionName() const { return std::string(kelvane::ActionName(action_)); }
  bool Force() const { return force_; }
  bool Prompt() const { return prompt_; }
  bool BlinkIcon() const { return blinkIcon_; }
  std::int32_t BlinkSeconds() const { return blinkSeconds_; }
  const std::string& TimerTag() const { return timerTag_; }
  bool Firing() const { return firing_; }
  // Counts the armings, so that a firing can tell that the user armed anew
  // while it ran.
  std::uint64_t Armings() const { return armings_; }

 private:
  bool Arm(ToggleTrigger trigger);
  void Disarm(ToggleTrigger trigger);
  std::string GeneralDate(Instant instant) const;
  bool BalloonsWanted() const;
  std::string ArmedTip() const;
  // Fires when the target has been reached; true when it did.
  bool FireIfDue();
  void AskForDeadline(std::chrono::milliseconds left);

  // The condition is met: fire, unless a firing is under way.
  void TickCondition();
  void StopCondition();

  const Clock& clock_;
  const LocalTimeZone& zone_;
  ScheduleHost& host_;
  std::optional<ConditionWatch> condition_;
  bool waitsForCondition_ = false;
  bool awaitsSessionEnd_ = false;
  std::string refusal_;
  bool armed_ = false;
  // Countdowns and snoozes run on the elapsed clock, so that setting the
  // wall clock or sleeping never shortens or lengthens them; a clock time
  // follows the wall clock.
  bool followsWallClock_ = false;
  Elapsed deadline_{};
  Instant wallTarget_{};
  LocalDateTime wallLocal_{};
  int repeatDays_ = 0;
  // The clock target that fired last: arming again right after it, in the
  // same millisecond, must not find it again.
  Instant firedTarget_{};
  PowerAction action_ = PowerAction::Shutdown;
  bool force_ = true;
  bool blinkIcon_ = true;
  bool prompt_ = true;
  std::int32_t blinkSeconds_ = 30;
  bool blinkPhase_ = false;
  std::string timerTag_;
  bool firing_ = false;
  std::uint64_t armings_ = 0;
};

}  // namespace kelvane
