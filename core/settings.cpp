#include "core/settings.h"

#include <algorithm>
#include <optional>

#include "base/value_codec.h"

namespace kelvane {
namespace {

class Reader {
 public:
  explicit Reader(const SettingsStore& store) : store_(store) {}

  std::string Text(std::string_view section, std::string_view key, std::string_view fallback) const {
    return store_.GetValue(kAppName, section, key, fallback);
  }
  void Boolean(std::string_view key, bool defaultValue, bool& target) const {
    if (const auto value = DecodeBoolean(Text(kConfigSection, key, EncodeBoolean(defaultValue)))) target = *value;
  }
  std::optional<std::int32_t> Integer(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    return DecodeInteger(Text(section, key, EncodeInteger(defaultValue)));
  }
  void Index(std::string_view key, std::int32_t defaultValue, int count, int& target) const {
    const auto value = Integer(kConfigSection, key, defaultValue);
    if (value && *value >= 0 && *value < count) target = *value;
  }
  void Spin(std::string_view key, std::int32_t defaultValue, NumericSpin& target) const {
    const auto value = Integer(kConfigSection, key, defaultValue);
    if (!value) return;
    target.SetText(std::to_string(*value));
    // Code-set values are shown in the spin's own format ("05" for minutes).
    target.SetValue(target.value());
  }

 private:
  const SettingsStore& store_;
};

class Writer {
 public:
  explicit Writer(SettingsStore& store) : store_(store) {}
  void Text(std::string_view section, std::string_view key, std::string_view value) {
    store_.SaveValue(kAppName, section, key, value);
  }
  void Boolean(std::string_view key, bool value) { Text(kConfigSection, key, EncodeBoolean(value)); }
  void Integer(std::string_view key, std::int64_t value) { Text(kConfigSection, key, EncodeInteger(value)); }
  void Spin(std::string_view key, const NumericSpin& spin) { Integer(key, LeadingInt32Saturated(spin.text())); }

