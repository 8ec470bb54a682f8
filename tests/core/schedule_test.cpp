#include "core/schedule.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/fake_condition_sampler.h"
#include "fakes/fake_time.h"

namespace kelvane {
namespace {

using testing::FakeClock;
using testing::FakeZone;
using testing::Utc;
using namespace std::chrono_literals;

class RecordingHost : public ScheduleHost {
 public:
  ArmingInputs inputs{.action = PowerAction::Shutdown};
  bool tips = true;
  bool balloonCapable = true;
  bool hidden = false;
  int saves = 0;
  std::string status, caption, tip;
  bool menuChecked = false;
  bool timerRunning = false;
  std::vector<TrayImage> images;
  std::vector<std::string> balloons;
  int fires = 0;
  std::function<void()> onFire;

  ArmingInputs ReadInputs() const override { return inputs; }
  bool TrayTipsOn() const override { return tips; }
  bool WindowsHidden() const override { return hidden; }
  void SaveSettings() override { ++saves; }
  void SetStatus(const std::string& text) override { status = text; }
  void SetToggleCaption(const std::string& text) override { caption = text; }
  void SetEnabledMenuCheck(bool checked) override { menuChecked = checked; }
  void SetTimerRunning(bool running) override { timerRunning = running; }
  void SetTrayImage(TrayImage image) override { images.push_back(image); }
  void SetTrayTip(const std::string& text) override { tip = text; }
  bool TrayCanShowBalloons() const override { return balloonCapable; }
  void ShowBalloon(const std::string& text) override { balloons.push_back(text); }
  void StartDeadlineTimer(std::chrono::milliseconds delay) override { deadlineTimers.push_back(delay); }
  std::vector<std::chrono::milliseconds> deadlineTimers;
  void FireAction() override {
    ++fires;
    if (onFire) onFire();
  }

