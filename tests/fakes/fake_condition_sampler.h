#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "conditions/condition.h"

namespace kelvane::testing {

// Samples as the test sets them: the time since input, how many processes
// of the watched program run, the network's counters and the processors'
// times (nullopt: the system gives none).
class FakeConditionSampler : public ConditionSampler {
 public:
  std::chrono::milliseconds sinceInput{0};
  int found = 0;  // processes of the program at the start of a watch
  int running = 0;
  std::string watched;
  bool watching = false;

  std::chrono::milliseconds SinceLastInput() override { return sinceInput; }
  int WatchProgram(const std::string& executable) override {
    watched = executable;
    watching = true;
    running = found;
    return found;
  }
  int WatchedProgramsRunning() override { return running; }
  int CountProgram(const std::string&) override { return found; }
  void StopWatching() override { watching = false; }
  std::vector<RunningProgram> RunningPrograms() override { return programs; }
  std::vector<RunningProgram> programs;
  std::optional<std::vector<InterfaceOctets>> octets = std::vector<InterfaceOctets>{};
  std::optional<ProcessorTimes> times = ProcessorTimes{};
  std::optional<std::vector<InterfaceOctets>> NetworkOctets() override { return octets; }
  std::optional<ProcessorTimes> SystemTimes() override { return times; }
};

}  // namespace kelvane::testing
