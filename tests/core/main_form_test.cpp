#include "core/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "fakes/fake_condition_sampler.h"
#include "fakes/fake_time.h"
#include "fakes/memory_settings_store.h"
#include "fakes/recording_power_api.h"
#include "fakes/recording_tray.h"
#include "core/main_form_fakes.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeClock;
using testing::FakeZone;
using testing::MemorySettingsStore;
using testing::RecordingPowerApi;
using testing::RecordingTray;
using testing::FakeParts;
using testing::FakeView;
using testing::Utc;
using Log = std::vector<std::string>;

class MainFormTest : public ::testing::Test {
 protected:
  Log log;
  MemorySettingsStore store;
  RecordingPowerApi power{&log};
  FakeClock clock{Utc(2026, 12, 6, 14)};
  FakeZone zone;
  RecordingTray tray{log};
  FakeParts parts{log};
  WindowHider hider{parts};
  FakeView view{log};
  testing::FakeConditionSampler sampler;
  MainForm form{view, view, MainServices{store, power, clock, zone, tray, parts, parts, parts, hider, parts,
                                   "C:\\Program Files\\Kelvane\\kelvane.exe", "C:\\Users\\me\\AppData\\Roaming",
                                   &sampler}};

  bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
  std::ptrdiff_t Position(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) - log.begin();
  }
  void ArmSeconds(int seconds) {
    form.OnUnitSelected(2);
    form.OnFieldTextChanged(ScheduleField::Period, std::to_string(seconds));
    form.OnToggleClicked();
  }
  void RunToTarget() {
    clock.Set(form.GetSchedule().Target());
    form.OnTimerTick();
  }
  static MemorySettingsStore Config(std::initializer_list<std::pair<const char*, std::string>> values) {
    MemorySettingsStore settings;
    for (const auto& [key, value] : values) settings.Set("CONFIG", key, value);
    return settings;
  }
};

TEST_F(MainFormTest, FirstStartRegistersAutostartAndGreetsFromTheTray) {
  form.Start();
  EXPECT_EQ(store.Get("CONFIG", "StartUp"), "1");
  EXPECT_TRUE(Logged("run set kelvane.Exe=\"C:\\Program Files\\Kelvane\\kelvane.Exe\""));
  EXPECT_TRUE(Logged("mkdir C:\\Users\\me\\AppData\\Roaming\\Kelvane"));
  EXPECT_EQ(form.DataFolder(), "C:\\Users\\me\\AppData\\Roaming\\Kelvane");
  EXPECT_EQ(tray.tip, "Kelvane: No Action");
  EXPECT_EQ(tray.image, TrayImage::Idle);
  EXPECT_LT(Position("tray show"), Position("balloon icon 4"));
  EXPECT_TRUE(Logged("balloon title Kelvane"));
  EXPECT_EQ(tray.balloons, Log{"No Action"});
  EXPECT_EQ(view.shown.ActionItems().size(), 6u) << "Wine's NT 6.1 offers Lock Computer";
}

TEST_F(MainFormTest, OlderSystemsDoNotOfferLocking) {
  power.version = {2, 4, 0, 1381};
  form.Start();
  EXPECT_EQ(view.shown.ActionItems().size(), 5u);
}

TEST_F(MainFormTest, StartUpOffRemovesTheRunValue) {
  store = Config({{"StartUp", "0"}, {"TrayTips", "False"}});
  form.Start();
  EXPECT_TRUE(Logged("run delete kelvane.Exe"));
  EXPECT_TRUE(tray.balloons.empty());
}

TEST_F(MainFormTest, EnabledStartRaisesShortSecondCountdowns) {
  const struct {
    const char* unit;
    const char* period;
    const char* expected;
    std::chrono::seconds length;
  } cases[] = {{"2", "10", "30", 30s}, {"1", "10", "10", 600s}, {"2", "45", "45", 45s}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.unit) + "/" + c.period);
    MemorySettingsStore s = Config({{"EnabledStart", "True"}, {"tUnit", c.unit}, {"tPeriod", c.period}});
    Log l;
    RecordingTray t{l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, power, clock, zone, t, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    EXPECT_EQ(v.shown.period.text(), c.expected);
    ASSERT_TRUE(f.GetSchedule().Armed());
    EXPECT_EQ(f.GetSchedule().Target() - clock.Now(), c.length);
    EXPECT_EQ(t.balloons.back(), "Kelvane will perform Shutdown On " + FormatGeneralDate(zone, clock.Now() + c.length));
  }
}

TEST_F(MainFormTest, NumbersReadAsTypedAndTakeTheirRangeWhenTheBoxIsLeft) {
  form.Start();
  const struct {
    ScheduleField field;
    std::vector<const char*> keystrokes;
    const char* typed;  // shown while the box has the focus
    const char* left;   // shown once the focus has gone
  } cases[] = {
      {ScheduleField::Period, {"", "3", "30"}, "30", "30"},
      {ScheduleField::Blink, {"3", "", "3", "30"}, "30", "30"},
      {ScheduleField::Minute, {"", "3", "35"}, "35", "35"},
      {ScheduleField::Minute, {"", "3"}, "3", "03"},
      {ScheduleField::Minute, {""}, "", "00"},
      {ScheduleField::Period, {""}, "", "1"},
      {ScheduleField::Hour, {"", "4", "40"}, "40", "12"},
  };
  const auto shown = [&](ScheduleField field) {
    switch (field) {
      case ScheduleField::Period: return view.shown.period.text();
      case ScheduleField::Hour: return view.shown.hour.text();
      case ScheduleField::Minute: return view.shown.minute.text();
      case ScheduleField::ConditionMinutes: return view.shown.conditionMinutes.text();
      case ScheduleField::Blink: break;
    }
    return view.shown.blinkSeconds.text();
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " -> " + c.left);
    for (const char* text : c.keystrokes) form.OnFieldTextChanged(c.field, text);
    EXPECT_EQ(shown(c.field), c.typed);
    form.OnFieldLeft(c.field);
    EXPECT_EQ(shown(c.field), c.left);
  }
}

TEST_F(MainFormTest, SpinsAndStepKeysGoUpWithTheUpArrowAndStopAtTheLimits) {
  form.Start();
  form.OnFieldStep(ScheduleField::Period, 1);
  EXPECT_EQ(view.shown.period.text(), "2");
  form.OnFieldKey(ScheduleField::Period, StepKey::PageUp);
  EXPECT_EQ(view.shown.period.text(), "12");
  form.OnFieldKey(ScheduleField::Period, StepKey::PageDown);
  form.OnFieldKey(ScheduleField::Period, StepKey::PageDown);
  EXPECT_EQ(view.shown.period.text(), "1");
  form.OnFieldTextChanged(ScheduleField::Period, "995");
  form.OnFieldKey(ScheduleField::Period, StepKey::PageUp);
  EXPECT_EQ(view.shown.period.text(), "999");
  form.OnFieldStep(ScheduleField::Minute, -1);
  EXPECT_EQ(view.shown.minute.text(), "00");
  form.OnFieldTextChanged(ScheduleField::Minute, "5");
  form.OnFieldKey(ScheduleField::Minute, StepKey::Up);
  EXPECT_EQ(view.shown.minute.text(), "06") << "a step finishes the edit first";
  form.OnFieldTextChanged(ScheduleField::Hour, "");
  form.OnFieldKey(ScheduleField::Hour, StepKey::Down);
  EXPECT_EQ(view.shown.hour.text(), "1");
}

TEST_F(MainFormTest, ArmingFinishesEveryEditSoTheWindowShowsWhatIsArmed) {
  form.Start();
  form.OnModeSelected(false);
  form.OnFieldTextChanged(ScheduleField::Hour, "");
  form.OnFieldTextChanged(ScheduleField::Minute, "7");
  form.OnFieldTextChanged(ScheduleField::Blink, "");
  form.OnToggleClicked();
  ASSERT_TRUE(form.GetSchedule().Armed());
  EXPECT_EQ(view.shown.hour.text(), "1");
  EXPECT_EQ(view.shown.minute.text(), "07");
  EXPECT_EQ(view.shown.blinkSeconds.text(), "1");
  EXPECT_EQ(form.GetSchedule().Target(), Utc(2026, 12, 7, 1, 7));
  EXPECT_EQ(form.GetSchedule().BlinkSeconds(), 1);
}

