#pragma once
// The conditions' samples from the system: the session's last input, waits
// on the processes of one program, the network interfaces' octet counters
// and the processors' times.
#include <windows.h>

#include <vector>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"
#include "conditions/condition.h"

namespace kelvane {

class ConditionSamplerWin32 final : public ConditionSampler {
 public:
  std::chrono::milliseconds SinceLastInput() override;
  int WatchProgram(const std::string& executable) override;
  int WatchedProgramsRunning() override;
  int CountProgram(const std::string& executable) override;
  void StopWatching() override { processes_.clear(); }
  std::vector<RunningProgram> RunningPrograms() override;
  std::optional<std::vector<InterfaceOctets>> NetworkOctets() override;
  std::optional<ProcessorTimes> SystemTimes() override;

 private:
  // A handle, able to wait, to every process of the executable in this session.
  static std::vector<UniqueHandle> OpenProcessesOf(const std::string& executable);
  std::vector<UniqueHandle> processes_;
  // Not a KnownDLL; loaded when a network condition is first sampled.
  SystemLibrary iphlpapi_{L"iphlpapi.dll"};
};

}  // namespace kelvane
