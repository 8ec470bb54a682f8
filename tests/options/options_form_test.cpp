#include "options/options_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/memory_settings_store.h"
#include "options/options_fakes.h"

namespace kelvane {
namespace {

using testing::FakeButtons;
using testing::FakeGridControl;
using testing::FakeRegistry;
using testing::MemorySettingsStore;
using Log = std::vector<std::string>;

// A hotkey control that records every change in a shared log.
class RecordingHotKey : public HotKeyEditor {
 public:
  RecordingHotKey(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  bool enabled = false, ctrl = true, shift = false, alt = false, win = false;
  std::string key = "F1";

  bool Enabled() const override { return enabled; }
  void SetEnabled(bool on) override { Note("Enabled", on, enabled); }
  bool CtrlKey() const override { return ctrl; }
  void SetCtrlKey(bool on) override { Note("Ctrl", on, ctrl); }
  bool ShiftKey() const override { return shift; }
  void SetShiftKey(bool on) override { Note("Shift", on, shift); }
  bool AltKey() const override { return alt; }
  void SetAltKey(bool on) override { Note("Alt", on, alt); }
  bool WinKey() const override { return win; }
  void SetWinKey(bool on) override { Note("Win", on, win); }
  const std::string& HotKey() const override { return key; }
  void SetHotKey(std::string_view name) override {
    key = std::string(name);
    log_.push_back(name_ + " HotKey " + key);
  }

 private:
  void Note(const char* what, bool on, bool& field) {
    field = on;
    log_.push_back(name_ + " " + what + (on ? " on" : " off"));
  }
  std::string name_;
  Log& log_;
};

class FakeOptionsView : public OptionsView {
 public:
  OptionsState shown;
  int closes = 0;
  void ShowState(const OptionsState& state) override { shown = state; }
  void Close() override { ++closes; }
};

class FakeShellAndRunKey : public ShellActions, public RunKey {
 public:
  explicit FakeShellAndRunKey(Log& log) : log_(log) {}
  void OpenDocument(const std::string& path) override { log_.push_back("open " + path); }
  void StartProcess(const std::string& command) override { log_.push_back("start " + command); }
  void SetValue(const std::string& name, const std::string& data) override { log_.push_back("run set " + name + "=" + data); }
  void DeleteValue(const std::string& name) override { log_.push_back("run delete " + name); }

 private:
  Log& log_;
};

class OptionsFormTest : public ::testing::Test {
 protected:
  Log log;
  BossKeyOptions bossOptions;
  bool trayTips = true, enabledStart = false, startUp = true, lock = false, taskRun = false, keepAwake = true;
  bool wakeToAct = false;
  std::int32_t promptTimeout = 120;
  std::int32_t quietKBps = 50;
  std::int32_t quietPercent = 10;
  TaskList tasks;
  RecordingHotKey boss{"boss", log};
  RecordingHotKey altBoss{"alt", log};
  MemorySettingsStore store;
  FakeShellAndRunKey system{log};
  FakeRegistry registry;
  FakeGridControl grid;
  FakeButtons buttons;
  FakeOptionsView view;
  std::string osName = "Windows Vista";