TEST_F(MainFormTest, ArmingSavesTheArmedValuesOrSaysTheyWereNotSaved) {
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only store" : "writable store");
    MemorySettingsStore settings = Config({{"tPeriod", "5"}});
    FakeParts others{log};
    MainForm armed{view, view, MainServices{settings, power, clock, zone, tray, others, others, others, hider, others,
                                      "C:\\kelvane.exe", "C:\\Users\\me\\AppData\\Roaming"}};
    armed.Start();
    settings.readOnly = readOnly;
    armed.OnUnitSelected(2);
    armed.OnFieldTextChanged(ScheduleField::Period, "42");
    armed.OnToggleClicked();
    EXPECT_TRUE(armed.GetSchedule().Armed()) << "a refused write does not stop the arming";
    EXPECT_EQ(settings.Get("CONFIG", "tPeriod"), readOnly ? "5" : "42");
    const bool noted = std::count(others.notes.begin(), others.notes.end(), std::string(kSettingsNotSavedNote)) > 0;
    EXPECT_EQ(noted, readOnly);
    armed.OnToggleClicked();
    armed.OnUnload();
  }
}

TEST_F(MainFormTest, WhileArmedTheScheduleInputsAreLockedAndKeepTheArmedValues) {
  form.Start();
  const ControlEnabling idle = view.enabling;
  EXPECT_TRUE(idle.choices && idle.period && idle.blink && !idle.clock);
  ArmSeconds(40);
  const ControlEnabling armed = view.enabling;
  EXPECT_FALSE(armed.choices || armed.period || armed.clock || armed.blink);

  // Whatever reaches the form from a locked control is undone on the screen.
  form.OnActionSelected(3);
  form.OnModeSelected(false);
  form.OnCheckChanged(ScheduleCheck::Prompt, false);
  form.OnFieldTextChanged(ScheduleField::Period, "5");
  form.OnFieldStep(ScheduleField::Blink, 1);
  EXPECT_EQ(ActionName(view.shown.action), "Shutdown");
  EXPECT_TRUE(view.shown.countdownMode);
  EXPECT_TRUE(view.shown.prompt);
  EXPECT_EQ(view.shown.period.text(), "40");
  EXPECT_EQ(view.shown.blinkSeconds.text(), "30");

  form.OnToggleClicked();
  EXPECT_TRUE(view.enabling.choices && view.enabling.period && view.enabling.blink && !view.enabling.clock);
  form.OnActionSelected(3);
  EXPECT_EQ(ActionName(view.shown.action), "Suspend");

  form.OnBossKeyPressed();  // arms for now
  ASSERT_TRUE(form.GetSchedule().Armed());
  EXPECT_FALSE(view.enabling.choices);
  clock.Advance(1s);
  view.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Abort, 0}; };
  form.OnTimerTick();
  EXPECT_TRUE(view.enabling.choices) << "unlocked when the prompt's Abort disarms";
}

TEST_F(MainFormTest, WhileThePromptWaitsTheStatusSaysSoInsteadOfCountingBelowZero) {
  form.Start();
  Log seen;
  view.prompt = [&](const std::string&) {
    seen.push_back(view.status);
    for (int tick = 0; tick < 4; ++tick) {
      clock.Advance(500ms);
      form.OnTimerTick();
      seen.push_back(view.status);
    }
    return PromptAnswer{PromptResult::Snooze, 2};
  };
  ArmSeconds(10);
  RunToTarget();
  EXPECT_EQ(seen, Log(5, kWaitingStatus));
  EXPECT_EQ(view.status, "120 Seconds to Execution") << "counting again at once after the snooze";
}

TEST_F(MainFormTest, AfterASnoozeTheTrayNamesTheNewTarget) {
  for (const bool tips : {true, false}) {
    SCOPED_TRACE(tips ? "balloons on" : "balloons off");
    MemorySettingsStore s = Config({{"TrayTips", tips ? "True" : "False"}, {"BlinkSeconds", "5"}});
    Log l;
    RecordingTray t{l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, power, clock, zone, t, parts, parts, parts, hider, parts, "k.exe", "A"}};
    v.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Snooze, 7}; };
    f.Start();
    f.OnUnitSelected(2);
    f.OnFieldTextChanged(ScheduleField::Period, "3");
    f.OnToggleClicked();
    // Two blinking ticks, the second at the target: the icon was last shown idle.
    clock.Advance(2s);
    f.OnTimerTick();
    clock.Advance(1s);
    f.OnTimerTick();
    ASSERT_TRUE(f.GetSchedule().Armed());
    const std::string newTarget = FormatGeneralDate(zone, clock.Now() + 7min);
    EXPECT_EQ(t.tip, "Kelvane: Shutdown On " + newTarget);
    EXPECT_EQ(t.image, TrayImage::Armed) << "armed for seven more minutes, whatever the blink showed last";
    if (tips) {
      ASSERT_GE(t.balloons.size(), 2u);
      EXPECT_EQ(t.balloons[t.balloons.size() - 2], "Kelvane will perform Shutdown in 0 seconds");
      EXPECT_EQ(t.balloons.back(), "Shutdown snoozed until " + newTarget);
    } else {
      EXPECT_TRUE(t.balloons.empty());
    }
  }
}

