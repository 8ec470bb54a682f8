#include "core/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/memory_settings_store.h"

namespace kelvane {
namespace {

using testing::MemorySettingsStore;

class RecordingHotKey : public HotKeySettings {
 public:
  explicit RecordingHotKey(std::vector<std::string>& log) : log_(log) {}
  void Init(std::string_view app, std::string_view section, std::string_view prefix) override {
    log_.push_back("Init " + std::string(app) + "/" + std::string(section) + "/" + std::string(prefix));
  }
  void SetEnabled(bool enabled) override { log_.push_back(enabled ? "Enabled true" : "Enabled false"); }
  void ReadSetting(std::string_view defaultHotKey) override { log_.push_back("Read " + std::string(defaultHotKey)); }
  bool WriteSetting() override {
    log_.push_back("Write");
    return true;
  }

 private:
  std::vector<std::string>& log_;
};

struct Loaded {
  ScheduleControls controls = ScheduleControls::WithActions(true);
  ProgramOptions options;
};

Loaded Load(const MemorySettingsStore& store, bool lockOffered = true) {
  Loaded loaded;
  loaded.controls = ScheduleControls::WithActions(lockOffered);
  LoadSettings(store, loaded.controls, loaded.options);
  return loaded;
}

TEST(Settings, FirstStartWritesOnlyStartUpAndSetsUpTheHotKeys) {
  MemorySettingsStore store;
  std::vector<std::string> log;
  RecordingHotKey boss(log), alternative(log);
  Loaded loaded;
  LoadSettings(store, loaded.controls, loaded.options, {&boss, &alternative});
  EXPECT_EQ(store.writes(), 0);
  EXPECT_TRUE(NormalizeStartUp(store));
  EXPECT_EQ(store.Get("CONFIG", "StartUp"), "1");
  EXPECT_EQ(store.writes(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"Init Kelvane/CONFIG/Boss", "Enabled false", "Read F1",
                                           "Init Kelvane/CONFIG/Boss2", "Enabled false", "Read F11"}));
}

TEST(Settings, SaveThenLoadRoundTrips) {
  MemorySettingsStore store;
  Loaded original;
  auto& c = original.controls;
  c.action = PowerAction::Hibernate;
  c.force = false;
  c.prompt = false;
  c.blinkSeconds.Edit("12");
  c.countdownMode = false;
  c.period.Edit("45");
  c.unit = CountdownUnit::Seconds;
  c.hour.Edit("11");
  c.minute.Edit("7");
  c.halfDay = HalfDay::PM;
  auto& o = original.options;
  o.TrayTips = false;
  o.EnabledStart = true;
  o.BossKeyHideWindows = true;
  o.Boss2KeyAction = "Lock Computer";
  o.DoTaskRun = true;
  o.ConditionKBps = 1000000;
  o.ConditionPercent = 1;
  SetTaskRecord(o.tasks, 1, {true, "Cleanup", "cleanmgr.exe /d c:"});
  SetTaskRecord(o.tasks, 2, {false, "Ünïcode ✓", "%SYS32%\\cmd.exe"});
  o.tasks.TaskCount = 2;
  std::vector<std::string> log;
  RecordingHotKey boss(log), alternative(log);
  SaveSettings(store, original.controls, original.options, {&boss, &alternative});
  EXPECT_EQ(log, (std::vector<std::string>{"Write", "Write"}));

  EXPECT_EQ(store.Get("CONFIG", "Method"), "2");
  EXPECT_EQ(store.Get("CONFIG", "Force"), "False");
  EXPECT_EQ(store.Get("TASK", "Task1"), "1\xC2\xA4" "1\xC2\xA4" "Cleanup\xC2\xA4" "cleanmgr.exe /d c:\xC2\xA4");

  const Loaded back = Load(store);
  EXPECT_EQ(ActionName(back.controls.action), "Hibernate");
  EXPECT_FALSE(back.controls.force);
  EXPECT_FALSE(back.controls.prompt);
  EXPECT_EQ(back.controls.blinkSeconds.text(), "12");
  EXPECT_FALSE(back.controls.countdownMode);
  EXPECT_EQ(back.controls.period.text(), "45");
  EXPECT_EQ(back.controls.unit, CountdownUnit::Seconds);
  EXPECT_EQ(back.controls.hour.text(), "11");
  EXPECT_EQ(back.controls.minute.text(), "07");
  EXPECT_EQ(back.controls.halfDay, HalfDay::PM);
  EXPECT_FALSE(back.options.TrayTips);
  EXPECT_TRUE(back.options.EnabledStart);
  EXPECT_TRUE(back.options.BossKeyHideWindows);
  EXPECT_EQ(back.options.Boss2KeyAction, "Lock Computer");
  EXPECT_TRUE(back.options.DoTaskRun);
  EXPECT_EQ(back.options.ConditionKBps, 1000000);
  EXPECT_EQ(back.options.ConditionPercent, 1);
  EXPECT_EQ(back.options.tasks.TaskCount, 2);
  EXPECT_EQ(GetTaskRecord(back.options.tasks, 2), (TaskRecord{false, "Ünïcode ✓", "%SYS32%\\cmd.exe"}));
}

TEST(Settings, MethodOtherThanOneSelectsTheClock) {
  for (const char* method : {"2", "0", "7", "abc"}) {
    MemorySettingsStore store;
    store.Set("CONFIG", "Method", method);
    EXPECT_FALSE(Load(store).controls.countdownMode) << method;
  }
}

TEST(Settings, BadValuesLeaveTheirControlAsItWas) {
  const struct {
    const char* key;
    const char* value;
  } cases[] = {
      {"Force", "maybe"},         {"Force", ""},           {"BlinkSeconds", "99999999999"},
      {"Action", "9"},            {"Action", "-1"},        {"tUnit", "3"},
      {"tPMAM", "abc"},           {"TrayTips", "Да"},      {"tPeriod", "1e12"},
      {"Method", "1e40"},         {"DoTaskRun", "yes"},
  };
  const Loaded defaults = Load(MemorySettingsStore{});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    MemorySettingsStore store;
    store.Set("CONFIG", c.key, c.value);
    const Loaded loaded = Load(store);
    EXPECT_EQ(loaded.controls.force, defaults.controls.force);
    EXPECT_EQ(loaded.controls.blinkSeconds.text(), defaults.controls.blinkSeconds.text());
    EXPECT_EQ(loaded.controls.action, defaults.controls.action);
    EXPECT_EQ(loaded.controls.unit, defaults.controls.unit);
    EXPECT_EQ(loaded.controls.halfDay, defaults.controls.halfDay);
    EXPECT_EQ(loaded.controls.period.text(), defaults.controls.period.text());
    EXPECT_EQ(loaded.controls.countdownMode, defaults.controls.countdownMode);
    EXPECT_EQ(loaded.options.TrayTips, defaults.options.TrayTips);
    EXPECT_EQ(loaded.options.DoTaskRun, defaults.options.DoTaskRun);
    EXPECT_EQ(store.writes(), 0);
  }
}

