#include "core/settings.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "base/value_codec.h"

namespace kelvane {
namespace {

template <typename Enum>
int IndexOf(Enum value) {
  return static_cast<int>(value);
}

// The keys of section "CONFIG" that the main window keeps, in the order they
// are read, with their defaults. Loading and saving both walk this list; the
// visitor decides what a key means to it. `Controls` and `Options` are const
// when saving.
template <typename Visitor, typename Controls, typename Options>
void VisitScheduleKeys(Visitor& v, Controls& c, Options& o) {
  v.Boolean("Force", true, c.force);
  v.Boolean("BlinkIcon", true, c.blink);
  v.Spin("BlinkSeconds", 30, c.blinkSeconds);
  v.Boolean("Prompt", true, c.prompt);
  v.Boolean("TrayTips", true, o.TrayTips);
  v.Boolean("EnabledStart", false, o.EnabledStart);
  v.Action("Action", c);
  v.Method("Method", c);
  v.Spin("tPeriod", 1, c.period);
  v.Choice("tUnit", c.unit, CountdownUnitAt);
  v.Spin("tHour", 1, c.hour);
  v.Spin("tMin", 0, c.minute);
  v.Choice("tPMAM", c.halfDay, HalfDayAt);
  v.Bounded("RepeatDays", 0, 0, kAllRepeatDays, c.repeatDays);
  v.Choice("Condition", c.condition, ConditionAt);
  v.BoundedSpin("ConditionMinutes", 10, c.conditionMinutes);
  v.Text("ConditionProgram", "", c.conditionProgram);
  v.Bounded("ConditionKBps", kDefaultConditionKBps, 1, kMaxConditionKBps, o.ConditionKBps);
  v.Bounded("ConditionPercent", kDefaultConditionPercent, 1, kMaxConditionPercent, o.ConditionPercent);
}

// The keys after the two hotkeys', in their order.
template <typename Visitor, typename Options>
void VisitOptionKeys(Visitor& v, Options& o) {
  v.Boolean("BossKeyDoExeAction", true, o.BossKeyDoExeAction);
  v.Boolean("BossKeyHideWindows", false, o.BossKeyHideWindows);
  v.Boolean("BossKeyIgnorePrompt", false, o.BossKeyIgnorePrompt);
  v.Boolean("Boss2KeyHideWindows", true, o.Boss2KeyHideWindows);
  v.Boolean("Boss2KeyIgnorePrompt", true, o.Boss2KeyIgnorePrompt);
  v.Boolean("Boss2KeyRunTasks", false, o.Boss2KeyRunTasks);
  v.Text("Boss2KeyAction", "", o.Boss2KeyAction);
  v.Boolean("LockDuringTaskRun", false, o.LockDuringTaskRun);
  v.Boolean("DoTaskRun", false, o.DoTaskRun);
  v.Boolean("KeepAwake", true, o.KeepAwake);
  v.Bounded("PromptTimeout", kDefaultPromptTimeout, 0, kMaxPromptTimeout, o.PromptTimeout);
  v.Boolean("WakeToAct", false, o.WakeToAct);
}

struct HotKeyDefault {
  std::string_view prefix;
  std::string_view key;
};
constexpr HotKeyDefault kBossHotKey{"Boss", "F1"};
constexpr HotKeyDefault kAltHotKey{"Boss2", "F11"};

// Loading: a value that cannot be converted leaves its target as it was.
class Reader {
 public:
  explicit Reader(const SettingsStore& store) : store_(store) {}

  std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const {
    return store_.GetValue(kAppName, section, key, fallback);
  }
  std::optional<std::int32_t> Integer(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    return DecodeInteger(Get(section, key, EncodeInteger(defaultValue)));
  }

  void Boolean(std::string_view key, bool defaultValue, bool& target) const {
    if (const auto value = DecodeBoolean(Get(kConfigSection, key, EncodeBoolean(defaultValue)))) target = *value;
  }
  void Text(std::string_view key, std::string_view defaultValue, std::string& target) const {
    target = Get(kConfigSection, key, defaultValue);
  }
  void Spin(std::string_view key, std::int32_t defaultValue, NumericSpin& target) const {
    const auto value = Integer(kConfigSection, key, defaultValue);
    if (value) target.SetValue(*value);
  }
  template <typename Enum>
  void Choice(std::string_view key, Enum& target, std::optional<Enum> (*at)(int)) const {
    const auto value = Integer(kConfigSection, key, 0);
    if (!value) return;
    if (const auto chosen = at(*value)) target = *chosen;
  }
  void Action(std::string_view key, ScheduleControls& c) const {
    const auto value = Integer(kConfigSection, key, 0);
    if (!value) return;
    if (const auto action = ActionAt(*value, c.lockOffered)) c.action = *action;
  }
  void Bounded(std::string_view key, std::int32_t defaultValue, std::int32_t low, std::int32_t high,
               std::int32_t& target) const {
    // Text that is no number at all keeps the default rather than reading as 0.
    const std::string text = Get(kConfigSection, key, EncodeInteger(defaultValue));
    if (!StartsWithNumber(text)) return;
    if (const auto value = DecodeInteger(text)) {
      target = std::clamp(*value, low, high);
    } else {
      target = LeadingNumber(text) < 0 ? low : high;
    }
  }
  // A newer box: text that is no number at all, or nothing, keeps the
  // default; a number takes the nearest value of the range.
  void BoundedSpin(std::string_view key, std::int32_t defaultValue, NumericSpin& target) const {
    const std::string text = Get(kConfigSection, key, EncodeInteger(defaultValue));
    if (!StartsWithNumber(text)) {
      target.SetValue(defaultValue);
    } else if (const auto value = DecodeInteger(text)) {
      target.SetValue(*value);
    } else {
      target.SetValue(LeadingNumber(text) < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max());
    }
  }
  void Method(std::string_view key, ScheduleControls& c) const {
    const auto method = Integer(kConfigSection, key, 1);
    if (!method) return;
    c.countdownMode = *method == 1;
    c.conditionMode = *method == 3;
  }

