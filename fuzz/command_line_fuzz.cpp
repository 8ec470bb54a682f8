// libFuzzer target for the command-line parser: any block of bytes, read as
// the NUL-separated arguments a second start hands to the running program
// (where they come from any process), must parse or be refused without a
// fault, and what parses must parse the same again after a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view packed(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments = kelvane::UnpackArguments(packed);
  const auto command = kelvane::ParseCommandLine(arguments);
  const auto again = kelvane::ParseCommandLine(kelvane::UnpackArguments(kelvane::PackArguments(arguments)));
  if (command != again) std::abort();
  if (command && command->kind == kelvane::CommandKind::Arm) {
    const bool minutes = command->condition && command->conditionKind != kelvane::ConditionKind::ProgramEnds;
    const bool inRange = command->countdown || minutes ? command->period >= 1 && command->period <= 999
                         : command->condition          ? !command->program.empty()
                                                       : command->hour >= 0 && command->hour <= 23 &&
                                                    command->minute >= 0 && command->minute <= 59;
    if (!inRange) std::abort();
  }
  return 0;
}