TEST(Settings, NumbersAreReadUpToTheFirstLetterAndClampedByTheirBoxes) {
  MemorySettingsStore store;
  store.Set("CONFIG", "BlinkSeconds", "12abc");
  store.Set("CONFIG", "tPeriod", "-5");
  store.Set("CONFIG", "tHour", "40");
  store.Set("CONFIG", "tMin", "5.5");
  const Loaded loaded = Load(store);
  EXPECT_EQ(loaded.controls.blinkSeconds.text(), "12");
  EXPECT_EQ(loaded.controls.period.text(), "1");
  EXPECT_EQ(loaded.controls.hour.text(), "12");
  EXPECT_EQ(loaded.controls.minute.text(), "06");
}

TEST(Settings, QuietThresholdsTakeTheirDefaultOrTheNearestLimit) {
  const struct {
    const char* stored;  // nullptr: missing
    std::int32_t kbps;
    std::int32_t percent;
  } cases[] = {
      {nullptr, 50, 10}, {"", 50, 10}, {"abc", 50, 10},        {"25", 25, 25},         {"0", 1, 1},
      {"-7", 1, 1},      {"100", 100, 99}, {"1e30", 1000000, 99}, {"12.5abc", 12, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    MemorySettingsStore store;
    if (c.stored) {
      store.Set("CONFIG", "ConditionKBps", c.stored);
      store.Set("CONFIG", "ConditionPercent", c.stored);
    }
    const Loaded loaded = Load(store);
    EXPECT_EQ(loaded.options.ConditionKBps, c.kbps);
    EXPECT_EQ(loaded.options.ConditionPercent, c.percent);
    MemorySettingsStore saved;
    SaveSettings(saved, loaded.controls, loaded.options);
    EXPECT_EQ(saved.Get("CONFIG", "ConditionKBps"), std::to_string(c.kbps));
    EXPECT_EQ(saved.Get("CONFIG", "ConditionPercent"), std::to_string(c.percent));
  }
}

TEST(Settings, LockComputerIsRejectedWhereNotOffered) {
  MemorySettingsStore store;
  store.Set("CONFIG", "Action", "5");
  EXPECT_EQ(ActionName(Load(store, false).controls.action), "Shutdown");
  EXPECT_EQ(ActionName(Load(store, true).controls.action), "Lock Computer");
}

TEST(Settings, TaskCountIsBoundToTheHundredSlots) {
  MemorySettingsStore store;
  store.Set("Task", "TaskCount", "150");
  for (int n = 1; n <= 150; ++n) store.Set("TASK", "Task" + std::to_string(n), "r" + std::to_string(n));
  Loaded loaded = Load(store);
  EXPECT_EQ(loaded.options.tasks.TaskCount, 100);
  EXPECT_EQ(loaded.options.tasks.Tasks[100], "r100");

  MemorySettingsStore saved;
  SaveSettings(saved, loaded.controls, loaded.options);
  EXPECT_EQ(saved.Get("TASK", "TaskCount"), "100");
  EXPECT_TRUE(saved.Has("TASK", "Task100"));
  EXPECT_FALSE(saved.Has("TASK", "Task101"));

  for (const char* bad : {"-3", "abc"}) {
    MemorySettingsStore negative;
    negative.Set("TASK", "TaskCount", bad);
    EXPECT_EQ(Load(negative).options.tasks.TaskCount, 0) << bad;
  }
}

TEST(Settings, StartUpNormalisation) {
  const struct {
    const char* stored;
    bool on;
    const char* written;
  } cases[] = {{nullptr, true, "1"}, {"-1", true, "1"}, {"1", true, "1"}, {"0", false, "0"},
               {"2", false, "0"},    {"abc", false, "0"}, {"1.4", true, "1"}, {"99999999999", false, "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(absent)");
    MemorySettingsStore store;
    if (c.stored) store.Set("CONFIG", "StartUp", c.stored);
    EXPECT_EQ(NormalizeStartUp(store), c.on);
    EXPECT_EQ(store.Get("CONFIG", "StartUp"), c.written);
  }
}

}  // namespace
}  // namespace kelvane

namespace kelvane {
namespace {

TEST(Settings, TheDataFolderLiesOnlyWhereTheUserAloneWrites) {
  const struct {
    const char* variable;
    const char* chosen;
  } cases[] = {
      {"C:\\Users\\me\\AppData\\Roaming", "C:\\Users\\me\\AppData\\Roaming"},
      {"\\\\server\\profiles\\me", "\\\\server\\profiles\\me"},
      {"", "K:\\known"},
      {"Roaming", "K:\\known"},
      {"\\Roaming", "K:\\known"},
      {"C:Roaming", "K:\\known"},
      {"\\\\\\x", "K:\\known"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variable);
    int asked = 0;
    EXPECT_EQ(ChooseAppDataFolder(c.variable,
                                  [&asked] {
                                    ++asked;
                                    return std::string("K:\\known");
                                  }),
              c.chosen);
    EXPECT_EQ(asked, std::string_view(c.chosen) == "K:\\known" ? 1 : 0) << "the system is asked only when needed";
  }
}

}  // namespace
}  // namespace kelvane
