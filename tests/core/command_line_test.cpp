#include "core/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvane {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> arguments;
  std::istringstream words(line);
  for (std::string word; words >> word;) arguments.push_back(word);
  return arguments;
}

struct ValidLine {
  const char* line;
  Command expected;
};

Command Arm(PowerAction action, bool countdown, int a, int b, std::optional<bool> prompt = std::nullopt,
            bool force = false) {
  Command c;
  c.kind = CommandKind::Arm;
  c.action = action;
  c.countdown = countdown;
  if (countdown) {
    c.period = a;
    c.unit = static_cast<CountdownUnit>(b);
  } else {
    c.hour = a;
    c.minute = b;
  }
  c.prompt = prompt;
  c.force = force;
  return c;
}

Command Only(CommandKind kind) {
  Command c;
  c.kind = kind;
  return c;
}

Command When(PowerAction action, ConditionKind kind, int minutes, const std::string& program, bool force = false) {
  Command c = Arm(action, false, 0, 0, std::nullopt, force);
  c.condition = true;
  c.conditionKind = kind;
  if (kind != ConditionKind::ProgramEnds) {
    c.period = minutes;
    c.unit = CountdownUnit::Minutes;
  }
  c.program = program;
  return c;
}

constexpr int kH = static_cast<int>(CountdownUnit::Hours);
constexpr int kM = static_cast<int>(CountdownUnit::Minutes);
constexpr int kS = static_cast<int>(CountdownUnit::Seconds);

TEST(CommandLine, UnderstandsEveryValidForm) {
  const ValidLine lines[] = {
      {"", Command{}},
      {"/?", Only(CommandKind::Help)},
      {"-STATUS", Only(CommandKind::Status)},
      {"/Disable", Only(CommandKind::Disable)},
      {"/shutdown /in 90s", Arm(PowerAction::Shutdown, true, 90, kS)},
      {"/restart /in 45m /prompt", Arm(PowerAction::Restart, true, 45, kM, true)},
      {"/in 2h /logoff", Arm(PowerAction::LogOff, true, 2, kH)},
      {"-suspend -in 3S -noprompt", Arm(PowerAction::Suspend, true, 3, kS, false)},
      {"/hibernate /in 999m /force", Arm(PowerAction::Hibernate, true, 999, kM, std::nullopt, true)},
      {"/LOCK /at 0:00", Arm(PowerAction::LockComputer, false, 0, 0)},
      {"/shutdown /at 23:59 /force /noprompt", Arm(PowerAction::Shutdown, false, 23, 59, false, true)},
      {"/shutdown /at 07:05", Arm(PowerAction::Shutdown, false, 7, 5)},
      {"/in 001s /suspend", Arm(PowerAction::Suspend, true, 1, kS)},
      {"/shutdown /when idle 20m", When(PowerAction::Shutdown, ConditionKind::Idle, 20, "")},
      {"/suspend /WHEN Program Blender.exe /force",
       When(PowerAction::Suspend, ConditionKind::ProgramEnds, 1, "Blender.exe", true)},
      {"/shutdown /when network 5m", When(PowerAction::Shutdown, ConditionKind::NetworkQuiet, 5, "")},
      {"-Hibernate -When NETWORK 999M", When(PowerAction::Hibernate, ConditionKind::NetworkQuiet, 999, "")},
      {"/suspend /when cpu 30m /force", When(PowerAction::Suspend, ConditionKind::ProcessorQuiet, 30, "", true)},
      {"/when Processor 1m /restart", When(PowerAction::Restart, ConditionKind::ProcessorQuiet, 1, "")},
  };
  for (const ValidLine& valid : lines) {
    SCOPED_TRACE(valid.line);
    const auto parsed = ParseCommandLine(Split(valid.line));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, valid.expected);
  }
}

