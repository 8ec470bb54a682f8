#pragma once
// The program's command line: what a script may ask of Kelvane, parsed and
// checked before anything changes. A second start hands its arguments to the
// running program, which parses them again (any process can send them).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/condition.h"
#include "core/schedule.h"
#include "power/power.h"

namespace kelvane {

enum class CommandKind { Start, Help, Status, Disable, Arm };

struct Command {
  CommandKind kind = CommandKind::Start;
  PowerAction action = PowerAction::Shutdown;
  // "/in": a countdown of `period` units; "/at": the local clock time.
  bool countdown = true;
  int period = 1;
  CountdownUnit unit = CountdownUnit::Hours;
  int hour = 0;  // 0 to 23
  int minute = 0;
  // "/when idle 20m", "/when network 5m", "/when cpu 5m" (minutes in
  // `period`) or "/when program blender.exe".
  bool condition = false;
  ConditionKind conditionKind = ConditionKind::Idle;
  std::string program;
  // Left as the window shows it unless given.
  std::optional<bool> prompt;
  bool force = false;
  friend bool operator==(const Command&, const Command&) = default;
};

// Exit codes of a start with arguments.
inline constexpr int kExitOk = 0;
// "/status" while disarmed, and a command the running program refused.
inline constexpr int kExitNotArmed = 1;
inline constexpr int kExitUsage = 2;

// More than this is no command line a person or a script writes.
inline constexpr std::size_t kMaxCommandLineBytes = 1024;

// nullopt: the line is not understood, and nothing may change.
std::optional<Command> ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

// The arguments as one block for another process and back: each argument
// ends in a NUL.
std::string PackArguments(const std::vector<std::string>& arguments);
std::vector<std::string> UnpackArguments(std::string_view packed);

// "Armed: Shutdown at 23:30:00, 4210 s left".
std::string ArmedStatusText(PowerAction action, const LocalDateTime& target, std::int64_t secondsLeft);

}  // namespace kelvane