  OptionsForm MakeForm() {
    return OptionsForm(view, grid, buttons,
                       OptionsServices{OptionsSettings{{bossOptions, trayTips, enabledStart, startUp, lock, taskRun,
                                                        keepAwake, promptTimeout, wakeToAct, quietKBps, quietPercent,
                                                        tasks},
                                                       boss,
                                                       altBoss,
                                                       store,
                                                       system,
                                                       osName,
                                                       "C:\\Program Files\\Kelvane\\kelvane.exe",
                                                       "C:\\Users\\me\\AppData\\Roaming\\Kelvane"},
                                       system,
                                       registry});
  }
};

TEST_F(OptionsFormTest, OpeningShowsTheSettingsAndChangesNothing) {
  boss.enabled = true;
  boss.shift = true;
  boss.key = "F5";
  altBoss.key = "NoSuchKey";
  bossOptions.Boss2KeyAction = "Hibernate";
  taskRun = true;
  promptTimeout = 0;
  OptionsForm form = MakeForm();
  form.Open();
  const OptionsState& s = view.shown;
  EXPECT_TRUE(s.boss.on);
  EXPECT_EQ(s.boss.modifiers, (std::array<bool, 4>{true, true, false, false}));
  ASSERT_GE(s.boss.keyIndex, 0);
  EXPECT_EQ(s.keyNames[static_cast<std::size_t>(s.boss.keyIndex)], "F5");
  EXPECT_EQ(s.alt.keyIndex, -1) << "a stored key name that is not in the list selects nothing";
  EXPECT_EQ(s.boss.caption, "      BossKey - On");
  EXPECT_EQ(s.alt.caption, "      Alt. BossKey - Off");
  EXPECT_EQ(s.altActions[static_cast<std::size_t>(s.altActionIndex)], "Hibernate");
  EXPECT_TRUE(s.taskRun);
  EXPECT_FALSE(s.promptTimeoutOn);
  EXPECT_TRUE(grid.editable);
  EXPECT_TRUE(buttons.add && buttons.del && buttons.move);
  EXPECT_TRUE(log.empty()) << "opening touches neither the hotkeys nor the autostart entry";
  EXPECT_EQ(store.writes(), 0);
}

TEST_F(OptionsFormTest, TheAlternativeActionsFollowTheSystem) {
  const struct {
    const char* os;
    const char* stored;
    std::vector<std::string> offered;
    const char* applied;
  } cases[] = {
      {"Windows XP", "Lock Computer", {"", "Suspend", "Hibernate", "Lock Computer"}, "Lock Computer"},
      {"Windows 98", "Lock Computer", {"", "Suspend", "Hibernate"}, ""},
      {"Windows Vista", "", {"", "Suspend", "Hibernate", "Lock Computer"}, ""},
      {"Windows Vista", "Shutdown", {"", "Suspend", "Hibernate", "Lock Computer"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.os) + "/" + c.stored);
    osName = c.os;
    bossOptions.Boss2KeyAction = c.stored;
    OptionsForm form = MakeForm();
    form.Open();
    EXPECT_EQ(view.shown.altActions, c.offered);
    form.ApplyAndClose();
    EXPECT_EQ(bossOptions.Boss2KeyAction, c.applied);
  }
}

TEST_F(OptionsFormTest, TheBoxesSwitchTheirFramesAndTheTaskControls) {
  OptionsForm form = MakeForm();
  form.Open();
  EXPECT_FALSE(grid.editable);
  EXPECT_FALSE(buttons.add || buttons.del || buttons.move);
  form.OnCheck(OptionsCheck::TaskRun, true);
  EXPECT_TRUE(grid.editable);
  EXPECT_TRUE(buttons.add && buttons.del && buttons.move) << "all four at once";
  form.OnCheck(OptionsCheck::BossKey, true);
  EXPECT_EQ(view.shown.boss.caption, "      BossKey - On");
  form.OnCheck(OptionsCheck::BossKey, false);
  EXPECT_EQ(view.shown.boss.caption, "      BossKey - Off");
  form.OnCheck(OptionsCheck::AltBossKey, true);
  EXPECT_EQ(view.shown.alt.caption, "      Alt. BossKey - On");
}

TEST_F(OptionsFormTest, ApplyingStoresTheHotKeysSwitchedOffFirstAndEverySetting) {
  OptionsForm form = MakeForm();
  form.Open();
  form.OnCheck(OptionsCheck::BossKey, true);
  form.OnModifier(BossKey::Boss, Modifier::Shift, true);
  const auto f5 = std::find(view.shown.keyNames.begin(), view.shown.keyNames.end(), "F5") - view.shown.keyNames.begin();
  form.OnKeySelected(BossKey::Boss, static_cast<int>(f5));
  form.OnKeySelected(BossKey::Alternative, -1);
  for (OptionsCheck check : {OptionsCheck::BossHide, OptionsCheck::BossIgnorePrompt, OptionsCheck::AltRunTasks,
                             OptionsCheck::Lock, OptionsCheck::EnabledStart, OptionsCheck::TaskRun,
                             OptionsCheck::WakeToAct}) {
    form.OnCheck(check, true);
  }
  for (OptionsCheck check : {OptionsCheck::BossExecute, OptionsCheck::AltHide, OptionsCheck::AltIgnorePrompt,
                             OptionsCheck::TrayTips, OptionsCheck::KeepAwake}) {
    form.OnCheck(check, false);
  }
  form.OnNumberText(OptionsNumber::PromptTimeout, "45");
  form.OnNumberText(OptionsNumber::QuietKBps, "200");
  form.OnNumberText(OptionsNumber::QuietPercent, "5");
  form.OnAltActionSelected(1);
  log.clear();
  form.ApplyAndClose();
  EXPECT_EQ(log, (Log{"boss Enabled off", "boss Ctrl on", "boss Shift on", "boss Alt off", "boss Win off",
                      "boss HotKey F5", "boss Enabled on", "alt Enabled off", "alt Ctrl on", "alt Shift off",
                      "alt Alt off", "alt Win off", "alt HotKey ", "alt Enabled off"}));
  EXPECT_FALSE(bossOptions.BossKeyDoExeAction);
  EXPECT_TRUE(bossOptions.BossKeyHideWindows);
  EXPECT_TRUE(bossOptions.BossKeyIgnorePrompt);
  EXPECT_TRUE(bossOptions.Boss2KeyRunTasks);
  EXPECT_FALSE(bossOptions.Boss2KeyHideWindows);
  EXPECT_FALSE(bossOptions.Boss2KeyIgnorePrompt);
  EXPECT_EQ(bossOptions.Boss2KeyAction, "Suspend");
  EXPECT_TRUE(lock);
  EXPECT_TRUE(enabledStart);
  EXPECT_FALSE(trayTips);
  EXPECT_FALSE(keepAwake);
  EXPECT_TRUE(wakeToAct);
  EXPECT_EQ(promptTimeout, 45);
  EXPECT_EQ(quietKBps, 200);
  EXPECT_EQ(quietPercent, 5);
  EXPECT_TRUE(taskRun);
  EXPECT_EQ(tasks.TaskCount, 7) << "the presets, written back";
  EXPECT_EQ(view.closes, 1);
}

TEST_F(OptionsFormTest, TheNumberBoxesReadAsTypedAndKeepTheirRangesWhenLeftOrApplied) {
  using enum OptionsNumber;
  const struct {
    OptionsNumber box;
    const char* typed;
    int steps;
    bool left;  // the box lost the focus before OK
    const char* shown;
    std::int32_t applied;
  } cases[] = {
      {PromptTimeout, "", 0, false, "", 1},          {PromptTimeout, "35", 0, true, "35", 35},
      {PromptTimeout, "9999", 0, true, "3600", 3600}, {PromptTimeout, "2", -10, false, "1", 1},
      {QuietKBps, "0", 0, false, "0", 1},            {QuietKBps, "99999999", 0, true, "1000000", 1000000},
      {QuietKBps, "999995", 10, false, "1000000", 1000000}, {QuietKBps, "", 0, true, "1", 1},
      {QuietPercent, "150", 0, false, "15", 15},     {QuietPercent, "0", 0, true, "1", 1},
      {QuietPercent, "99", 1, false, "99", 99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.box)) + ": " + c.typed);
    OptionsForm form = MakeForm();
    form.Open();
    form.OnNumberText(c.box, c.typed);
    const std::string kept = NumberValue(view.shown, c.box).text();
    EXPECT_EQ(kept, std::string(c.typed).substr(0, kept.size())) << "kept as typed while editing";
    if (c.steps != 0) form.OnNumberStep(c.box, c.steps);
    if (c.left) form.OnNumberLeft(c.box);
    EXPECT_EQ(NumberValue(view.shown, c.box).text(), c.shown);
    form.ApplyAndClose();
    const std::int32_t applied = c.box == PromptTimeout ? promptTimeout : c.box == QuietKBps ? quietKBps : quietPercent;
    EXPECT_EQ(applied, c.applied);
  }
}

TEST_F(OptionsFormTest, EscKeepsEverythingButTheAutostartChange) {
  OptionsForm form = MakeForm();
  form.Open();
  form.OnCheck(OptionsCheck::Startup, false);
  EXPECT_EQ(log, Log{"run delete kelvane.Exe"});
  EXPECT_EQ(store.Get("CONFIG", "StartUp"), "0");
  form.OnCheck(OptionsCheck::TrayTips, false);
  form.OnCheck(OptionsCheck::BossKey, true);
  form.OnCheck(OptionsCheck::PromptTimeout, false);
  form.Discard();
  EXPECT_EQ(view.closes, 1);
  EXPECT_FALSE(startUp) << "applied at once";
  EXPECT_TRUE(trayTips);
  EXPECT_EQ(promptTimeout, 120);
  EXPECT_FALSE(boss.enabled);
  EXPECT_EQ(tasks.TaskCount, 0);
  form.ApplyAndClose();
  EXPECT_EQ(view.closes, 1) << "a closed dialog applies nothing more";
}

TEST_F(OptionsFormTest, TheButtonsOpenTheGuideThePowerOptionsAndTheLog) {
  OptionsForm form = MakeForm();
  form.Open();
  form.OnHelp();
  form.OnPowerConfig();
  form.OnShowLog();
  EXPECT_EQ(log, (Log{"open C:\\Program Files\\Kelvane\\kelvane.pdf",
                      "start rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,@28",
                      "open C:\\Users\\me\\AppData\\Roaming\\Kelvane\\TasksLog.txt"}));
}

}  // namespace
}  // namespace kelvane
