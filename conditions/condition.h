#pragma once
// Conditions that arm the action instead of a time: the computer left idle,
// a program that ends, or the network or the processor gone quiet. Each is a
// state machine fed by the samples its seam takes; the Win32 side only
// samples.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Stored as "Condition"; the list shows the names in this order.
enum class ConditionKind { Idle = 0, ProgramEnds = 1, NetworkQuiet = 2, ProcessorQuiet = 3 };
inline constexpr std::array<std::string_view, 4> kConditionNames{"Idle for", "Program ends", "Network quiet for",
                                                                 "Processor quiet for"};
std::optional<ConditionKind> ConditionAt(int index);

struct ConditionChoice {
  ConditionKind kind = ConditionKind::Idle;
  int minutes = 10;     // every condition but "Program ends"
  std::string program;  // "Program ends": the executable's file name
  // Below these the network or the processor counts as quiet: received and
  // sent together in KB/s (KB = 1024 bytes), and the busy share in percent.
  int kbps = 50;
  int percent = 10;
};

// The age of a 32-bit millisecond tick count, as the system's input time is
// given: the counter wraps after 49.7 days, and the difference still holds.
inline std::chrono::milliseconds TicksSince(std::uint32_t now, std::uint32_t then) {
  return std::chrono::milliseconds{static_cast<std::uint32_t>(now - then)};
}

// Octets an up network interface has received and sent since it started;
// the id tells one interface from another between samples.
struct InterfaceOctets {
  std::uint64_t id = 0;
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
};

// The processors' time since the system started, summed over all of them,
// in any one unit: the idle part and the whole (idle included).
struct ProcessorTimes {
  std::uint64_t idle = 0;
  std::uint64_t total = 0;
};

// A program with a window on the desktop, for the list to choose from.
struct RunningProgram {
  std::string executable;  // "blender.exe"
  std::string title;       // its main window's title
};
// The list's items: "blender.exe: Untitled - Blender", one per program and
// title, in the desktop's order (the window in front first).
std::vector<std::string> ProgramListItems(std::vector<RunningProgram> programs);
// The executable an item or a typed text names: before ": " (a file name
// has no colon), without a folder, without blanks around it.
std::string ExecutableOf(std::string_view text);

// Why a program's end cannot be waited for: "blender.exe is not running".
std::string NotRunningText(std::string_view program);

// What the conditions need from the system.
class ConditionSampler {
 public:
  virtual ~ConditionSampler() = default;
  // Time since the session's last keyboard or mouse input.
  virtual std::chrono::milliseconds SinceLastInput() = 0;
  // Starts waiting on every process of the executable in this session,
  // replacing an earlier wait; returns how many there are.
  virtual int WatchProgram(const std::string& executable) = 0;
  // How many of the processes waited on still run.
  virtual int WatchedProgramsRunning() = 0;
  // How many processes of the executable run in this session now, leaving
  // any wait as it is.
  virtual int CountProgram(const std::string& executable) = 0;
  virtual void StopWatching() = 0;
  virtual std::vector<RunningProgram> RunningPrograms() = 0;
  // The counters of every network interface that is up, loopback aside;
  // nullopt when the system gives none.
  virtual std::optional<std::vector<InterfaceOctets>> NetworkOctets() = 0;
  virtual std::optional<ProcessorTimes> SystemTimes() = 0;
};

// The shortest span a network or processor rate is measured over: shorter
// ones would show every burst, and change the status line at each tick.
inline constexpr std::chrono::seconds kQuietSampleSpan{5};
// A longer span means that the samples stopped, most likely because the
// computer slept: what happened meanwhile is not known.
inline constexpr std::chrono::minutes kQuietSampleGap{1};

// Why a quiet condition cannot be watched on this system (its figures cannot
// be read); nullopt for the other conditions, or when they can.
std::optional<std::string> QuietUnavailable(ConditionSampler& sampler, ConditionKind kind);

// One armed condition. Times are on the elapsed clock, which a clock change
// does not move.
class ConditionWatch {
 public:
  explicit ConditionWatch(ConditionSampler& sampler) : sampler_(sampler) {}

  // Starts watching; the text says why it cannot (a program that does not run).
  std::optional<std::string> Start(const ConditionChoice& choice, std::chrono::milliseconds now);
  void Stop();
  // Takes a sample; true once the condition holds.
  bool Update(std::chrono::milliseconds now);
  // Thresholds changed while armed hold from the next sample on; the quiet
  // stretch counted so far stays.
  void SetThresholds(int kbps, int percent) {
    choice_.kbps = kbps;
    choice_.percent = percent;
  }
  // "Idle 3 of 10 minutes", "Waiting for blender.exe to end",
  // "Network 12 KB/s, quiet 4 of 5 minutes".
  std::string Status() const;
  // "when idle for 10 minutes", "when blender.exe ends", "when the network
  // is quiet for 5 minutes".
  std::string Description() const;

 private:
  // The counters of one network or processor sample, with its time.
  struct QuietSample {
    std::chrono::milliseconds at{};
    std::vector<InterfaceOctets> interfaces;
    ProcessorTimes processor;
  };
  bool Quiet() const {
    return choice_.kind == ConditionKind::NetworkQuiet || choice_.kind == ConditionKind::ProcessorQuiet;
  }
  std::optional<QuietSample> TakeSample(std::chrono::milliseconds now);
  bool UpdateQuiet(std::chrono::milliseconds now);
  // Starts counting again from `sample`, as after the arming.
  void Rebase(QuietSample sample);

  ConditionSampler& sampler_;
  ConditionChoice choice_;
  bool watching_ = false;
  std::chrono::milliseconds armedAt_{};
  // "Idle for": the idle time; the quiet conditions: the quiet time.
  std::chrono::milliseconds idle_{};
  QuietSample baseline_;
  // Where the current quiet stretch began; nullopt while loud.
  std::optional<std::chrono::milliseconds> quietSince_;
  // The last rate measured, in KB/s or percent; nullopt before the first.
  std::optional<std::uint64_t> rate_;
};

}  // namespace kelvane