TEST_F(MainFormTest, ExecutingEachActionMakesItsPowerCall) {
  const struct {
    int action;
    bool force;
    Log calls;
    bool unloads;
  } cases[] = {
      {0, true, {"privilege on", "exit 12", "privilege off"}, true},
      {1, true, {"privilege on", "exit 6", "privilege off"}, true},
      {2, true, {"privilege on", "exit 4", "privilege off"}, false},
      {3, true, {"privilege on", "suspend 010", "privilege off"}, false},
      {4, false, {"privilege on", "suspend 100", "privilege off"}, false},
      {5, true, {"lock"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    log.clear();
    MemorySettingsStore s = Config({{"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"},
                                    {"Action", std::to_string(c.action)}, {"Force", c.force ? "True" : "False"},
                                    {"Prompt", "False"}});
    FakeView v{log};
    MainForm f{v, v, MainServices{s, power, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    f.OnBossKeyPressed();  // hides the desktop's window
    ASSERT_TRUE(f.WindowsHidden());
    log.clear();
    f.OnUnitSelected(2);
    f.OnFieldTextChanged(ScheduleField::Period, "3");
    f.OnToggleClicked();
    clock.Advance(3s);
    f.OnTimerTick();
    Log powerCalls;
    std::copy_if(log.begin(), log.end(), std::back_inserter(powerCalls), [](const std::string& line) {
      return line.rfind("privilege", 0) == 0 || line.rfind("exit", 0) == 0 || line.rfind("suspend", 0) == 0 ||
             line == "lock";
    });
    EXPECT_EQ(powerCalls, c.calls);
    EXPECT_FALSE(f.GetSchedule().Armed());
    EXPECT_EQ(f.ShuttingDown(), c.unloads);
    EXPECT_EQ(std::count(log.begin(), log.end(), "unload"), c.unloads ? 1 : 0);
    // Shutting the computer down leaves hidden windows hidden.
    EXPECT_EQ(std::count(log.begin(), log.end(), "show 7 3"), 0);
  }
}

TEST_F(MainFormTest, PromptAppearsUnlessTheBossKeyArmedWithIgnorePrompt) {
  const struct {
    bool bossKey;
    bool ignore;
    bool prompted;
  } cases[] = {{false, true, true}, {true, false, true}, {true, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bossKey) + std::to_string(c.ignore));
    MemorySettingsStore s = Config({{"Action", "3"}, {"BossKeyIgnorePrompt", c.ignore ? "True" : "False"}});
    FakeView v{log};
    MainForm f{v, v, MainServices{s, power, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    if (c.bossKey) {
      f.GetSchedule().ToggleSchedule(ToggleTrigger::BossKeyNow);
    } else {
      f.OnToggleClicked();
    }
    clock.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    EXPECT_EQ(v.prompts, c.prompted ? 1 : 0);
    EXPECT_FALSE(f.GetSchedule().Armed());
    EXPECT_EQ(f.GetSchedule().TimerTag(), "");
  }
}

TEST_F(MainFormTest, SnoozeKeepsCountingAndPromptsAgain) {
  form.Start();
  view.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Snooze, 5}; };
  ArmSeconds(10);
  RunToTarget();
  EXPECT_TRUE(form.GetSchedule().Armed());
  form.OnTimerTick();
  EXPECT_EQ(view.status, "300 Seconds to Execution");
  RunToTarget();
  EXPECT_EQ(view.prompts, 2);
  EXPECT_FALSE(Logged("exit 12"));
}

TEST_F(MainFormTest, AbortDisarmsWithTheNoActionBalloon) {
  form.Start();
  view.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Abort, 0}; };
  ArmSeconds(10);
  tray.balloons.clear();
  RunToTarget();
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_EQ(tray.balloons.back(), "No Action") << "disarmed as by the user, not by the execution";
  EXPECT_FALSE(Logged("exit 12"));
}

TEST_F(MainFormTest, DisarmingFromTheTrayWhileThePromptIsOpenCancelsTheFiring) {
  form.Start();
  for (const PromptResult result : {PromptResult::Execute, PromptResult::Abort, PromptResult::Snooze}) {
    SCOPED_TRACE(static_cast<int>(result));
    view.prompt = [&](const std::string&) {
      form.OnTrayCommand(TrayMenuCommand::Enabled);
      return PromptAnswer{result, 5};
    };
    ArmSeconds(10);
    RunToTarget();
    EXPECT_FALSE(form.GetSchedule().Armed());
    EXPECT_FALSE(view.menuCheck);
    EXPECT_FALSE(Logged("exit 12"));
  }
}

TEST_F(MainFormTest, ArmingAnewWhileThePromptIsOpenLeavesTheOldPromptNothingToPerform) {
  store = Config({{"Action", "3"}});
  form.Start();
  view.prompt = [&](const std::string&) {
    // The user leaves the prompt alone and starts the countdown over from
    // the tray: "Enabled" off, and on again.
    form.OnTrayCommand(TrayMenuCommand::Enabled);
    form.OnTrayCommand(TrayMenuCommand::Enabled);
    // Nobody answers: the prompt's time runs out and it answers Execute.
    return PromptAnswer{PromptResult::Execute, 0};
  };
  ArmSeconds(600);
  RunToTarget();
  EXPECT_FALSE(Logged("suspend 010")) << "the new countdown has ten minutes to go";
  EXPECT_TRUE(form.GetSchedule().Armed());
  EXPECT_EQ(form.GetSchedule().TimeLeft(), 600s);
}

TEST_F(MainFormTest, QuittingWhileThePromptIsOpenPerformsNothing) {
  form.Start();
  view.prompt = [&](const std::string&) {
    form.DoAction(CaptionButton::Close);
    return PromptAnswer{PromptResult::Execute, 0};
  };
  ArmSeconds(10);
  RunToTarget();
  EXPECT_TRUE(Logged("end process"));
  EXPECT_FALSE(Logged("exit 12"));
}

TEST_F(MainFormTest, APromptThatCannotBeShownPerformsNothingAndSaysSo) {
  form.Start();
  view.prompt = [](const std::string&) { return std::nullopt; };
  ArmSeconds(10);
  RunToTarget();
  EXPECT_EQ(view.prompts, 1);
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_FALSE(view.menuCheck);
  EXPECT_EQ(view.status, kPromptFailedStatus);
  EXPECT_FALSE(Logged("exit 12"));
  EXPECT_FALSE(Logged("privilege on"));
}

TEST_F(MainFormTest, OnlyTheBossKeysRegistrationFailuresAreShown) {
  form.Start();
  log.clear();
  form.OnHotKeyError(BossKey::Alternative, "Hot key is already registered.");
  EXPECT_TRUE(log.empty());
  form.OnHotKeyError(BossKey::Boss, "Hot key is already registered.");
  EXPECT_EQ(log, Log{"message Hot key is already registered."});
}

TEST_F(MainFormTest, TasksRunBeforeTheActionWithTheOptionalLock) {
  const struct {
    bool lockDuringRun;
    Log expected;
  } cases[] = {{true, {"lock", "run tasks 1"}}, {false, {"run tasks 1", "lock"}}};
  for (const auto& c : cases) {
    MemorySettingsStore s = Config({{"Action", "5"}, {"Prompt", "False"}, {"DoTaskRun", "True"},
                                    {"LockDuringTaskRun", c.lockDuringRun ? "True" : "False"}});
    s.Set("TASK", "TaskCount", "1");
    FakeView v{log};
    MainForm f{v, v, MainServices{s, power, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    f.OnToggleClicked();
    log.clear();
    clock.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    Log relevant;
    std::copy_if(log.begin(), log.end(), std::back_inserter(relevant),
                 [](const std::string& l) { return l == "lock" || l.rfind("run tasks", 0) == 0; });
    EXPECT_EQ(relevant, c.expected);
  }
}

TEST_F(MainFormTest, QuittingWhileTheTasksRunStopsTheFiring) {
  for (const bool altKey : {false, true}) {
    SCOPED_TRACE(altKey ? "alternative boss key" : "countdown");
    MemorySettingsStore s = Config({{"Action", "3"}, {"Prompt", "False"}, {"DoTaskRun", "True"},
                                    {"LockDuringTaskRun", "False"}, {"Boss2KeyHideWindows", "False"},
                                    {"Boss2KeyRunTasks", "True"}, {"Boss2KeyAction", "Suspend"}});
    s.Set("TASK", "TaskCount", "3");
    Log l;
    RecordingPowerApi p{&l};
    FakeParts tasks{l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, p, clock, zone, tray, tasks, tasks, tasks, hider, tasks, "k.exe", "A"}};
    tasks.duringTask = [&](int n) {
      if (n == 1) f.DoAction(CaptionButton::Close);
    };
    f.Start();
    if (altKey) {
      f.OnAltBossKeyPressed();
    } else {
      f.OnToggleClicked();
      clock.Set(f.GetSchedule().Target());
      f.OnTimerTick();
    }
    EXPECT_TRUE(std::count(l.begin(), l.end(), "end process"));
    EXPECT_EQ(std::count(l.begin(), l.end(), "task 2"), 0) << "no task starts after the quit";
    EXPECT_EQ(std::count(l.begin(), l.end(), "suspend 010"), 0);
    EXPECT_EQ(std::count(l.begin(), l.end(), "privilege on"), 0);
  }
}

TEST_F(MainFormTest, ATickQueuedBeforeTheQuitWasConfirmedDoesNothing) {
  store = Config({{"Action", "3"}, {"Prompt", "False"}});
  form.Start();
  ArmSeconds(5);
  form.DoAction(CaptionButton::Close);
  RunToTarget();
  EXPECT_FALSE(Logged("suspend 010"));
}

TEST_F(MainFormTest, TheEndOfTheSessionDisarmsShowsHiddenWindowsAndEnds) {
  store = Config({{"Action", "3"}, {"Prompt", "False"}, {"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"}});
  form.Start();
  form.OnBossKeyPressed();
  ArmSeconds(9);
  form.OnEndSession();
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_FALSE(form.WindowsHidden());
  EXPECT_TRUE(Logged("show 7 3"));
  EXPECT_TRUE(Logged("unload"));
  EXPECT_TRUE(Logged("end process"));
  RunToTarget();
  EXPECT_FALSE(Logged("suspend 010")) << "the timer of a program that has ended never fires";
}

TEST_F(MainFormTest, AnInstallersCloseRequestBringsHiddenWindowsBackBeforeItsAnswer) {
  store = Config({{"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"}});
  form.Start();
  form.OnBossKeyPressed();
  form.OnQueryEndSession(false);
  EXPECT_TRUE(form.WindowsHidden()) << "a sign-out may still be cancelled";
  EXPECT_FALSE(Logged("show 7 3"));
  form.OnQueryEndSession(true);
  EXPECT_FALSE(form.WindowsHidden());
  EXPECT_TRUE(Logged("show 7 3"));
  EXPECT_FALSE(Logged("unload")) << "the session end that follows closes the program";
}

TEST_F(MainFormTest, ARefusedPowerCallGivesTheDesktopBackAndSaysSo) {
  const struct {
    int action;
    const char* text;
  } cases[] = {{0, "Shutdown failed"}, {3, "Suspend failed"}, {5, "Lock Computer failed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    MemorySettingsStore s = Config({{"Action", std::to_string(c.action)}, {"Prompt", "False"},
                                    {"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"}});
    Log l;
    RecordingPowerApi p{&l};
    p.succeed = false;
    RecordingTray t{l};
    FakeParts desk{l};
    WindowHider h{desk};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, p, clock, zone, t, desk, desk, desk, h, desk, "k.exe", "A"}};
    f.Start();
    f.OnBossKeyPressed();
    ASSERT_TRUE(f.WindowsHidden());
    f.OnToggleClicked();
    clock.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    EXPECT_FALSE(f.WindowsHidden());
    EXPECT_EQ(std::count(l.begin(), l.end(), "show 7 3"), 1);
    EXPECT_FALSE(f.GetSchedule().Armed());
    EXPECT_EQ(std::count(l.begin(), l.end(), "unload"), 0) << "the program stays";
    EXPECT_EQ(v.status, c.text);
    EXPECT_EQ(t.balloons.back(), c.text);
    EXPECT_EQ(desk.notes.back(), c.text);
  }
}