 private:
  const SettingsStore& store_;
};

class Writer {
 public:
  explicit Writer(SettingsStore& store) : store_(store) {}

  void Put(std::string_view section, std::string_view key, std::string_view value) {
    // Every value is tried: one refused leaves the others to be written.
    written_ = store_.SaveValue(kAppName, section, key, value) && written_;
  }
  bool AllWritten() const { return written_; }
  void Integer(std::string_view key, std::int64_t value) { Put(kConfigSection, key, EncodeInteger(value)); }

  void Boolean(std::string_view key, bool, bool value) { Put(kConfigSection, key, EncodeBoolean(value)); }
  void Text(std::string_view key, std::string_view, const std::string& value) { Put(kConfigSection, key, value); }
  // A box that is being edited is written as the value it reads as.
  void Spin(std::string_view key, std::int32_t, const NumericSpin& spin) { Integer(key, spin.value()); }
  void BoundedSpin(std::string_view key, std::int32_t, const NumericSpin& spin) { Integer(key, spin.value()); }
  template <typename Enum>
  void Choice(std::string_view key, Enum value, std::optional<Enum> (*)(int)) {
    Integer(key, IndexOf(value));
  }
  // The action is the first key written; see SaveSettings.
  void Action(std::string_view, const ScheduleControls&) {}
  void Method(std::string_view key, const ScheduleControls& c) {
    Integer(key, c.conditionMode ? 3 : c.countdownMode ? 1 : 2);
  }
  void Bounded(std::string_view key, std::int32_t, std::int32_t, std::int32_t, std::int32_t value) {
    Integer(key, value);
  }

 private:
  SettingsStore& store_;
  bool written_ = true;
};

}  // namespace

ScheduleControls ScheduleControls::WithActions(bool lockOffered) {
  ScheduleControls controls;
  controls.lockOffered = lockOffered;
  return controls;
}

void LoadSettings(const SettingsStore& store, ScheduleControls& controls, ProgramOptions& options, HotKeyPair hotKeys) {
  const Reader read(store);
  VisitScheduleKeys(read, controls, options);

  for (const auto& [hotKey, setting] : {std::pair{hotKeys.boss, kBossHotKey}, std::pair{hotKeys.alternative, kAltHotKey}}) {
    if (hotKey == nullptr) continue;
    hotKey->Init(kAppName, kConfigSection, setting.prefix);
    hotKey->SetEnabled(false);
    hotKey->ReadSetting(setting.key);
  }

  VisitOptionKeys(read, options);

  // A count above the list's room would make later saves and runs walk past
  // slot 100, so it is held at the number of slots actually loaded.
  const auto count = read.Integer(kTaskSectionOnLoad, "TaskCount", 0);
  if (!count) return;
  options.tasks.TaskCount = std::clamp<std::int32_t>(*count, 0, kMaxTasks);
  for (int n = 1; n <= options.tasks.TaskCount; ++n) {
    options.tasks.Tasks[static_cast<std::size_t>(n)] = read.Get(kTaskSection, "Task" + std::to_string(n), "");
  }
}

bool SaveSettings(SettingsStore& store, const ScheduleControls& controls, const ProgramOptions& options, HotKeyPair hotKeys) {
  Writer write(store);
  write.Integer("Action", IndexOf(controls.action));
  VisitScheduleKeys(write, controls, options);

  const bool bossWritten = hotKeys.boss == nullptr || hotKeys.boss->WriteSetting();
  const bool alternativeWritten = hotKeys.alternative == nullptr || hotKeys.alternative->WriteSetting();

  VisitOptionKeys(write, options);

  const std::int32_t count = std::clamp<std::int32_t>(options.tasks.TaskCount, 0, kMaxTasks);
  write.Put(kTaskSection, "TaskCount", EncodeInteger(count));
  for (int n = 1; n <= count; ++n) {
    write.Put(kTaskSection, "Task" + std::to_string(n), options.tasks.Tasks[static_cast<std::size_t>(n)]);
  }
  return write.AllWritten() && bossWritten && alternativeWritten;
}

bool NormalizeStartUp(SettingsStore& store) {
  const auto value = DecodeInteger(store.GetValue(kAppName, kConfigSection, "StartUp", "-1"));
  const bool on = value && (*value == -1 || *value == 1);
  // Normalising only tidies the stored text; a refused write changes nothing it returns.
  static_cast<void>(store.SaveValue(kAppName, kConfigSection, "StartUp", on ? "1" : "0"));
  return on;
}

std::string ChooseAppDataFolder(std::string_view environmentValue, const std::function<std::string()>& knownFolder) {
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const std::string_view v = environmentValue;
  const bool drivePath = v.size() >= 3 && isLetter(v[0]) && v[1] == ':' && v[2] == '\\';
  const bool networkPath = v.size() >= 3 && v[0] == '\\' && v[1] == '\\' && v[2] != '\\';
  return drivePath || networkPath ? std::string(environmentValue) : knownFolder();
}

std::string DataFolderPath(std::string_view appData) {
  std::string path(appData);
  path += '\\';
  path += kProductName;
  return path;
}

}  // namespace kelvane