  void Countdown(const char* period, CountdownUnit unit) {
    inputs.periodText = period;
    inputs.unit = unit;
  }
  void ClockTime(const char* hour, const char* minute, HalfDay half) {
    inputs.countdownMode = false;
    inputs.hourText = hour;
    inputs.minuteText = minute;
    inputs.halfDay = half;
  }
};

class ScheduleTest : public ::testing::Test {
 protected:
  FakeClock clock{Utc(2026, 12, 6, 14, 0, 0)};
  FakeZone zone{0s};
  RecordingHost host;
  Schedule schedule{clock, zone, host};
};

TEST_F(ScheduleTest, ArmingShowsTheTargetAndStartsTheTimer) {
  host.Countdown("2", CountdownUnit::Minutes);
  ASSERT_TRUE(schedule.ToggleSchedule(ToggleTrigger::User));
  EXPECT_TRUE(schedule.Armed());
  EXPECT_TRUE(host.timerRunning);
  EXPECT_TRUE(host.menuChecked);
  EXPECT_EQ(host.caption, "&Disable");
  EXPECT_EQ(host.saves, 1);
  EXPECT_EQ(schedule.Target(), Utc(2026, 12, 6, 14, 2, 0));
  EXPECT_EQ(host.images.back(), TrayImage::Armed);
  EXPECT_EQ(host.tip, "Kelvane: Shutdown On 2026-12-06 14:02:00");
  ASSERT_EQ(host.balloons.size(), 1u);
  EXPECT_EQ(host.balloons[0], "Kelvane will perform Shutdown On 2026-12-06 14:02:00");
}

TEST_F(ScheduleTest, DisarmingShowsNoActionUnlessExecutionDisarms) {
  for (const auto trigger : {ToggleTrigger::User, ToggleTrigger::Execution}) {
    SCOPED_TRACE(static_cast<int>(trigger));
    host.balloons.clear();
    ASSERT_TRUE(schedule.ToggleSchedule(ToggleTrigger::User));
    host.balloons.clear();
    host.hidden = true;
    ASSERT_TRUE(schedule.ToggleSchedule(trigger));
    EXPECT_FALSE(schedule.Armed());
    EXPECT_FALSE(host.timerRunning);
    EXPECT_FALSE(host.menuChecked);
    EXPECT_EQ(host.status, "Disabled");
    EXPECT_EQ(host.caption, "&Enable");
    EXPECT_EQ(host.images.back(), TrayImage::IdleHidden);
    EXPECT_EQ(host.tip, "Kelvane: No Action (H)");
    if (trigger == ToggleTrigger::User) {
      EXPECT_EQ(host.balloons, std::vector<std::string>{"No Action (H)"});
    } else {
      EXPECT_TRUE(host.balloons.empty());
    }
    host.hidden = false;
  }
}

TEST_F(ScheduleTest, BalloonsNeedTipsAndACapableTray) {
  for (const auto& [tips, capable] : {std::pair{false, true}, std::pair{true, false}}) {
    host.tips = tips;
    host.balloonCapable = capable;
    host.balloons.clear();
    schedule.ToggleSchedule(ToggleTrigger::User);
    schedule.ToggleSchedule(ToggleTrigger::User);
    EXPECT_TRUE(host.balloons.empty());
  }
}

TEST_F(ScheduleTest, BossKeyArmsForNowWithoutBalloonAndTagsTheTimer) {
  ASSERT_TRUE(schedule.ToggleSchedule(ToggleTrigger::BossKeyNow));
  EXPECT_EQ(schedule.Target(), clock.Now());
  EXPECT_EQ(schedule.TimerTag(), "BossKey");
  EXPECT_TRUE(host.balloons.empty());
  schedule.ToggleSchedule(ToggleTrigger::User);
  EXPECT_EQ(schedule.TimerTag(), "BossKey") << "disarming keeps the tag";
  EXPECT_EQ(schedule.TakeTimerTag(), "BossKey");
  EXPECT_EQ(schedule.TimerTag(), "");
}

TEST_F(ScheduleTest, OneHourCountdownAcrossTheAutumnChangeLastsOneHour) {
  zone = FakeZone(3600s);
  zone.SetSummer(Utc(2026, 3, 29, 1), Utc(2026, 10, 25, 1));
  clock.Set(Utc(2026, 10, 25, 0, 30));  // 02:30 summer time, the first time round
  host.inputs.periodText = "1";
  schedule.ToggleSchedule(ToggleTrigger::User);
  EXPECT_EQ(schedule.Target() - clock.Now(), 3600s);
  EXPECT_EQ(host.tip, "Kelvane: Shutdown On 2026-10-25 02:30:00") << "the wall clock went back an hour";
}

TEST_F(ScheduleTest, ClockModeTakesTheNextOccurrence) {
  const struct {
    const char* name;
    Instant now;
    const char* hour;
    const char* minute;
    HalfDay half;
    Instant expected;
  } cases[] = {
      {"later today", Utc(2026, 12, 6, 14), "10", "30", HalfDay::PM, Utc(2026, 12, 6, 22, 30)},
      {"passed, so tomorrow", Utc(2026, 12, 6, 23), "10", "30", HalfDay::PM, Utc(2026, 12, 7, 22, 30)},
      {"12 AM is the coming midnight", Utc(2026, 12, 6, 14), "12", "00", HalfDay::AM, Utc(2026, 12, 7)},
      {"12 PM is noon", Utc(2026, 12, 6, 9), "12", "05", HalfDay::PM, Utc(2026, 12, 6, 12, 5)},
      {"equal to now stays today", Utc(2026, 12, 6, 14), "2", "00", HalfDay::PM, Utc(2026, 12, 6, 14)},
      {"across the year end", Utc(2026, 12, 31, 23, 59), "1", "00", HalfDay::AM, Utc(2027, 1, 1, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NextClockTarget(zone, c.now, c.hour, c.minute, c.half), c.expected);
  }
}

TEST_F(ScheduleTest, ClockModeFollowsTheCalendarAcrossClockChanges) {
  FakeZone berlin(3600s);
  berlin.SetSummer(Utc(2026, 3, 29, 1), Utc(2026, 10, 25, 1));
  // Armed on the eve of the spring change for 10:00 PM: tomorrow evening,
  // 23 hours away, not "now plus 24 hours".
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 3, 28, 22), "10", "00", HalfDay::PM), Utc(2026, 3, 29, 20));
  // 2:30 AM does not exist on the spring change day: the first instant after the gap.
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 3, 28, 22), "2", "30", HalfDay::AM), Utc(2026, 3, 29, 1));
  // 2:30 AM occurs twice on the autumn change day: the first one.
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 10, 24, 22), "2", "30", HalfDay::AM), Utc(2026, 10, 25, 0, 30));
  // Armed during the second 2:15 AM for 2:30 AM: the first 2:30 has passed
  // but the wall clock shows 2:30 again in a quarter of an hour.
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 10, 25, 1, 15), "2", "30", HalfDay::AM), Utc(2026, 10, 25, 1, 30));
  // At 2:45 in the second pass, 2:50 AM is five minutes away, not a day.
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 10, 25, 1, 45), "2", "50", HalfDay::AM), Utc(2026, 10, 25, 1, 50));
  // Once both showings have passed, tomorrow's.
  EXPECT_EQ(NextClockTarget(berlin, Utc(2026, 10, 25, 1, 55), "2", "50", HalfDay::AM), Utc(2026, 10, 26, 1, 50));
}