 private:
  SettingsStore& store_;
};

}  // namespace

ScheduleControls ScheduleControls::WithActions(bool lockOffered) {
  ScheduleControls controls;
  const auto& names = ActionNames();
  controls.actionItems.assign(names.begin(), names.begin() + (lockOffered ? kLockComputerIndex + 1 : kLockComputerIndex));
  return controls;
}

void LoadSettings(const SettingsStore& store, ScheduleControls& controls, ProgramOptions& options, HotKeyPair hotKeys) {
  const Reader read(store);
  read.Boolean("Force", true, controls.force);
  read.Boolean("BlinkIcon", true, controls.blink);
  read.Spin("BlinkSeconds", 30, controls.blinkSeconds);
  read.Boolean("Prompt", true, controls.prompt);
  read.Boolean("TrayTips", true, options.TrayTips);
  read.Boolean("EnabledStart", false, options.EnabledStart);

  int action = controls.actionIndex;
  read.Index("Action", 0, static_cast<int>(controls.actionItems.size()), action);
  if (action < static_cast<int>(controls.actionItems.size())) {
    controls.actionIndex = action;
    controls.actionName = controls.actionItems[static_cast<std::size_t>(action)];
  }
  if (const auto method = read.Integer(kConfigSection, "Method", 1)) controls.countdownMode = (*method == 1);
  read.Spin("tPeriod", 1, controls.period);
  read.Index("tUnit", 0, 3, controls.unitIndex);
  read.Spin("tHour", 1, controls.hour);
  read.Spin("tMin", 0, controls.minute);
  read.Index("tPMAM", 0, 2, controls.halfDayIndex);

  const auto loadHotKey = [](HotKeySettings* hotKey, std::string_view prefix, std::string_view defaultKey) {
    if (hotKey == nullptr) return;
    hotKey->Init(kAppName, kConfigSection, prefix);
    hotKey->SetEnabled(false);
    hotKey->ReadSetting(defaultKey);
  };
  loadHotKey(hotKeys.boss, "Boss", "F1");
  loadHotKey(hotKeys.alternative, "Boss2", "F11");

  read.Boolean("BossKeyDoExeAction", true, options.BossKeyDoExeAction);
  read.Boolean("BossKeyHideWindows", false, options.BossKeyHideWindows);
  read.Boolean("BossKeyIgnorePrompt", false, options.BossKeyIgnorePrompt);
  read.Boolean("Boss2KeyHideWindows", true, options.Boss2KeyHideWindows);
  read.Boolean("Boss2KeyIgnorePrompt", true, options.Boss2KeyIgnorePrompt);
  read.Boolean("Boss2KeyRunTasks", false, options.Boss2KeyRunTasks);
  options.Boss2KeyAction = read.Text(kConfigSection, "Boss2KeyAction", "");
  read.Boolean("LockDuringTaskRun", false, options.LockDuringTaskRun);
  read.Boolean("DoTaskRun", false, options.DoTaskRun);

  // A count above the list's room would make later saves and runs walk past
  // slot 100, so it is held at the number of slots actually loaded.
  const auto count = read.Integer(kTaskSectionOnLoad, "TaskCount", 0);
  if (!count) return;
  options.tasks.TaskCount = std::clamp<std::int32_t>(*count, 0, kMaxTasks);
  for (int n = 1; n <= options.tasks.TaskCount; ++n) {
    options.tasks.Tasks[static_cast<std::size_t>(n)] = read.Text(kTaskSection, "Task" + std::to_string(n), "");
  }
}

void SaveSettings(SettingsStore& store, const ScheduleControls& controls, const ProgramOptions& options, HotKeyPair hotKeys) {
  Writer write(store);
  write.Integer("Action", controls.actionIndex);
  write.Boolean("Force", controls.force);
  write.Boolean("BlinkIcon", controls.blink);
  write.Spin("BlinkSeconds", controls.blinkSeconds);
  write.Boolean("Prompt", controls.prompt);
  write.Boolean("TrayTips", options.TrayTips);
  write.Boolean("EnabledStart", options.EnabledStart);
  write.Integer("Method", controls.countdownMode ? 1 : 2);
  write.Spin("tPeriod", controls.period);
  write.Integer("tUnit", controls.unitIndex);
  write.Spin("tHour", controls.hour);
  write.Spin("tMin", controls.minute);
  write.Integer("tPMAM", controls.halfDayIndex);

  if (hotKeys.boss != nullptr) hotKeys.boss->WriteSetting();
  if (hotKeys.alternative != nullptr) hotKeys.alternative->WriteSetting();

  write.Boolean("BossKeyDoExeAction", options.BossKeyDoExeAction);
  write.Boolean("BossKeyHideWindows", options.BossKeyHideWindows);
  write.Boolean("BossKeyIgnorePrompt", options.BossKeyIgnorePrompt);
  write.Boolean("Boss2KeyHideWindows", options.Boss2KeyHideWindows);
  write.Boolean("Boss2KeyIgnorePrompt", options.Boss2KeyIgnorePrompt);
  write.Boolean("Boss2KeyRunTasks", options.Boss2KeyRunTasks);
  write.Text(kConfigSection, "Boss2KeyAction", options.Boss2KeyAction);
  write.Boolean("LockDuringTaskRun", options.LockDuringTaskRun);
  write.Boolean("DoTaskRun", options.DoTaskRun);

  const std::int32_t count = std::clamp<std::int32_t>(options.tasks.TaskCount, 0, kMaxTasks);
  write.Text(kTaskSection, "TaskCount", EncodeInteger(count));
  for (int n = 1; n <= count; ++n) {
    write.Text(kTaskSection, "Task" + std::to_string(n), options.tasks.Tasks[static_cast<std::size_t>(n)]);
  }
}

bool NormalizeStartUp(SettingsStore& store) {
  const auto value = DecodeInteger(store.GetValue(kAppName, kConfigSection, "StartUp", "-1"));
  const bool on = value && (*value == -1 || *value == 1);
  store.SaveValue(kAppName, kConfigSection, "StartUp", on ? "1" : "0");
  return on;
}

std::string DataFolderPath(std::string_view appData) {
  std::string path(appData);
  path += "\\Kelvane";
  return path;
}

}  // namespace kelvane
