#include "core/command_line.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/value_codec.h"

namespace kelvane {
namespace {

struct ActionOption {
  std::string_view name;
  PowerAction action;
};
constexpr std::array<ActionOption, 6> kActionOptions{{
    {"shutdown", PowerAction::Shutdown},
    {"restart", PowerAction::Restart},
    {"logoff", PowerAction::LogOff},
    {"suspend", PowerAction::Suspend},
    {"hibernate", PowerAction::Hibernate},
    {"lock", PowerAction::LockComputer},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits only, no sign, at most `maxDigits` of them.
std::optional<int> Digits(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "90s", "45m", "2h": 1 to 999 of the unit, as the window's period box takes.
bool ParseIn(std::string_view text, Command& command) {
  if (text.size() < 2) return false;
  const char unit = text.back();
  const auto amount = Digits(text.substr(0, text.size() - 1), 3);
  if (!amount || *amount < 1) return false;
  switch (unit) {
    case 'h': command.unit = CountdownUnit::Hours; break;
    case 'm': command.unit = CountdownUnit::Minutes; break;
    case 's': command.unit = CountdownUnit::Seconds; break;
    default: return false;
  }
  command.countdown = true;
  command.period = *amount;
  return true;
}

// "23:30" or "7:05", on the 24-hour clock.
bool ParseAt(std::string_view text, Command& command) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || text.size() - colon != 3) return false;
  const auto hour = Digits(text.substr(0, colon), 2);
  const auto minute = Digits(text.substr(colon + 1), 2);
  if (!hour || !minute || *hour > 23 || *minute > 59) return false;
  command.countdown = false;
  command.hour = *hour;
  command.minute = *minute;
  return true;
}

// "idle 20m", "network 5m", "cpu 5m" (or "processor 5m"), or "program
// blender.exe".
bool ParseWhen(std::string_view kind, const std::string& value, Command& command) {
  if (kind == "idle" || kind == "network" || kind == "cpu" || kind == "processor") {
    if (!ParseIn(ToLowerAscii(value), command) || command.unit != CountdownUnit::Minutes) return false;
    command.conditionKind = kind == "idle"      ? ConditionKind::Idle
                            : kind == "network" ? ConditionKind::NetworkQuiet
                                                : ConditionKind::ProcessorQuiet;
  } else if (kind == "program" && !value.empty() && value.size() <= 260 && value[0] != '/' && value[0] != '-') {
    command.conditionKind = ConditionKind::ProgramEnds;
    // Processes are known by their file name; a folder typed with it would
    // match none.
    command.program = ExecutableOf(value);
    if (command.program.empty()) return false;
  } else {
    return false;
  }
  command.condition = true;
  command.countdown = false;
  return true;
}

}  // namespace

std::optional<Command> ParseCommandLine(const std::vector<std::string>& arguments) {
  std::size_t bytes = 0;
  for (const std::string& argument : arguments) bytes += argument.size() + 1;
  if (bytes > kMaxCommandLineBytes) return std::nullopt;

  Command command;
  bool standalone = false;  // "/?", "/status" or "/disable"
  bool hasAction = false;
  bool hasTime = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return std::nullopt;
    const std::string name = ToLowerAscii(std::string_view(argument).substr(1));
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return ToLowerAscii(arguments[++i]);
    };
    if (name == "?" || name == "status" || name == "disable") {
      if (arguments.size() != 1) return std::nullopt;
      standalone = true;
      command.kind = name == "?" ? CommandKind::Help : name == "status" ? CommandKind::Status : CommandKind::Disable;
    } else if (name == "in" || name == "at") {
      const auto text = value();
      if (hasTime || !text || !(name == "in" ? ParseIn(*text, command) : ParseAt(*text, command))) return std::nullopt;
      hasTime = true;
    } else if (name == "when") {
      if (hasTime || i + 2 >= arguments.size()) return std::nullopt;
      const std::string kind = ToLowerAscii(arguments[++i]);
      if (!ParseWhen(kind, arguments[++i], command)) return std::nullopt;
      hasTime = true;
    } else if (name == "prompt" || name == "noprompt") {
      if (command.prompt) return std::nullopt;
      command.prompt = name == "prompt";
    } else if (name == "force") {
      if (command.force) return std::nullopt;
      command.force = true;
    } else {
      const auto* found = std::find_if(kActionOptions.begin(), kActionOptions.end(),
                                       [&](const ActionOption& option) { return option.name == name; });
      if (found == kActionOptions.end() || hasAction) return std::nullopt;
      hasAction = true;
      command.action = found->action;
    }
  }
  if (standalone) return command;
  // Options without an action, or an action without its time, are half a command.
  if (hasAction != hasTime || (!hasAction && !arguments.empty())) return std::nullopt;
  if (hasAction) command.kind = CommandKind::Arm;
  return command;
}

std::string UsageText() {
  return "Usage: kelvane.exe [action time [options] | /disable | /status | /?]\n"
         "\n"
         "  action   /shutdown, /restart, /logoff, /suspend, /hibernate or /lock\n"
         "  time     /in 90s, /in 45m, /in 2h (1 to 999), /at 23:30 (24-hour clock),\n"
         "           /when idle 20m, /when network 5m or /when cpu 5m (minutes quiet),\n"
         "           or /when program blender.exe\n"
         "  options  /prompt or /noprompt, /force\n"
         "  /disable disarms; /status tells whether Kelvane is armed (exit code 0) or not (1)\n"
         "\n"
         "Options may start with - instead of /. A running Kelvane arms as its Enable\n"
         "button does; otherwise Kelvane starts and arms. Bad arguments change\n"
         "nothing and end with exit code 2.\n";
}

std::string PackArguments(const std::vector<std::string>& arguments) {
  std::string packed;
  for (const std::string& argument : arguments) {
    packed += argument;
    packed += '\0';
  }
  return packed;
}

std::vector<std::string> UnpackArguments(std::string_view packed) {
  // Any process may send the block. One longer than a command line may be
  // comes back as one argument too long to parse, not unpacked piece by piece.
  if (packed.size() > kMaxCommandLineBytes) return {std::string(packed.substr(0, kMaxCommandLineBytes + 1))};
  std::vector<std::string> arguments;
  while (!packed.empty()) {
    const std::size_t end = packed.find('\0');
    // A block that does not end in a NUL was cut off; its last piece is kept
    // and will not parse if it was part of one.
    arguments.emplace_back(packed.substr(0, end));
    if (end == std::string_view::npos) break;
    packed.remove_prefix(end + 1);
  }
  return arguments;
}

std::string ArmedStatusText(PowerAction action, const LocalDateTime& target, std::int64_t secondsLeft) {
  const std::string_view name = ActionName(action);
  char text[96];
  std::snprintf(text, sizeof text, "Armed: %.*s at %02d:%02d:%02d, %lld s left", static_cast<int>(name.size()),
                name.data(), target.hour, target.minute, target.second, static_cast<long long>(secondsLeft));
  return text;
}

}  // namespace kelvane
