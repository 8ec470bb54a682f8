// Loading the whole settings model, the two boss keys included, from a store
// holding any text under any name: every value lands in its range, loading
// writes nothing, and saving after loading reaches a store that loads and
// saves unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <map>
#include <string>
#include <tuple>

#include "base/value_codec.h"
#include "bosskeys/hotkey_ctl.h"
#include "core/settings.h"
#include "fuzz/fuzz_support.h"

namespace kelvane::fuzz {
namespace {

// The store's case-insensitive names, with its writes counted.
class Store : public SettingsStore {
 public:
  std::string GetValue(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) const override {
    const auto it = values.find(Key(app, section, key));
    return it == values.end() ? std::string(defaultValue) : it->second;
  }
  bool SaveValue(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) override {
    values[Key(app, section, key)] = std::string(value);
    ++writes;
    return true;
  }
  static std::tuple<std::string, std::string, std::string> Key(std::string_view a, std::string_view s,
                                                               std::string_view k) {
    return {ToLowerAscii(a), ToLowerAscii(s), ToLowerAscii(k)};
  }
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  int writes = 0;
};

class Listener : public HotKeyCtlListener {
 public:
  void HotkeyPressed(HotKeyCtl&) override {}
  void ErrorOccured(HotKeyCtl&, const std::string&, const std::string&) override {}
};

// The names the settings read, so that most values land where they count.
constexpr std::array<std::string_view, 36> kNames = {
    "Force", "BlinkIcon", "BlinkSeconds", "Prompt", "TrayTips", "EnabledStart", "Action", "Method", "tPeriod",
    "tUnit", "tHour", "tMin", "tPMAM", "BossKeyHot", "BossKeyHotOn", "BossKeyCtrl", "BossKeyShift", "BossKeyAlt",
    "BossKeyWin", "Boss2KeyHot", "Boss2KeyHotOn", "Boss2KeyCtrl", "Boss2KeyShift", "Boss2KeyAlt", "Boss2KeyWin",
    "BossKeyDoExeAction", "BossKeyHideWindows", "BossKeyIgnorePrompt", "Boss2KeyHideWindows",
    "Boss2KeyIgnorePrompt", "Boss2KeyRunTasks", "Boss2KeyAction", "LockDuringTaskRun", "DoTaskRun", "KeepAwake",
    "PromptTimeout"};

// One program's settings: the model and its two hotkey controls.
// Like the program, the hotkeys keep their settings in the model's store.
struct Model {
  Model(Store& store, bool lockOffered) : store(store), controls(ScheduleControls::WithActions(lockOffered)) {}
  void Load() { LoadSettings(store, controls, options, {&boss, &alternative}); }
  void Save() { SaveSettings(store, controls, options, {&boss, &alternative}); }

  Store& store;
  Registrar registrar;
  WindowProcs procs;
  HotKeyHook hook{procs};
  Listener listener;
  ScheduleControls controls;
  ProgramOptions options;
  HotKeyCtl boss{0, registrar, hook, store, listener};
  HotKeyCtl alternative{0, registrar, hook, store, listener};
};

void RequireInRange(const NumericSpin& spin, const char* what) {
  Require(spin.value() >= spin.minimum() && spin.value() <= spin.maximum(), what);
}

}  // namespace
}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using namespace kelvane::fuzz;
  FuzzedDataProvider input(data, size);
  const bool lockOffered = input.ConsumeBool();
  Store stored;
  while (input.remaining_bytes() > 0) {
    const int kind = input.ConsumeIntegralInRange(0, 3);
    std::string section = kind == 3 ? std::string("TASK") : std::string("CONFIG");
    std::string key;
    switch (kind) {
      case 0: key = kNames[input.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)]; break;
      case 1: key = input.ConsumeRandomLengthString(24); break;
      case 2: section = input.ConsumeRandomLengthString(12); key = input.ConsumeRandomLengthString(24); break;
      default:
        key = input.ConsumeBool() ? "TaskCount" : "Task" + std::to_string(input.ConsumeIntegralInRange(-2, 104));
        break;
    }
    stored.values[Store::Key(kAppName, section, key)] = input.ConsumeRandomLengthString(4096);
  }

  Model first(stored, lockOffered);
  first.Load();
  Require(stored.writes == 0, "loading writes nothing");
  for (const NumericSpin* spin : {&first.controls.blinkSeconds, &first.controls.period, &first.controls.hour,
                                  &first.controls.minute}) {
    RequireInRange(*spin, "a loaded number lies in its box's range");
  }
  Require(first.options.tasks.TaskCount >= 0 && first.options.tasks.TaskCount <= kMaxTasks, "task count in range");
  Require(first.options.PromptTimeout >= 0 && first.options.PromptTimeout <= kMaxPromptTimeout,
          "prompt time-out in range");
  Require(first.controls.lockOffered || first.controls.action != PowerAction::LockComputer,
          "locking only where it is offered");

  first.Save();
  const auto saved = stored.values;
  Model second(stored, lockOffered);
  second.Load();
  second.Save();
  Require(stored.values == saved, "what was saved loads and saves the same");
  return 0;
}