TEST_F(ScheduleTest, RepeatDaysTakeTheNextChosenDayAcrossWeeksMonthsAndClockChanges) {
  constexpr int mon = 1, tue = 2, wed = 4, thu = 8, fri = 16, sat = 32, sun = 64;
  FakeZone berlin(3600s);
  berlin.SetSummer(Utc(2026, 3, 29, 1), Utc(2026, 10, 25, 1));
  const struct {
    const char* why;
    Instant now;
    int hour, minute, days;
    Instant expected;
  } cases[] = {
      // Thursday 31 December 2026, 23:00 local: Monday is in the next year.
      {"across the week and the year", Utc(2026, 12, 31, 22), 22, 30, mon, Utc(2027, 1, 4, 21, 30)},
      {"today when still ahead", Utc(2026, 12, 31, 20), 22, 30, thu, Utc(2026, 12, 31, 21, 30)},
      {"a week on when today's has passed", Utc(2026, 12, 31, 22), 22, 30, thu, Utc(2027, 1, 7, 21, 30)},
      {"weekdays skip the weekend", Utc(2027, 1, 1, 22), 7, 0, mon | tue | wed | thu | fri, Utc(2027, 1, 4, 6)},
      {"an instant equal to now counts", Utc(2027, 1, 2, 6), 7, 0, sat, Utc(2027, 1, 2, 6)},
      // Friday 27 March: Sunday's 2:30 falls into the spring gap, the first
      // instant after it; Sunday's 22:00 is in summer time.
      {"the skipped hour", Utc(2026, 3, 27, 12), 2, 30, sun, Utc(2026, 3, 29, 1)},
      {"summer time after the change", Utc(2026, 3, 27, 12), 22, 0, sun, Utc(2026, 3, 29, 20)},
      // Sunday 25 October: 2:30 shows twice; the first, then the second
      // while the first has passed.
      {"the doubled hour, first", Utc(2026, 10, 24, 12), 2, 30, sun | sat, Utc(2026, 10, 25, 0, 30)},
      {"the doubled hour, second", Utc(2026, 10, 25, 0, 45), 2, 30, sun, Utc(2026, 10, 25, 1, 30)},
      {"no day chosen: the next showing", Utc(2026, 12, 31, 22), 22, 30, 0, Utc(2027, 1, 1, 21, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(NextRepeatShowing(berlin, c.now, c.hour, c.minute, c.days), c.expected);
  }
}

TEST_F(ScheduleTest, InvalidClockInputNeverArms) {
  for (const auto& [hour, minute] : {std::pair{"10", ""}, std::pair{"", "30"}, std::pair{"13", "00"},
                                     std::pair{"1", "60"}, std::pair{"x", "00"}, std::pair{"1", "5a"}}) {
    SCOPED_TRACE(std::string(hour) + ":" + minute);
    host.ClockTime(hour, minute, HalfDay::AM);
    EXPECT_FALSE(schedule.ToggleSchedule(ToggleTrigger::User));
    EXPECT_FALSE(schedule.Armed());
    EXPECT_FALSE(host.timerRunning);
    EXPECT_EQ(host.saves, 0);
    EXPECT_TRUE(host.balloons.empty());
  }
}

TEST_F(ScheduleTest, BlinkWindowShowsBalloonsAtItsStartAndEnd) {
  host.Countdown("40", CountdownUnit::Seconds);
  host.inputs.blinkSecondsText = "30";
  schedule.ToggleSchedule(ToggleTrigger::User);
  host.balloons.clear();
  host.images.clear();
  std::vector<int> balloonSecs;
  int blinkTicks = 0;
  for (int secs = 40; secs >= 0; --secs) {
    clock.Set(schedule.Target() - std::chrono::seconds{secs});
    const auto imagesBefore = host.images.size();
    const auto balloonsBefore = host.balloons.size();
    schedule.Tick();
    EXPECT_EQ(host.status, std::to_string(secs) + " Seconds to Execution");
    if (host.images.size() > imagesBefore) ++blinkTicks;
    if (host.balloons.size() > balloonsBefore) {
      balloonSecs.push_back(secs);
      EXPECT_EQ(host.balloons.back(), "Kelvane will perform Shutdown in " + std::to_string(secs) + " seconds");
    }
  }
  EXPECT_EQ(balloonSecs, (std::vector<int>{30, 29, 28, 27, 26, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(blinkTicks, 31);
  ASSERT_GE(host.images.size(), 2u);
  EXPECT_EQ(host.images[0], TrayImage::Armed);
  EXPECT_EQ(host.images[1], TrayImage::Idle);
  EXPECT_EQ(host.fires, 1);
}

TEST_F(ScheduleTest, BlinkOffOnlyCounts) {
  host.inputs.blinkIcon = false;
  host.Countdown("3", CountdownUnit::Seconds);
  schedule.ToggleSchedule(ToggleTrigger::User);
  host.balloons.clear();
  host.images.clear();
  clock.Advance(1s);
  schedule.Tick();
  EXPECT_EQ(host.status, "2 Seconds to Execution");
  EXPECT_TRUE(host.images.empty());
  EXPECT_TRUE(host.balloons.empty());
}

TEST_F(ScheduleTest, TargetPassedWhileAsleepFiresOnTheFirstTickWithoutBalloon) {
  host.Countdown("1", CountdownUnit::Minutes);
  schedule.ToggleSchedule(ToggleTrigger::User);
  host.balloons.clear();
  clock.Advance(3h);
  schedule.Tick();
  EXPECT_EQ(host.status, "-10740 Seconds to Execution");
  EXPECT_TRUE(host.balloons.empty());
  EXPECT_EQ(host.fires, 1);
}

TEST_F(ScheduleTest, TicksDuringAnOpenPromptDoNotFireAgain) {
  host.Countdown("1", CountdownUnit::Seconds);
  schedule.ToggleSchedule(ToggleTrigger::User);
  clock.Advance(1s);
  // The prompt's nested message loop keeps delivering timer ticks.
  host.onFire = [&] {
    for (int i = 0; i < 3; ++i) {
      clock.Advance(1s);
      schedule.Tick();
    }
    EXPECT_TRUE(schedule.Firing());
  };
  schedule.Tick();
  EXPECT_EQ(host.fires, 1);
  EXPECT_FALSE(schedule.Firing());
  host.onFire = nullptr;
  schedule.Tick();
  EXPECT_EQ(host.fires, 2) << "a later tick may fire once the sequence has ended";
}

TEST_F(ScheduleTest, SnoozeMovesTheTargetFromNow) {
  schedule.ToggleSchedule(ToggleTrigger::User);
  clock.Advance(2h);
  schedule.Snooze(5);
  EXPECT_TRUE(schedule.Armed());
  EXPECT_EQ(schedule.Target(), clock.Now() + 300s);
  schedule.Tick();
  EXPECT_EQ(host.status, "300 Seconds to Execution");
}

class ScheduleClockTest : public ::testing::Test {
 protected:
  // Armed at a fraction of a second.
  FakeClock clock{Utc(2026, 12, 6, 14, 0, 0) + 300ms};
  FakeZone zone{0s};
  RecordingHost host;
  Schedule schedule{clock, zone, host};

  void ArmCountdown(const char* seconds) {
    host.Countdown(seconds, CountdownUnit::Seconds);
    ASSERT_TRUE(schedule.ToggleSchedule(ToggleTrigger::User));
  }
};

TEST_F(ScheduleClockTest, FiresAtTheTargetToTheMillisecondAndNeverBefore) {
  ArmCountdown("5");
  const struct {
    std::chrono::milliseconds sinceArming;
    const char* status;
    bool fired;
  } steps[] = {{1ms, "5 Seconds to Execution", false},    {1000ms, "4 Seconds to Execution", false},
               {3999ms, "2 Seconds to Execution", false}, {4999ms, "1 Seconds to Execution", false},
               {5000ms, "0 Seconds to Execution", true}};
  std::chrono::milliseconds passed{0};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.sinceArming.count());
    clock.Advance(step.sinceArming - passed);
    passed = step.sinceArming;
    schedule.Tick();
    EXPECT_EQ(host.status, step.status);
    EXPECT_EQ(host.fires, step.fired ? 1 : 0);
  }
}

TEST_F(ScheduleClockTest, TheLastPartOfATickIsTimedToTheMillisecond) {
  ArmCountdown("5");
  clock.Advance(4600ms);
  schedule.Tick();
  ASSERT_FALSE(host.deadlineTimers.empty());
  EXPECT_EQ(host.deadlineTimers.back(), 400ms);
  // A timer that wakes early asks again for what is left.
  clock.Advance(399ms);
  schedule.OnDeadline();
  EXPECT_EQ(host.fires, 0);
  EXPECT_EQ(host.deadlineTimers.back(), 1ms);
  clock.Advance(1ms);
  schedule.OnDeadline();
  EXPECT_EQ(host.fires, 1);
}

TEST_F(ScheduleClockTest, ACountdownLastsItsRealLengthWhateverTheWallClockDoes) {
  const struct {
    const char* name;
    std::chrono::milliseconds jump;
    std::chrono::seconds zoneOffset;
  } cases[] = {{"clock set forward", 2h, 0s},
               {"clock set back", -5h, 0s},
               {"clock set years ahead", 24h * 365 * 30, 0s},
               {"zone changed", 0ms, 3h}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock wall{Utc(2026, 12, 6, 14)};
    FakeZone local{0s};
    RecordingHost h;
    Schedule s{wall, local, h};
    h.Countdown("60", CountdownUnit::Seconds);
    s.ToggleSchedule(ToggleTrigger::User);
    wall.Advance(10s);
    wall.JumpWall(c.jump);
    local = FakeZone(c.zoneOffset);
    s.OnClockChanged();
    EXPECT_EQ(h.status, "50 Seconds to Execution");
    EXPECT_EQ(h.tip, "Kelvane: Shutdown On " + FormatGeneralDate(local, wall.Now() + 50s));
    wall.Advance(49999ms);
    s.Tick();
    EXPECT_EQ(h.fires, 0);
    wall.Advance(1ms);
    s.Tick();
    EXPECT_EQ(h.fires, 1);
  }
}

TEST_F(ScheduleClockTest, AClockTimeKeepsItsLocalTimeAcrossZoneAndClockChanges) {
  host.ClockTime("10", "30", HalfDay::PM);
  ASSERT_TRUE(schedule.ToggleSchedule(ToggleTrigger::User));
  EXPECT_EQ(schedule.Target(), Utc(2026, 12, 6, 22, 30));

  zone = FakeZone(2h);  // the user moved two zones east: 10:30 PM there is 20:30 UTC
  schedule.OnClockChanged();
  EXPECT_EQ(schedule.Target(), Utc(2026, 12, 6, 20, 30));
  EXPECT_EQ(host.tip, "Kelvane: Shutdown On 2026-12-06 22:30:00");
  EXPECT_EQ(host.fires, 0);

  clock.JumpWall(7h);  // the clock is set past the target: the action is due
  schedule.OnClockChanged();
  EXPECT_EQ(host.fires, 1);
}

// The wall clock going back across midnight, or years, whether the date was
// set right or the user crossed the date line westwards: the clock time is
// the next one the wall clock shows, not the one of the date that was shown
// when it was armed.
TEST_F(ScheduleClockTest, AClockTimeIsTheNextShowingAfterTheDateGoesBack) {
  const struct {
    const char* name;
    std::chrono::seconds zoneAtArming;
    std::chrono::milliseconds wallJump;
    std::chrono::seconds zoneAfter;
    std::chrono::minutes wait;  // until the wall clock next shows 10:30 PM
  } cases[] = {
      // Armed at 2 PM on a date a day ahead; the clock is set to the right date.
      {"date set back a day", 0s, -24h, 0s, 8h + 30min},
      // A computer whose clock ran a year ahead is corrected by the time service.
      {"clock set back a year", 0s, -24h * 365, 0s, 8h + 30min},
      // Armed at 11 PM in Tokyo (UTC+9), so for 10:30 PM of the next date;
      // in Honolulu (UTC-10) it is 4 AM of the arming date, and the wall
      // clock shows 10:30 PM in 18.5 hours.
      {"zone moved west across the date line", 9h, 0ms, -10h, 18h + 30min},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock wall{Utc(2026, 12, 6, 14)};
    FakeZone local{c.zoneAtArming};
    RecordingHost h;
    Schedule s{wall, local, h};
    h.ClockTime("10", "30", HalfDay::PM);
    ASSERT_TRUE(s.ToggleSchedule(ToggleTrigger::User));
    wall.JumpWall(c.wallJump);
    local = FakeZone(c.zoneAfter);
    s.OnClockChanged();
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::minutes>(s.Target() - wall.Now()), c.wait);
    EXPECT_EQ(h.fires, 0);
  }
}

TEST_F(ScheduleClockTest, SnoozeCountsFromTheAnswerOnTheElapsedClock) {
  ArmCountdown("5");
  clock.Advance(5s);
  clock.Advance(250ms);
  schedule.Snooze(1);
  clock.JumpWall(-1h);
  clock.Advance(59999ms);
  schedule.Tick();
  EXPECT_EQ(host.status, "1 Seconds to Execution");
  EXPECT_EQ(host.fires, 0);
  clock.Advance(1ms);
  schedule.Tick();
  EXPECT_EQ(host.fires, 1);
}

// The quiet conditions measure their rates and minutes on the elapsed
// clock: a wall clock set forward or back, at any moment, changes neither.
TEST_F(ScheduleClockTest, AQuietConditionCountsItsMinutesWhateverTheWallClockDoes) {
  const struct {
    const char* name;
    std::chrono::milliseconds jump;
  } cases[] = {{"clock set forward a day", 24h}, {"clock set back an hour", -1h}};
  for (const ConditionKind kind : {ConditionKind::NetworkQuiet, ConditionKind::ProcessorQuiet}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (kind == ConditionKind::NetworkQuiet ? " (network)" : " (processor)"));
      FakeClock wall{Utc(2026, 12, 6, 14)};
      RecordingHost h;
      testing::FakeConditionSampler samples;
      samples.octets = std::vector<InterfaceOctets>{{3, 0, 0}};
      Schedule s{wall, zone, h, &samples};
      h.inputs.conditionMode = true;
      h.inputs.condition = {kind, 2, {}};
      ASSERT_TRUE(s.ToggleSchedule(ToggleTrigger::User));
      for (int tick = 1; tick <= 240; ++tick) {
        wall.Advance(500ms);
        (*samples.octets)[0].received += 1000;  // 2 KB/s
        samples.times->total += 100;
        samples.times->idle += 99;  // 1 %
        if (tick == 100) {
          wall.JumpWall(c.jump);
          s.OnClockChanged();
        }
        s.Tick();
        ASSERT_EQ(h.fires, tick == 240 ? 1 : 0) << tick;
      }
    }
  }
}

}  // namespace
}  // namespace kelvane
