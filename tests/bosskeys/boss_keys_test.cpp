#include "bosskeys/boss_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "bosskeys/bosskeys_fakes.h"
#include "core/schedule.h"
#include "core/settings.h"
#include "base/local_time.h"
#include "fakes/fake_time.h"

namespace kelvane {
namespace {

using testing::FakeClock;
using testing::FakeDesktop;
using testing::FakeZone;
using testing::Utc;
using namespace std::chrono_literals;
using Log = std::vector<std::string>;

// The main window as far as the boss keys and the schedule see it, with a
// real schedule so that arming by the boss key is the schedule's own.
class MainWindowStandIn : public BossKeyHost, public ScheduleHost {
 public:
  MainWindowStandIn(const Clock& clock, const LocalTimeZone& zone) : schedule(clock, zone, *this) {}

  const ProgramOptions& Options() const override { return options; }
  bool Armed() const override { return schedule.Armed(); }
  void ForgetArmed() override { schedule.ForgetArmed(); }
  void ArmNow() override { schedule.ToggleSchedule(ToggleTrigger::BossKeyNow); }
  void SetTrayImage(TrayImage shown) override { image = shown; }
  void SetTrayTip(const std::string& text) override { tip = text; }
  void SetShowHiddenPicture(bool shown) override { picture = shown; }
  void ProcessPendingMessages() override { calls.push_back("messages"); }
  void RunTasks() override {
    calls.push_back("tasks");
    if (duringTasks) duringTasks();
  }
  void SetWaitCursor(bool wait) override { calls.push_back(wait ? "wait on" : "wait off"); }
  void SuspendPower(std::int32_t hibernate) override { calls.push_back("suspend " + std::to_string(hibernate)); }
  void LockComputer() override { calls.push_back("lock"); }
  bool Ending() const override { return ending; }

  ArmingInputs ReadInputs() const override { return {.action = PowerAction::Shutdown}; }
  bool TrayTipsOn() const override { return false; }
  bool WindowsHidden() const override { return bossKeys != nullptr && bossKeys->WindowsHidden(); }
  void SaveSettings() override {}
  void SetStatus(const std::string&) override {}
  void SetToggleCaption(const std::string&) override {}
  void SetEnabledMenuCheck(bool) override {}
  void SetTimerRunning(bool running) override { timerRunning = running; }
  bool TrayCanShowBalloons() const override { return false; }
  void ShowBalloon(const std::string&) override {}
  void StartDeadlineTimer(std::chrono::milliseconds) override {}
  void FireAction() override {}

  void ForgetPress() {
    image.reset();
    tip.reset();
    picture.reset();
    calls.clear();
  }

  ProgramOptions options;
  Schedule schedule;
  BossKeys* bossKeys = nullptr;
  bool ending = false;
  std::optional<TrayImage> image;
  std::optional<std::string> tip;
  std::optional<bool> picture;
  bool timerRunning = false;
  Log calls;
  std::function<void()> duringTasks;
};

enum class Press { Boss, Alt, Click };
enum class Tip { None, Idle, IdleHidden, ArmedNow };

struct Options {
  bool bossHide = false;
  bool bossExe = false;
  bool altHide = false;
  bool altTasks = false;
  const char* altAction = "";
};

struct Before {
  bool hidden = false;
  bool armed = false;
};

struct After {
  bool hidden = false;
  bool armed = false;
  bool armedByBossKey = false;
  std::optional<TrayImage> image = std::nullopt;
  Tip tip = Tip::None;
  std::optional<bool> picture = std::nullopt;
  Log calls = {};
};

struct Row {
  const char* name;
  Press press;
  Options options;
  Before before;
  After after;
};

class BossKeysFixture : public ::testing::Test {
 protected:
  BossKeysFixture() { window.bossKeys = &bossKeys; }

  void Prepare(const Before& before) {
    if (before.hidden) {
      window.options.BossKeyHideWindows = true;
      window.options.BossKeyDoExeAction = false;
      bossKeys.OnBossKey();
      ASSERT_TRUE(bossKeys.WindowsHidden());
    }
    if (before.armed) {
      ASSERT_TRUE(window.schedule.ToggleSchedule(ToggleTrigger::User));
    }
    clock.Advance(10min);
    window.ForgetPress();
  }