// A Shutdown, Restart or Log Off that is not forced, fired by a three-second
// countdown without a prompt, after the boss key has hidden the desktop's
// window; the session never ends unless the test says so.
class UnforcedSessionEnd {
 public:
  UnforcedSessionEnd(PowerAction action, FakeClock& clock, bool tips = true)
      : clock_(clock),
        store_(Settings(action, tips)),
        form(view, view,
             MainServices{store_, power, clock, zone_, tray, desk, desk, desk, hider, desk, "k.exe", "A"}) {}
  void Fire() {
    form.Start();
    form.OnBossKeyPressed();
    form.OnUnitSelected(2);
    form.OnFieldTextChanged(ScheduleField::Period, "3");
    form.OnToggleClicked();
    Wait(3s);
  }
  void Wait(std::chrono::milliseconds time) {
    clock_.Advance(time);
    form.OnTimerTick();
  }
  Log PowerCalls() const {
    Log calls;
    std::copy_if(log.begin(), log.end(), std::back_inserter(calls),
                 [](const std::string& line) { return line.rfind("exit", 0) == 0; });
    return calls;
  }
  long Count(const std::string& line) const { return std::count(log.begin(), log.end(), line); }
  std::ptrdiff_t Position(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) - log.begin();
  }

  Log log;
  RecordingPowerApi power{&log};
  RecordingTray tray{log};
  FakeParts desk{log};
  WindowHider hider{desk};
  FakeView view{log};

 private:
  static MemorySettingsStore Settings(PowerAction action, bool tips) {
    MemorySettingsStore s;
    for (const auto& [key, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"Action", std::to_string(static_cast<int>(action))}, {"Force", "False"}, {"Prompt", "False"},
             {"TrayTips", tips ? "True" : "False"}, {"PromptTimeout", "45"}, {"DoTaskRun", "True"},
             {"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"}}) {
      s.Set("CONFIG", key, value);
    }
    s.Set("TASK", "TaskCount", "1");
    return s;
  }
  FakeClock& clock_;
  FakeZone zone_;
  MemorySettingsStore store_;

 public:
  MainForm form;
};

TEST_F(MainFormTest, ASessionEndThatDoesNotCompleteIsReportedAndAskedForAgainForced) {
  const struct {
    PowerAction action;
    bool tips;
    const char* request;
    const char* forced;
    const char* waiting;
    const char* report;
    bool unloads;
  } cases[] = {
      {PowerAction::Shutdown, true, "exit 8", "exit 12", "Waiting for Windows to shut down",
       "Shutdown did not complete", true},
      {PowerAction::Restart, false, "exit 2", "exit 6", "Waiting for Windows to restart", "Restart did not complete",
       true},
      {PowerAction::LogOff, true, "exit 0", "exit 4", "Waiting for Windows to log off", "Log Off did not complete",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    UnforcedSessionEnd run(c.action, clock, c.tips);
    run.Fire();
    EXPECT_EQ(run.PowerCalls(), Log{c.request});
    EXPECT_EQ(run.Count("unload"), 0) << "the program stays to see whether the session ends";
    EXPECT_TRUE(run.form.WindowsHidden()) << "as for a shutdown, hidden windows stay hidden";
    EXPECT_EQ(run.view.status, c.waiting);
    EXPECT_EQ(run.tray.tip, std::string("Kelvane: ") + c.waiting);
    EXPECT_TRUE(run.view.menuCheck);
    EXPECT_FALSE(run.view.enabling.choices) << "the window shows what is under way";
    EXPECT_EQ(run.form.StatusText(), std::string("Armed: ") + std::string(ActionName(c.action)) + ", " + c.waiting);

    run.Wait(30s);
    EXPECT_EQ(run.view.status, c.waiting);
    EXPECT_EQ(run.view.prompts, 0);
    EXPECT_TRUE(run.desk.notes.empty());

    run.Wait(30s);
    EXPECT_EQ(run.desk.notes, Log{c.report});
    EXPECT_EQ(std::count(run.tray.balloons.begin(), run.tray.balloons.end(), c.report), c.tips ? 1 : 0);
    EXPECT_EQ(run.view.prompts, 1);
    EXPECT_EQ(run.view.promptTimeout, 45) << "an unanswered prompt executes after its time-out";
    const std::string prompt = "prompt " + std::string(ActionName(c.action));
    EXPECT_LT(run.Position("show 7 3"), run.Position(prompt)) << "the refusing program may be a hidden one";
    EXPECT_EQ(run.PowerCalls(), (Log{c.request, c.forced}));
    EXPECT_EQ(run.Count("run tasks 1"), 1) << "the tasks ran before the first request";
    EXPECT_EQ(run.Count("unload"), c.unloads ? 1 : 0);
    EXPECT_FALSE(run.form.GetSchedule().Armed());
  }
}

TEST_F(MainFormTest, TheSessionIsGivenSixtySecondsOnTheElapsedClock) {
  const struct {
    std::chrono::milliseconds waited;
    bool reported;
  } cases[] = {{59s, false}, {60s - 1ms, false}, {60s, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.waited.count());
    UnforcedSessionEnd run(PowerAction::Shutdown, clock);
    run.view.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Abort, 0}; };
    run.Fire();
    // Setting the wall clock neither shortens nor lengthens the wait.
    clock.JumpWall(2h);
    run.form.OnClockChanged();
    run.Wait(c.waited);
    EXPECT_EQ(run.view.prompts, c.reported ? 1 : 0);
    EXPECT_EQ(run.desk.notes.size(), c.reported ? 1u : 0u);
  }
  // The last moments are met by the deadline timer rather than the next tick.
  UnforcedSessionEnd run(PowerAction::Shutdown, clock);
  run.Fire();
  run.Wait(60s - 1ms);
  ASSERT_FALSE(run.view.deadlineTimers.empty());
  EXPECT_EQ(run.view.deadlineTimers.back(), 1ms);
  clock.Advance(1ms);
  run.form.OnDeadlineTimer();
  EXPECT_EQ(run.desk.notes, Log{"Shutdown did not complete"});
  EXPECT_EQ(run.PowerCalls(), (Log{"exit 8", "exit 12"}));
}