TEST(CommandLine, RefusesEveryLineItCannotActOnWhole) {
  const char* const lines[] = {
      "shutdown",                       // not an option
      "/",                              // nothing after the slash
      "/reboot /in 5m",                 // unknown action
      "/shutdown",                      // no time
      "/in 5m",                         // no action
      "/noprompt",                      // an option alone
      "/shutdown /restart /in 5m",      // two actions
      "/shutdown /in 5m /at 10:00",     // two times
      "/shutdown /in 5m /in 6m",        // the time twice
      "/shutdown /in",                  // the value missing
      "/shutdown /in 0s",               // below the range
      "/shutdown /in 1000s",            // above it
      "/shutdown /in 5",                // no unit
      "/shutdown /in 5d",               // no such unit
      "/shutdown /in -5m",              // a sign
      "/shutdown /in s",                // no amount
      "/shutdown /at 25:00",            // no such hour
      "/shutdown /at 23:60",            // no such minute
      "/shutdown /at 23:5",             // one minute digit
      "/shutdown /at 123:00",           // three hour digits
      "/shutdown /at 2300",             // no colon
      "/shutdown /at :30",              // no hour
      "/shutdown /in 5m /prompt /noprompt",
      "/shutdown /in 5m /force /force",
      "/status /disable",               // stand-alone options together
      "/status /shutdown /in 5m",
      "/? /status",
      "/shutdown /when idle 20s",       // idle counts minutes
      "/shutdown /when idle 0m",
      "/shutdown /when idle",
      "/shutdown /when program",
      "/shutdown /when program /force", // an option is no program name
      "/shutdown /when sleep 5m",
      "/shutdown /when network 5s",     // quiet counts minutes
      "/shutdown /when network 0m",
      "/shutdown /when cpu 1000m",
      "/shutdown /when cpu",
      "/shutdown /when net 5m",         // no such condition
      "/shutdown /when network 5m /when cpu 5m",  // two conditions
      "/shutdown /when processor 5m /at 10:00",
      "/shutdown /when idle 20m /in 5m",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseCommandLine(Split(line)).has_value());
  }
}

TEST(CommandLine, RefusesALineOfMegabytes) {
  std::vector<std::string> arguments{"/shutdown", "/in", "5m", "/force"};
  EXPECT_TRUE(ParseCommandLine(arguments).has_value());
  arguments.push_back(std::string(4 * 1024 * 1024, 'x'));
  EXPECT_FALSE(ParseCommandLine(arguments).has_value());
  // Many short arguments add up as well.
  std::vector<std::string> many(kMaxCommandLineBytes, "/force");
  EXPECT_FALSE(ParseCommandLine(many).has_value());
}

TEST(CommandLine, PackedArgumentsComeBackAsTheyWere) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"/status"},
      {"/suspend", "/in", "3s", "/noprompt"},
      {"", "with blank", "caf\xC3\xA9"},
  };
  for (const auto& arguments : cases) {
    EXPECT_EQ(UnpackArguments(PackArguments(arguments)), arguments);
  }
  // A block cut off in the middle keeps what arrived, and parses no further.
  const std::string cut = PackArguments({"/shutdown", "/in", "5m"}).substr(0, 15);
  EXPECT_EQ(UnpackArguments(cut), (std::vector<std::string>{"/shutdown", "/in", "5"}));
  EXPECT_FALSE(ParseCommandLine(UnpackArguments(cut)).has_value());
}

TEST(CommandLine, ABlockFromAnotherProcessIsNeverUnpackedBeyondTheLineLimit) {
  // The running program unpacks whatever a WM_COPYDATA brings, from any
  // process, before the line's length is checked. A block of separators
  // alone must not turn into one object per byte (32 MB of them took a
  // gigabyte and six seconds of the window's thread).
  const struct {
    const char* what;
    std::string block;
  } cases[] = {
      {"separators", std::string(1 << 18, '\0')},
      {"one-letter arguments", [] {
         std::string b;
         for (int i = 0; i < (1 << 17); ++i) b += "x" + std::string(1, '\0');
         return b;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> arguments = UnpackArguments(c.block);
    EXPECT_LE(arguments.size(), kMaxCommandLineBytes);
    EXPECT_FALSE(ParseCommandLine(arguments).has_value());
  }
}

TEST(CommandLine, StatusNamesActionTimeAndSecondsLeft) {
  EXPECT_EQ(ArmedStatusText(PowerAction::Shutdown, LocalDateTime{2026, 12, 7, 23, 30, 0}, 4210),
            "Armed: Shutdown at 23:30:00, 4210 s left");
  EXPECT_EQ(ArmedStatusText(PowerAction::LogOff, LocalDateTime{2026, 1, 1, 7, 5, 9}, 0),
            "Armed: Log Off at 07:05:09, 0 s left");
}

}  // namespace
}  // namespace kelvane