  void Apply(const Options& options) {
    window.options.BossKeyHideWindows = options.bossHide;
    window.options.BossKeyDoExeAction = options.bossExe;
    window.options.Boss2KeyHideWindows = options.altHide;
    window.options.Boss2KeyRunTasks = options.altTasks;
    window.options.Boss2KeyAction = options.altAction;
  }

  void DoPress(Press press) {
    switch (press) {
      case Press::Boss: bossKeys.OnBossKey(); break;
      case Press::Alt: bossKeys.OnAltBossKey(); break;
      case Press::Click: bossKeys.OnShowHiddenClick(); break;
    }
  }

  std::optional<std::string> ExpectedTip(Tip tip) const {
    switch (tip) {
      case Tip::None: break;
      case Tip::Idle: return IdleTip(false);
      case Tip::IdleHidden: return IdleTip(true);
      case Tip::ArmedNow: return "Kelvane: Shutdown On " + FormatGeneralDate(zone, clock.Now());
    }
    return std::nullopt;
  }

  FakeClock clock{Utc(2026, 3, 2, 9, 0, 0)};
  FakeZone zone{0s};
  FakeDesktop desktop;
  WindowHider hider{desktop};
  MainWindowStandIn window{clock, zone};
  BossKeys bossKeys{window, hider};
  WindowId editor = desktop.Add("Editor", true, kShowNormal);
};

class BossKeysTest : public BossKeysFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(BossKeysTest, PressHasItsEffects) {
  const Row& row = GetParam();
  Prepare(row.before);
  Apply(row.options);
  DoPress(row.press);