TEST_F(MainFormTest, TheSessionEndingWhileWaitedForEndsTheProgramAsItDidBefore) {
  const struct {
    PowerAction action;
    bool windowsShown;
  } cases[] = {{PowerAction::Shutdown, false}, {PowerAction::Restart, false}, {PowerAction::LogOff, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    UnforcedSessionEnd run(c.action, clock);
    run.Fire();
    run.Wait(59s);
    run.form.OnEndSession();
    EXPECT_EQ(run.Count("unload"), 1);
    EXPECT_EQ(run.Count("end process"), 1);
    EXPECT_EQ(run.Count("show 7 3"), c.windowsShown ? 1 : 0);
    // A tick already queued when the session ended.
    run.Wait(5s);
    EXPECT_TRUE(run.desk.notes.empty());
    EXPECT_EQ(run.view.prompts, 0);
    EXPECT_EQ(run.PowerCalls().size(), 1u);
  }
}

TEST_F(MainFormTest, AbortSnoozeAndAPromptNotShownActOnTheRetryAsOnAnyPrompt) {
  const struct {
    const char* name;
    std::optional<PromptAnswer> answer;
    bool armed;
    const char* status;
  } cases[] = {
      {"abort", PromptAnswer{PromptResult::Abort, 0}, false, "Disabled"},
      {"snooze", PromptAnswer{PromptResult::Snooze, 5}, true, "300 Seconds to Execution"},
      {"not shown", std::nullopt, false, kPromptFailedStatus},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnforcedSessionEnd run(PowerAction::Shutdown, clock);
    run.view.prompt = [&](const std::string&) {
      return run.view.prompts == 1 ? c.answer : PromptAnswer{PromptResult::Execute, 0};
    };
    run.Fire();
    run.Wait(60s);
    EXPECT_EQ(run.form.GetSchedule().Armed(), c.armed);
    EXPECT_EQ(run.view.status, c.status);
    EXPECT_EQ(run.PowerCalls(), Log{"exit 8"});
    EXPECT_EQ(run.Count("unload"), 0);
    if (!c.armed) {
      EXPECT_FALSE(run.view.menuCheck);
      run.Wait(10min);
      EXPECT_EQ(run.view.prompts, 1);
      continue;
    }
    EXPECT_EQ(run.tray.tip, "Kelvane: Shutdown On " + FormatGeneralDate(zone, clock.Now() + 5min));
    EXPECT_EQ(run.tray.balloons.back(), "Shutdown snoozed until " + FormatGeneralDate(zone, clock.Now() + 5min));
    run.Wait(5min);
    EXPECT_EQ(run.view.prompts, 2) << "the snoozed retry asks again";
    EXPECT_EQ(run.desk.notes.size(), 1u) << "the refusal was reported once";
    EXPECT_EQ(run.PowerCalls(), (Log{"exit 8", "exit 12"}));
    EXPECT_EQ(run.Count("run tasks 1"), 1);
  }
}

TEST_F(MainFormTest, DisarmingQuittingOrArmingAnewWhileWaitedForCancelsTheRetry) {
  const struct {
    const char* name;
    std::function<void(MainForm&)> act;
    bool ended;
  } cases[] = {
      {"Disable", [](MainForm& f) { f.OnToggleClicked(); }, false},
      {"tray", [](MainForm& f) { f.OnTrayCommand(TrayMenuCommand::Enabled); }, false},
      {"/disable", [](MainForm& f) { f.ApplyCommand(*ParseCommandLine({"/disable"})); }, false},
      {"/suspend", [](MainForm& f) { f.ApplyCommand(*ParseCommandLine({"/suspend", "/in", "5m"})); }, false},
      {"quit", [](MainForm& f) { f.DoAction(CaptionButton::Close); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnforcedSessionEnd run(PowerAction::Shutdown, clock);
    run.Fire();
    run.Wait(20s);
    c.act(run.form);
    EXPECT_EQ(run.Count("end process"), c.ended ? 1 : 0);
    run.Wait(50s);
    EXPECT_EQ(run.view.prompts, 0);
    EXPECT_TRUE(run.desk.notes.empty());
    EXPECT_EQ(run.PowerCalls(), Log{"exit 8"});
    if (!c.ended) {
      EXPECT_EQ(run.view.status.find("Waiting for Windows"), std::string::npos) << run.view.status;
    }
  }
}

TEST_F(MainFormTest, AnAbortedBossKeyArmingDoesNotSkipTheNextPrompt) {
  store = Config({{"Action", "3"}, {"BossKeyIgnorePrompt", "True"}, {"BossKeyDoExeAction", "True"}});
  form.Start();
  view.prompt = [&](const std::string&) {
    if (view.prompts == 1) form.OnBossKeyPressed();  // arms with the boss key's tag while the prompt is open
    return PromptAnswer{PromptResult::Abort, 0};
  };
  ArmSeconds(10);
  RunToTarget();
  ASSERT_FALSE(form.GetSchedule().Armed());
  ArmSeconds(10);
  RunToTarget();
  EXPECT_EQ(view.prompts, 2) << "the user armed by hand and asked for the prompt";
  EXPECT_FALSE(Logged("suspend 010"));
}

TEST_F(MainFormTest, EnterPressesTheDefaultButton) {
  form.Start();
  form.OnEnterKey();
  EXPECT_TRUE(form.GetSchedule().Armed());
  form.OnEnterKey();
  EXPECT_FALSE(form.GetSchedule().Armed());
}

TEST_F(MainFormTest, TheComputerIsKeptAwakeExactlyWhileArmed) {
  const struct {
    const char* keepAwake;
    bool whileArmed;
  } cases[] = {{"True", true}, {nullptr, true}, {"False", false}, {"junk", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keepAwake ? c.keepAwake : "(absent)");
    MemorySettingsStore s = Config({{"Action", "3"}, {"Prompt", "False"}});
    if (c.keepAwake) s.Set("CONFIG", "KeepAwake", c.keepAwake);
    Log l;
    RecordingPowerApi p{&l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, p, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    EXPECT_FALSE(p.awake);
    f.OnToggleClicked();
    EXPECT_EQ(p.awake, c.whileArmed);
    f.OnToggleClicked();
    EXPECT_FALSE(p.awake) << "released on disarming";
    f.OnToggleClicked();
    clock.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    EXPECT_FALSE(p.awake) << "released when the action is performed";
    f.OnToggleClicked();
    f.DoAction(CaptionButton::Close);
    EXPECT_FALSE(p.awake) << "released on quitting";
  }
}

// The options dialog can be opened while armed; "Keep the computer awake
// until the action" switched there holds for the countdown under way, as
// the box's caption says, not only from the next arming on.
TEST_F(MainFormTest, KeepAwakeSwitchedInTheOptionsWhileArmedHoldsForTheCountdownUnderWay) {
  class SwitchingView : public FakeView {
   public:
    using FakeView::FakeView;
    bool keepAwake = false;
    void RunOptionsDialog(const OptionsSettings& settings) override { settings.options.keepAwake = keepAwake; }
  };
  for (const bool switchedOn : {true, false}) {
    SCOPED_TRACE(switchedOn ? "switched on" : "switched off");
    MemorySettingsStore s = Config({{"Action", "3"}, {"Prompt", "False"}, {"KeepAwake", switchedOn ? "False" : "True"}});
    Log l;
    RecordingPowerApi p{&l};
    SwitchingView v{l};
    MainForm f{v, v, MainServices{s, p, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    f.OnToggleClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    ASSERT_EQ(p.awake, !switchedOn);
    v.keepAwake = switchedOn;
    f.OnOptionsClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    EXPECT_EQ(p.awake, switchedOn);
  }
}

TEST_F(MainFormTest, WakingUpFiresATargetPassedInSleepAtOnce) {
  store = Config({{"Action", "3"}, {"Prompt", "False"}});
  form.Start();
  ArmSeconds(30);
  clock.Advance(2h);
  form.OnResume();
  EXPECT_TRUE(Logged("suspend 010"));
}

TEST_F(MainFormTest, TheUnansweredPromptTimeoutReachesThePrompt) {
  const struct {
    const char* stored;
    int timeout;
  } cases[] = {{nullptr, 120}, {"3", 3}, {"0", 0}, {"-5", 0}, {"99999", 3600}, {"1e20", 3600},
               {"", 120}, {"soon", 120}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(absent)");
    MemorySettingsStore s = Config({{"Action", "3"}});
    if (c.stored) s.Set("CONFIG", "PromptTimeout", c.stored);
    Log l;
    FakeView v{l};
    MainForm f{v, v, MainServices{s, power, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A"}};
    f.Start();
    f.OnToggleClicked();
    clock.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    EXPECT_EQ(v.promptTimeout, c.timeout);
  }
}

TEST_F(MainFormTest, ASecondStartBringsTheWindowBack) {
  form.Start();
  form.OnEscape();
  log.clear();
  form.OnShowRequest();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(log, (Log{"view show", "view front"}));
}

TEST_F(MainFormTest, QuittingAsksAndThenClosesInOrder) {
  form.Start();
  view.answerQuit = false;
  log.clear();
  form.DoAction(CaptionButton::Close);
  EXPECT_EQ(log, Log{"ask quit"});

  view.answerQuit = true;
  form.OnFieldTextChanged(ScheduleField::Period, "42");
  log.clear();
  form.OnTrayCommand(TrayMenuCommand::Exit);
  EXPECT_EQ(store.Get("CONFIG", "tPeriod"), "42");
  const Log expected{"ask quit", "redraw desktop", "tray terminate", "redraw desktop", "tray terminate",
                     "stop hotkeys", "unload", "end process"};
  EXPECT_EQ(log, expected);
}

TEST_F(MainFormTest, QuittingShowsWindowsHiddenByTheBossKeyAgain) {
  store = Config({{"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"}});
  form.Start();
  form.OnBossKeyPressed();
  ASSERT_TRUE(form.WindowsHidden());
  log.clear();
  form.DoAction(CaptionButton::Close);
  EXPECT_LT(Position("show 7 3"), Position("end process"));
  EXPECT_EQ(std::count(log.begin(), log.end(), "show 7 3"), 1) << "shown once, not again at the close";
}

TEST_F(MainFormTest, BossKeyFiresTheActionOnTheNextTick) {
  store = Config({{"Prompt", "False"}, {"Action", "4"}});
  form.Start();
  form.OnToggleClicked();  // already armed for an hour: the boss key arms anew for now
  form.OnBossKeyPressed();
  form.OnTimerTick();
  EXPECT_TRUE(Logged("suspend 110"));
  EXPECT_FALSE(form.GetSchedule().Armed());
}

TEST_F(MainFormTest, AlternativeBossKeyRunsTasksUnderTheHourglassThenLocks) {
  store = Config({{"Boss2KeyHideWindows", "False"}, {"Boss2KeyRunTasks", "True"}, {"Boss2KeyAction", "Lock Computer"}});
  form.Start();
  log.clear();
  form.OnAltBossKeyPressed();
  EXPECT_EQ(log, (Log{"wait cursor", "run tasks 0", "normal cursor", "lock"}));
}

TEST_F(MainFormTest, MinimiseAndEscapeHideWithoutAsking) {
  form.Start();
  form.DoAction(CaptionButton::Minimize);
  EXPECT_FALSE(view.visible);
  form.OnTrayMouseDown(TrayButton::Left);
  EXPECT_TRUE(view.visible);
  form.OnEscape();
  EXPECT_FALSE(view.visible);
  EXPECT_FALSE(Logged("ask quit"));
}

TEST_F(MainFormTest, TrayClicks) {
  form.Start();
  log.clear();
  form.OnTrayMouseDown(TrayButton::Left);
  EXPECT_EQ(log, (Log{"close about", "view show", "view front"}));
  log.clear();
  view.menuChoice = TrayMenuCommand::Enabled;
  form.OnTrayMouseDown(TrayButton::Right);
  EXPECT_EQ(log.front(), "view front");
  EXPECT_TRUE(form.GetSchedule().Armed());
  EXPECT_TRUE(view.menuCheck);
  form.OnTrayMouseDown(TrayButton::Right);
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_FALSE(view.menuCheck);
  log.clear();
  form.OnTrayMouseDown(TrayButton::Middle);
  EXPECT_TRUE(log.empty());
}

TEST_F(MainFormTest, OptionsDialogIsFollowedByASave) {
  form.Start();
  form.Options().DoTaskRun = true;
  form.OnOptionsClicked();
  EXPECT_TRUE(Logged("options"));
  EXPECT_EQ(store.Get("CONFIG", "DoTaskRun"), "True");
}


MainForm::CommandReply Apply(MainForm& form, std::vector<std::string> arguments) {
  const auto command = ParseCommandLine(arguments);
  if (!command) return {kExitUsage, "unparsed"};
  return form.ApplyCommand(*command);
}

TEST_F(MainFormTest, ACommandLineArmsAsTheEnableButtonDoesAndIsSaved) {
  form.Start();
  const auto reply = Apply(form, {"/suspend", "/in", "3s", "/noprompt"});
  EXPECT_EQ(reply.exitCode, kExitOk);
  EXPECT_EQ(reply.text, "Armed: Suspend at 14:00:03, 3 s left");
  ASSERT_TRUE(form.GetSchedule().Armed());
  EXPECT_EQ(view.shown.action, PowerAction::Suspend);
  EXPECT_EQ(view.shown.period.text(), "3");
  EXPECT_EQ(view.shown.unit, CountdownUnit::Seconds);
  EXPECT_FALSE(view.shown.prompt);
  EXPECT_FALSE(view.shown.force);
  EXPECT_EQ(store.Get("CONFIG", "Action"), "3");
  EXPECT_EQ(store.Get("CONFIG", "Prompt"), "False");
  EXPECT_EQ(tray.balloons.back(), "Kelvane will perform Suspend On " + FormatGeneralDate(zone, clock.Now() + 3s));
  RunToTarget();
  EXPECT_TRUE(Logged("suspend 000"));
}

TEST_F(MainFormTest, ACommandLineClockTimeTakesTheTwelveHourControls) {
  const struct {
    const char* at;
    const char* hour;
    HalfDay half;
    const char* status;
  } cases[] = {
      {"23:30", "11", HalfDay::PM, "Armed: Shutdown at 23:30:00, 34200 s left"},
      {"0:05", "12", HalfDay::AM, "Armed: Shutdown at 00:05:00, 36300 s left"},
      {"12:00", "12", HalfDay::PM, "Armed: Shutdown at 12:00:00, 79200 s left"},
  };
  form.Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    const auto reply = Apply(form, {"/shutdown", "/at", c.at, "/force"});
    EXPECT_EQ(reply.text, c.status);
    EXPECT_FALSE(view.shown.countdownMode);
    EXPECT_EQ(view.shown.hour.text(), c.hour);
    EXPECT_EQ(view.shown.halfDay, c.half);
    EXPECT_TRUE(view.shown.force);
    EXPECT_TRUE(view.shown.prompt) << "left as it was";
  }
}

TEST_F(MainFormTest, ACommandLineReplacesWhatWasArmedWithoutTheNoActionBalloon) {
  form.Start();
  ArmSeconds(90);
  const std::size_t balloons = tray.balloons.size();
  const auto reply = Apply(form, {"/restart", "/in", "5m"});
  EXPECT_EQ(reply.exitCode, kExitOk);
  EXPECT_EQ(form.GetSchedule().Action(), PowerAction::Restart);
  EXPECT_EQ(form.GetSchedule().Target() - clock.Now(), 300s);
  ASSERT_EQ(tray.balloons.size(), balloons + 1);
  EXPECT_EQ(tray.balloons.back().rfind("Kelvane will perform Restart", 0), 0u);
}

TEST_F(MainFormTest, StatusAndDisableFromTheCommandLine) {
  form.Start();
  EXPECT_EQ(Apply(form, {"/status"}).exitCode, kExitNotArmed);
  EXPECT_EQ(Apply(form, {"/status"}).text, "Disabled");
  EXPECT_EQ(Apply(form, {"/disable"}).text, "Disabled") << "disabling a disarmed program changes nothing";
  ArmSeconds(90);
  clock.Advance(10s);
  EXPECT_EQ(Apply(form, {"-STATUS"}).exitCode, kExitOk);
  EXPECT_EQ(Apply(form, {"-STATUS"}).text, "Armed: Shutdown at 14:01:30, 80 s left");
  EXPECT_EQ(Apply(form, {"/disable"}).exitCode, kExitOk);
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_EQ(tray.balloons.back(), "No Action");
}

TEST_F(MainFormTest, StatusWhileThePromptWaitsNeverTellsSecondsBelowZero) {
  // The prompt counts down to its time-out after the target has passed; a
  // script asking for the state meanwhile reads the seconds left.
  form.Start();
  ArmSeconds(90);
  std::optional<MainForm::CommandReply> during;
  view.prompt = [&](const std::string&) {
    clock.Advance(45s);
    during = Apply(form, {"/status"});
    return std::optional<PromptAnswer>{PromptAnswer{PromptResult::Abort, 0}};
  };
  RunToTarget();
  ASSERT_TRUE(during.has_value());
  EXPECT_EQ(during->exitCode, kExitOk);
  EXPECT_EQ(during->text.rfind("Armed: Shutdown at 14:01:30, ", 0), 0u) << during->text;
  EXPECT_EQ(during->text.find(", -"), std::string::npos) << during->text;
}

TEST_F(MainFormTest, ACommandLineCannotLockWhereLockingIsNotOffered) {
  power.version = {2, 4, 0, 1381};
  form.Start();
  const auto reply = Apply(form, {"/lock", "/in", "5m"});
  EXPECT_EQ(reply.exitCode, kExitNotArmed);
  EXPECT_FALSE(form.GetSchedule().Armed());
  EXPECT_EQ(view.shown.action, PowerAction::Shutdown);
}


TEST_F(MainFormTest, ACommandLineConditionArmsSaysWhatItWaitsForAndFiresWhenItHolds) {
  store = Config({{"TrayTips", "True"}});
  form.Start();
  const auto reply = Apply(form, {"/suspend", "/when", "idle", "10m", "/noprompt"});
  EXPECT_EQ(reply.exitCode, kExitOk);
  EXPECT_EQ(reply.text, "Armed: Suspend, Idle 0 of 10 minutes");
  EXPECT_EQ(tray.tip, "Kelvane: Suspend when idle for 10 minutes");
  EXPECT_EQ(tray.balloons.back(), "Kelvane will perform Suspend when idle for 10 minutes");
  EXPECT_EQ(store.Get("CONFIG", "Method"), "3");
  EXPECT_EQ(store.Get("CONFIG", "ConditionMinutes"), "10");
  clock.Advance(3min);
  sampler.sinceInput = 3min;
  form.OnTimerTick();
  EXPECT_EQ(view.status, "Idle 3 of 10 minutes");
  EXPECT_FALSE(Logged("suspend 000"));
  // Setting the clock moves nothing on the elapsed clock.
  clock.JumpWall(24h);
  form.OnClockChanged();
  EXPECT_FALSE(Logged("suspend 000"));
  clock.Advance(7min);
  sampler.sinceInput = 10min;
  form.OnTimerTick();
  EXPECT_TRUE(Logged("suspend 000"));
  EXPECT_FALSE(form.GetSchedule().Armed());
}

TEST_F(MainFormTest, ACommandLineQuietConditionTakesTheListAndTheMinutes) {
  form.Start();
  EXPECT_EQ(Apply(form, {"/shutdown", "/when", "network", "5m"}).text, "Armed: Shutdown, Network quiet 0 of 5 minutes");
  EXPECT_EQ(Apply(form, {"/shutdown", "/when", "cpu", "30m"}).text, "Armed: Shutdown, Processor quiet 0 of 30 minutes");
  EXPECT_EQ(view.shown.condition, ConditionKind::ProcessorQuiet);
  EXPECT_EQ(view.shown.conditionMinutes.text(), "30");
  EXPECT_EQ(store.Get("CONFIG", "Condition"), "3");
}

TEST_F(MainFormTest, AProgramThatDoesNotRunIsNotWaitedFor) {
  form.Start();
  sampler.found = 0;
  const auto refused = Apply(form, {"/shutdown", "/when", "program", "blender.exe"});
  EXPECT_EQ(refused.exitCode, kExitNotArmed);
  EXPECT_EQ(refused.text, "blender.exe is not running");
  EXPECT_EQ(view.status, "blender.exe is not running");
  EXPECT_FALSE(form.GetSchedule().Armed());

  sampler.found = 1;
  EXPECT_EQ(Apply(form, {"/shutdown", "/when", "program", "blender.exe", "/noprompt"}).text,
            "Armed: Shutdown, Waiting for blender.exe to end");
  EXPECT_EQ(store.Get("CONFIG", "ConditionProgram"), "blender.exe");
  form.OnTimerTick();
  EXPECT_FALSE(Logged("exit 9"));
  // Disarming lets go of the processes.
  EXPECT_EQ(Apply(form, {"/disable"}).text, "Disabled");
  EXPECT_FALSE(sampler.watching);
}


TEST_F(MainFormTest, ACommandLineThatIsRefusedLeavesWhatWasArmed) {
  // Armed by hand for 90 seconds; a script then asks for a program that
  // does not run. The refusal must not cost the user the schedule.
  form.Start();
  ArmSeconds(90);
  const Instant target = form.GetSchedule().Target();
  sampler.found = 0;
  const auto reply = Apply(form, {"/restart", "/when", "program", "blender.exe"});
  EXPECT_EQ(reply.exitCode, kExitNotArmed);
  EXPECT_EQ(reply.text, "blender.exe is not running");
  ASSERT_TRUE(form.GetSchedule().Armed()) << "the armed shutdown was dropped";
  EXPECT_EQ(form.GetSchedule().Action(), PowerAction::Shutdown);
  EXPECT_EQ(form.GetSchedule().Target(), target);
  EXPECT_EQ(view.shown.action, PowerAction::Shutdown) << "the window shows what is armed";
  EXPECT_FALSE(view.shown.conditionMode);
}

// As for a program that does not run: a quiet condition that cannot be
// measured refuses the command, and the refusal must not cost the user the
// schedule armed by hand.
TEST_F(MainFormTest, ACommandLineQuietConditionWithoutFiguresLeavesWhatWasArmed) {
  const struct {
    const char* kind;
    const char* refusal;
  } cases[] = {{"network", "The network's figures are not available"},
               {"cpu", "The processor's figures are not available"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    MemorySettingsStore s;
    Log l;
    FakeView v{l};
    testing::FakeConditionSampler sam;
    sam.octets.reset();
    sam.times.reset();
    MainForm f{v, v, MainServices{s, power, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A", &sam}};
    f.Start();
    f.OnUnitSelected(2);
    f.OnFieldTextChanged(ScheduleField::Period, "90");
    f.OnToggleClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    const Instant target = f.GetSchedule().Target();
    const auto reply = Apply(f, {"/restart", "/when", c.kind, "5m"});
    EXPECT_EQ(reply.exitCode, kExitNotArmed);
    EXPECT_EQ(reply.text, c.refusal);
    ASSERT_TRUE(f.GetSchedule().Armed()) << "the armed shutdown was dropped";
    EXPECT_EQ(f.GetSchedule().Action(), PowerAction::Shutdown);
    EXPECT_EQ(f.GetSchedule().Target(), target);
    EXPECT_FALSE(v.shown.conditionMode) << "the window shows what is armed";
    EXPECT_EQ(s.Get("CONFIG", "Method"), "1") << "the refused command is not saved";
  }
}

TEST_F(MainFormTest, ACommandLineProgramGivenWithItsFolderIsWaitedForByItsFileName) {
  // The system names a process by its file name alone, and the window's box
  // takes a typed path the same way; a script often has the full path.
  form.Start();
  sampler.found = 1;
  const struct {
    const char* given;
    const char* watched;
  } cases[] = {
      {"C:\\Program Files\\Blender Foundation\\blender.exe", "blender.exe"},
      {"D:/tools/ffmpeg.exe", "ffmpeg.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    const auto reply = Apply(form, {"/shutdown", "/when", "program", c.given});
    EXPECT_EQ(sampler.watched, c.watched);
    EXPECT_EQ(reply.text, std::string("Armed: Shutdown, Waiting for ") + c.watched + " to end");
    EXPECT_EQ(view.shown.conditionProgram, c.watched);
  }
}

TEST_F(MainFormTest, TheWhenOptionArmsTheProgramChosenFromTheList) {
  form.Start();
  form.OnConditionModeSelected();
  EXPECT_TRUE(view.enabling.condition);
  EXPECT_FALSE(view.enabling.period);
  EXPECT_FALSE(view.enabling.clock);
  form.OnConditionSelected(1);
  EXPECT_EQ(view.shown.condition, ConditionKind::ProgramEnds);
  sampler.programs = {{"blender.exe", "Untitled - Blender"}, {"notepad.exe", "a.txt"}};
  form.OnProgramListOpening();
  ASSERT_EQ(view.programItems.size(), 2u);
  form.OnConditionProgramChanged(view.programItems[0]);
  sampler.found = 1;
  form.OnToggleClicked();
  ASSERT_TRUE(form.GetSchedule().Armed());
  EXPECT_EQ(sampler.watched, "blender.exe");
  EXPECT_EQ(view.status, "Waiting for blender.exe to end");
  EXPECT_FALSE(view.enabling.condition) << "locked while armed";
  form.OnConditionSelected(0);
  EXPECT_EQ(view.shown.condition, ConditionKind::ProgramEnds);
  // Choosing "In" again leaves the condition mode.
  form.OnToggleClicked();
  form.OnModeSelected(true);
  EXPECT_FALSE(view.shown.conditionMode);
  EXPECT_TRUE(view.enabling.period);
}

TEST_F(MainFormTest, ConditionSettingsLoadToTheirRangesAndSaveBack) {
  const struct {
    const char* method;
    const char* condition;
    const char* minutes;
    bool conditionMode;
    ConditionKind kind;
    const char* shownMinutes;
  } cases[] = {
      {"3", "1", "20", true, ConditionKind::ProgramEnds, "20"},
      {"3", "2", "5", true, ConditionKind::NetworkQuiet, "5"},
      {"3", "3", "15", true, ConditionKind::ProcessorQuiet, "15"},
      {"3", "4", "15", true, ConditionKind::Idle, "15"},    // no fifth condition
      {"3", "7", "0", true, ConditionKind::Idle, "1"},       // unknown condition, minutes below the range
      {"3", "x", "5000", true, ConditionKind::Idle, "999"},  // not a number; above the range
      {"3", "0", "1e30", true, ConditionKind::Idle, "999"},  // beyond any integer
      {"3", "0", "-7", true, ConditionKind::Idle, "1"},
      {"3", "0", "abc", true, ConditionKind::Idle, "10"},    // no number: the default
      {"2", "1", "", false, ConditionKind::ProgramEnds, "10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + "/" + c.condition + "/" + c.minutes);
    MemorySettingsStore s = Config({{"Method", c.method}, {"Condition", c.condition}, {"ConditionMinutes", c.minutes},
                                    {"ConditionProgram", "render.exe"}});
    Log l;
    RecordingTray t{l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, power, clock, zone, t, parts, parts, parts, hider, parts, "k.exe", "A", &sampler}};
    f.Start();
    EXPECT_EQ(v.shown.conditionMode, c.conditionMode);
    EXPECT_EQ(v.shown.condition, c.kind);
    EXPECT_EQ(v.shown.conditionMinutes.text(), c.shownMinutes);
    EXPECT_EQ(v.shown.conditionProgram, "render.exe");
    f.SaveSettings();
    EXPECT_EQ(s.Get("CONFIG", "Method"), c.method);
    EXPECT_EQ(s.Get("CONFIG", "ConditionMinutes"), c.shownMinutes);
  }
}

TEST_F(MainFormTest, TheQuietConditionsMeasureAgainstTheStoredThresholds) {
  // 2 KB/s is loud against 2 KB/s, and 19.9 % quiet against 20 %: the
  // defaults, 50 KB/s and 10 %, would say the opposite.
  store = Config({{"Method", "3"}, {"Condition", "2"}, {"ConditionMinutes", "1"}, {"ConditionKBps", "2"},
                  {"ConditionPercent", "20"}, {"Prompt", "False"}, {"Action", "3"}});
  form.Start();
  sampler.octets = std::vector<InterfaceOctets>{{1, 0, 0}};
  const auto aMinuteOf = [&](std::uint64_t octets, std::uint64_t busy) {
    for (int sample = 0; sample < 12; ++sample) {
      clock.Advance(5s);
      (*sampler.octets)[0].received += octets;
      sampler.times->total += 1000;
      sampler.times->idle += 1000 - busy;
      form.OnTimerTick();
    }
  };
  form.OnToggleClicked();
  aMinuteOf(2 * 1024 * 5, 0);
  EXPECT_EQ(view.status, "Network 2 KB/s, quiet 0 of 1 minutes");
  form.OnToggleClicked();
  form.OnConditionSelected(3);
  form.OnToggleClicked();
  aMinuteOf(0, 199);
  EXPECT_TRUE(Logged("suspend 010"));
}

// The thresholds are edited in the options dialog, which stays open to the
// user while a quiet condition is armed; what the user sets there is what
// the status line's rate is measured against from then on, as "Keep the
// computer awake" switched there holds for the arming under way.
TEST_F(MainFormTest, QuietThresholdsChangedInTheOptionsWhileArmedHoldForTheConditionUnderWay) {
  class ThresholdView : public FakeView {
   public:
    using FakeView::FakeView;
    std::int32_t kbps = 0;
    std::int32_t percent = 0;
    void RunOptionsDialog(const OptionsSettings& settings) override {
      settings.options.quietKBps = kbps;
      settings.options.quietPercent = percent;
    }
  };
  const struct {
    const char* condition;
    std::uint64_t octets;  // every 5 s
    std::uint64_t busy;    // thousandths
    const char* status;    // after a minute, before the change
  } cases[] = {
      {"2", 80 * 1024 * 5, 0, "Network 80 KB/s, quiet 0 of 1 minutes"},
      {"3", 0, 300, "Processor 30 %, quiet 0 of 1 minutes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    MemorySettingsStore s = Config({{"Method", "3"}, {"Condition", c.condition}, {"ConditionMinutes", "1"},
                                    {"Prompt", "False"}, {"Action", "3"}});
    Log l;
    RecordingPowerApi p{&l};
    ThresholdView v{l};
    testing::FakeConditionSampler sam;
    sam.octets = std::vector<InterfaceOctets>{{1, 0, 0}};
    MainForm f{v, v, MainServices{s, p, clock, zone, tray, parts, parts, parts, hider, parts, "k.exe", "A", &sam}};
    const auto aMinute = [&] {
      for (int sample = 0; sample < 12; ++sample) {
        clock.Advance(5s);
        (*sam.octets)[0].received += c.octets;
        sam.times->total += 1000;
        sam.times->idle += 1000 - c.busy;
        f.OnTimerTick();
      }
    };
    f.Start();
    f.OnToggleClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    aMinute();
    ASSERT_EQ(v.status, c.status) << "loud against 50 KB/s and 10 %";
    // 80 KB/s and 30 % are quiet against these.
    v.kbps = 100;
    v.percent = 40;
    f.OnOptionsClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    EXPECT_EQ(s.Get("CONFIG", "ConditionKBps"), "100");
    aMinute();
    aMinute();
    const bool suspended = std::find(l.begin(), l.end(), "suspend 010") != l.end();
    EXPECT_TRUE(suspended) << "still measured against the old threshold: " << v.status;
  }
}

TEST_F(MainFormTest, ARepeatingTimeArmsItsNextDayAfterActionsThatLeaveTheProgramRunning) {
  // Sunday 6 December 2026, 14:00 UTC (the fake zone is UTC).
  const struct {
    PowerAction action;
    std::optional<PromptResult> answer;  // no prompt when empty
    bool armedAgain;
  } cases[] = {
      {PowerAction::Suspend, std::nullopt, true},
      {PowerAction::Hibernate, std::nullopt, true},
      {PowerAction::LockComputer, std::nullopt, true},
      {PowerAction::Suspend, PromptResult::Abort, true},
      {PowerAction::LogOff, std::nullopt, false},
      {PowerAction::Shutdown, std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    MemorySettingsStore s = Config({{"Method", "2"}, {"tHour", "3"}, {"tMin", "0"}, {"tPMAM", "1"},
                                    {"RepeatDays", "65"}, {"Action", std::to_string(static_cast<int>(c.action))},
                                    {"Prompt", c.answer ? "True" : "False"}, {"TrayTips", "False"}});
    FakeClock k{Utc(2026, 12, 6, 14)};
    Log l;
    RecordingTray t{l};
    FakeView v{l};
    v.prompt = [&](const std::string&) { return PromptAnswer{*c.answer, 0}; };
    MainForm f{v, v, MainServices{s, power, k, zone, t, parts, parts, parts, hider, parts, "k.exe", "A", &sampler}};
    f.Start();
    f.OnToggleClicked();
    ASSERT_TRUE(f.GetSchedule().Armed());
    EXPECT_EQ(f.GetSchedule().Target(), Utc(2026, 12, 6, 15)) << "Sunday 3 PM";
    k.Set(f.GetSchedule().Target());
    f.OnTimerTick();
    EXPECT_EQ(f.GetSchedule().Armed(), c.armedAgain);
    if (c.armedAgain) {
      EXPECT_EQ(f.GetSchedule().Target(), Utc(2026, 12, 7, 15)) << "Monday 3 PM, not Sunday's again";
    }
  }
}

TEST_F(MainFormTest, RepeatDaysAreChosenWithTheClockAndStoredAsAMask) {
  form.Start();
  EXPECT_FALSE(view.enabling.repeat) << "a countdown does not repeat";
  form.OnModeSelected(false);
  EXPECT_TRUE(view.enabling.repeat);
  form.OnRepeatDayChanged(0, true);
  form.OnRepeatDayChanged(6, true);
  form.OnRepeatDayChanged(6, false);
  form.OnRepeatDayChanged(4, true);
  form.OnRepeatDayChanged(7, true);
  EXPECT_EQ(view.shown.repeatDays, 1 | 16);
  form.SaveSettings();
  EXPECT_EQ(store.Get("CONFIG", "RepeatDays"), "17");
  for (const auto& [stored, loaded] : {std::pair{"200", 127}, std::pair{"-3", 0}, std::pair{"x", 0}, std::pair{"5", 5}}) {
    MemorySettingsStore s = Config({{"RepeatDays", stored}});
    Log l;
    RecordingTray t{l};
    FakeView v{l};
    MainForm f{v, v, MainServices{s, power, clock, zone, t, parts, parts, parts, hider, parts, "k.exe", "A", &sampler}};
    f.Start();
    EXPECT_EQ(v.shown.repeatDays, loaded) << stored;
  }
}


TEST_F(MainFormTest, WakeToActSetsAWakeTimerForTimeTargetsOnlyAndCancelsItOnDisarm) {
  store = Config({{"WakeToAct", "True"}, {"TrayTips", "False"}});
  form.Start();
  ArmSeconds(90);
  ASSERT_EQ(power.wakes, (std::vector<std::optional<Instant>>{clock.Now() + 90s}));
  // The prompt's snooze moves the target, and the timer with it.
  view.prompt = [](const std::string&) { return PromptAnswer{PromptResult::Snooze, 5}; };
  RunToTarget();
  ASSERT_EQ(power.wakes.size(), 2u);
  EXPECT_EQ(power.wakes.back(), clock.Now() + 5min);
  form.OnToggleClicked();
  ASSERT_EQ(power.wakes.size(), 3u);
  EXPECT_EQ(power.wakes.back(), std::nullopt);
  // A condition has no time to wake for.
  sampler.found = 1;
  Apply(form, {"/shutdown", "/when", "program", "x.exe"});
  EXPECT_TRUE(form.GetSchedule().Armed());
  EXPECT_EQ(power.wakes.size(), 3u);
}

TEST_F(MainFormTest, WithoutWakeToActNoWakeTimerIsAsked) {
  form.Start();
  ArmSeconds(90);
  form.OnToggleClicked();
  EXPECT_TRUE(power.wakes.empty());
}

}  // namespace
}  // namespace kelvane
