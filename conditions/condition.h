#pragma once
// Conditions that arm the action instead of a time: the computer left idle,
// or a program that ends. Each is a state machine fed by the samples its
// seam takes; the Win32 side only samples.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Stored as "Condition"; the list shows the names in this order.
enum class ConditionKind { Idle = 0, ProgramEnds = 1 };
inline constexpr std::array<std::string_view, 2> kConditionNames{"Idle for", "Program ends"};
std::optional<ConditionKind> ConditionAt(int index);

struct ConditionChoice {
  ConditionKind kind = ConditionKind::Idle;
  int minutes = 10;     // "Idle for"
  std::string program;  // "Program ends": the executable's file name
};

// The age of a 32-bit millisecond tick count, as the system's input time is
// given: the counter wraps after 49.7 days, and the difference still holds.
inline std::chrono::milliseconds TicksSince(std::uint32_t now, std::uint32_t then) {
  return std::chrono::milliseconds{static_cast<std::uint32_t>(now - then)};
}

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
};

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
  // "Idle 3 of 10 minutes", "Waiting for blender.exe to end".
  std::string Status() const;
  // "when idle for 10 minutes", "when blender.exe ends".
  std::string Description() const;

 private:
  ConditionSampler& sampler_;
  ConditionChoice choice_;
  bool watching_ = false;
  std::chrono::milliseconds armedAt_{};
  std::chrono::milliseconds idle_{};
};

}  // namespace kelvane