  EXPECT_EQ(bossKeys.WindowsHidden(), row.after.hidden);
  EXPECT_EQ(desktop.Get(editor).visible, !row.after.hidden);
  EXPECT_EQ(window.schedule.Armed(), row.after.armed);
  EXPECT_EQ(window.timerRunning, row.after.armed);
  EXPECT_EQ(window.schedule.TimerTag(), row.after.armedByBossKey ? kBossKeyTag : "");
  if (row.after.armedByBossKey) {
    EXPECT_EQ(window.schedule.Target(), clock.Now());
  }
  EXPECT_EQ(window.image, row.after.image);
  EXPECT_EQ(window.tip, ExpectedTip(row.after.tip));
  EXPECT_EQ(window.picture, row.after.picture);
  EXPECT_EQ(window.calls, row.after.calls);
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

std::string RowName(const ::testing::TestParamInfo<Row>& row) { return row.param.name; }

constexpr auto kIdle = TrayImage::Idle;
constexpr auto kIdleHidden = TrayImage::IdleHidden;
constexpr auto kArmed = TrayImage::Armed;

INSTANTIATE_TEST_SUITE_P(
    BossKey, BossKeysTest,
    ::testing::Values(
        Row{"BothOptionsOffDoNothing", Press::Boss, {}, {}, {}},
        Row{"ExecuteArmsForNow", Press::Boss, {.bossExe = true}, {},
            {.armed = true, .armedByBossKey = true, .image = kArmed, .tip = Tip::ArmedNow}},
        Row{"ExecuteReArmsAnArmedScheduleForNow", Press::Boss, {.bossExe = true}, {.armed = true},
            {.armed = true, .armedByBossKey = true, .image = kArmed, .tip = Tip::ArmedNow}},
        Row{"HideWhileIdleShowsTheHiddenIcon", Press::Boss, {.bossHide = true}, {},
            {.hidden = true, .image = kIdleHidden, .tip = Tip::IdleHidden, .picture = true}},
        Row{"HideWhileArmedKeepsTheArmedIcon", Press::Boss, {.bossHide = true}, {.armed = true},
            {.hidden = true, .armed = true, .picture = true}},
        Row{"ShowWhileIdleRestoresTheIdleIcon", Press::Boss, {.bossHide = true}, {.hidden = true},
            {.image = kIdle, .tip = Tip::Idle, .picture = false}},
        Row{"HideAndExecuteArmsAfterHiding", Press::Boss, {.bossHide = true, .bossExe = true}, {},
            {.hidden = true, .armed = true, .armedByBossKey = true, .image = kArmed, .tip = Tip::ArmedNow,
             .picture = true}},
        Row{"ThePressThatShowsDoesNotExecute", Press::Boss, {.bossHide = true, .bossExe = true}, {.hidden = true},
            {.image = kIdle, .tip = Tip::Idle, .picture = false}},
        Row{"ShowWhileArmedLeavesScheduleAndIcon", Press::Boss, {.bossHide = true, .bossExe = true},
            {.hidden = true, .armed = true}, {.armed = true, .picture = false}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    AltBossKey, BossKeysTest,
    ::testing::Values(
        Row{"HideThenTasksThenSuspend", Press::Alt, {.altHide = true, .altTasks = true, .altAction = "Suspend"}, {},
            {.hidden = true, .image = kIdleHidden, .tip = Tip::IdleHidden, .picture = true,
             .calls = {"messages", "tasks", "suspend 0"}}},
        Row{"ShowsWindowsHiddenByTheBossKeyAndDoesNothingElse", Press::Alt,
            {.altHide = true, .altTasks = true, .altAction = "Suspend"}, {.hidden = true},
            {.image = kIdle, .tip = Tip::Idle, .picture = false}},
        Row{"HideWhileArmedLeavesTheScheduleAlone", Press::Alt, {.altHide = true, .altAction = "Hibernate"},
            {.armed = true}, {.hidden = true, .armed = true, .picture = true, .calls = {"messages", "suspend 1"}}},
        Row{"HourglassAroundTheTasksThenLock", Press::Alt, {.altTasks = true, .altAction = "Lock Computer"}, {},
            {.calls = {"wait on", "tasks", "wait off", "lock"}}},
        Row{"HibernateWithoutTasks", Press::Alt, {.altAction = "Hibernate"}, {},
            {.calls = {"wait on", "wait off", "suspend 1"}}},
        Row{"NeverEndsTheSession", Press::Alt, {.altAction = "Shutdown"}, {}, {.calls = {"wait on", "wait off"}}},
        Row{"NoActionChosen", Press::Alt, {.altTasks = true}, {}, {.calls = {"wait on", "tasks", "wait off"}}}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    ShowHiddenClick, BossKeysTest,
    ::testing::Values(Row{"ShowsAndRestoresTheIdleIcon", Press::Click, {}, {.hidden = true},
                          {.image = kIdle, .tip = Tip::Idle, .picture = false}},
                      Row{"WhileArmedLeavesTheIcon", Press::Click, {}, {.hidden = true, .armed = true},
                          {.armed = true, .picture = false}},
                      Row{"WithNothingHiddenDoesNothing", Press::Click, {}, {}, {}}),
    RowName);

using BossKeysFlowTest = BossKeysFixture;

TEST_F(BossKeysFlowTest, ASecondAlternativePressDuringItsTaskRunIsIgnored) {
  Apply({.altTasks = true, .altAction = "Lock Computer"});
  int nested = 0;
  window.duringTasks = [&] {
    if (nested++ == 0) bossKeys.OnAltBossKey();
  };
  bossKeys.OnAltBossKey();
  EXPECT_EQ(window.calls, (Log{"wait on", "tasks", "wait off", "lock"}));
  window.calls.clear();
  bossKeys.OnAltBossKey();
  EXPECT_EQ(window.calls, (Log{"wait on", "tasks", "wait off", "lock"})) << "the key works again after its run";
}

TEST_F(BossKeysFlowTest, TheShowingPressWorksWhileTheHidingPressStillRunsItsTasks) {
  Apply({.altHide = true, .altTasks = true, .altAction = "Suspend"});
  window.duringTasks = [&] {
    bossKeys.OnAltBossKey();
    EXPECT_FALSE(bossKeys.WindowsHidden()) << "the second press shows the windows at once";
    EXPECT_TRUE(desktop.Get(editor).visible);
  };
  bossKeys.OnAltBossKey();
  EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "tasks"), 1) << "and starts nothing";
}

TEST_F(BossKeysFlowTest, QuittingDuringTheTasksLeavesTheActionUndone) {
  Apply({.altTasks = true, .altAction = "Suspend"});
  window.duringTasks = [&] { window.ending = true; };
  bossKeys.OnAltBossKey();
  EXPECT_EQ(window.calls, (Log{"wait on", "tasks", "wait off"}));
}

TEST_F(BossKeysFlowTest, ClosingShowsHiddenWindowsWithoutTouchingTheTray) {
  Prepare({.hidden = true});
  bossKeys.ShowHiddenWindows();
  EXPECT_FALSE(bossKeys.WindowsHidden());
  EXPECT_TRUE(desktop.Get(editor).visible);
  EXPECT_FALSE(window.image || window.tip || window.picture);
}

}  // namespace
}  // namespace kelvane
