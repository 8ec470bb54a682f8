// The runner's outside text: path-variable expansion of any command line with
// any folder texts, the task list as stored, and the log's trim against any
// size the file reports. Expansion never feeds on its own output; enabled
// tasks with a command line run in slot order; the log is deleted exactly
// when it is over its limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_time.h"
#include "fuzz/fuzz_support.h"
#include "tasks/task_runner.h"

namespace kelvane::fuzz {
namespace {

class Process : public StartedProcess {
 public:
  explicit Process(int waits) : waits_(waits) {}
  ProcessWait WaitFor(std::chrono::milliseconds) override {
    return waits_-- > 0 ? ProcessWait::TimedOut : ProcessWait::Ended;
  }
  bool Close() override { return true; }

 private:
  int waits_;
};

class System : public ProcessLauncher, public MessagePump, public EnvironmentReader, public TaskLogFile {
 public:
  std::unique_ptr<StartedProcess> Start(const std::string& commandLine) override {
    started.push_back(commandLine);
    clock.Advance(std::chrono::milliseconds{1500});
    return std::make_unique<Process>(2);
  }
  void ProcessPendingMessages() override { clock.Advance(std::chrono::milliseconds{1000}); }
  std::string Variable(std::string_view name) const override { return name == "WinDir" ? winDir : systemRoot; }
  std::optional<std::uint64_t> Size(const std::string&) override { return size; }
  bool Remove(const std::string&) override {
    Require(size && *size > kLimit, "only a log over its limit is deleted");
    size = 0;
    return true;
  }
  bool Append(const std::string&, std::string_view text) override {
    Require(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n", "a log line ends with CRLF");
    Require(!size || *size <= kLimit, "a line is added only to a log within its limit");
    if (size) *size += text.size();
    ++appends;
    return true;
  }

  testing::FakeClock clock;
  testing::FakeZone zone;
  std::string systemRoot;
  std::string winDir;
  std::optional<std::uint64_t> size;
  std::vector<std::string> started;
  static constexpr std::uint64_t kLimit = kDefaultMaxLogSize;
  int appends = 0;
};

}  // namespace
}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using namespace kelvane::fuzz;
  FuzzedDataProvider input(data, size);
  const PathVariables variables{input.ConsumeRandomLengthString(64), input.ConsumeRandomLengthString(64),
                                input.ConsumeRandomLengthString(64)};
  const std::string commandLine = input.ConsumeRandomLengthString(1024);

  // Expansion.
  const std::string expanded = ExpandPathVariables(commandLine, variables);
  if (commandLine.find('%') == std::string::npos) Require(expanded == commandLine, "nothing to expand");
  Require(ExpandPathVariables(commandLine, {"%KLAPPDATA%", "%SYS32%", "%WINDIR%"}) == commandLine,
          "a variable that expands to itself is not expanded again");

  // A run of a stored list, logged to a file of any size.
  System system;
  // Instants a Windows clock can show: the years 1601 to 30827.
  system.clock = testing::FakeClock(Instant{std::chrono::milliseconds{
      input.ConsumeIntegralInRange<std::int64_t>(-11644473600000, 910692730085000)}});
  system.zone = testing::FakeZone(std::chrono::seconds{input.ConsumeIntegralInRange(-14 * 3600, 14 * 3600)});
  system.systemRoot = input.ConsumeRandomLengthString(32);
  system.winDir = input.ConsumeRandomLengthString(32);
  if (input.ConsumeBool()) system.size = input.ConsumeIntegral<std::uint64_t>();
  TaskList tasks;
  tasks.TaskCount = input.ConsumeIntegralInRange(-2, kMaxTasks + 2);
  for (int n = 1; n <= kMaxTasks && input.remaining_bytes() > 0; ++n) {
    tasks.Tasks[static_cast<std::size_t>(n)] = input.ConsumeRandomLengthString(256);
  }
  const std::string note = input.ConsumeRemainingBytesAsString();

  TaskRunner runner({system, system, system.clock, system.zone, system, system}, "C:\\Users\\u\\AppData\\Kelvane");
  runner.RunTasks(tasks);
  std::vector<std::string> expected;
  for (int slot = 1; slot <= std::min(tasks.TaskCount, kMaxTasks); ++slot) {
    const TaskRecord task = GetTaskRecord(tasks, slot);
    if (task.enabled && !task.commandLine.empty()) {
      expected.push_back(ExpandPathVariables(task.commandLine, runner.CurrentPathVariables()));
    }
  }
  Require(system.started == expected, "enabled tasks with a command line run in slot order");
  Require(system.appends == static_cast<int>(expected.size()), "each run is logged");
  runner.LogNote(note);
  return 0;
}
