#pragma once
#include <optional>
#include <string>
#include <vector>

#include "power/power.h"

namespace kelvane::testing {

// Records every power call into a shared log, answering with `succeed`.
class RecordingPowerApi : public PowerApi {
 public:
  explicit RecordingPowerApi(std::vector<std::string>* log = nullptr) : log_(log ? log : &own_) {}
  ReportedVersion version{2, 6, 1, 7601};
  bool succeed = true;

  ReportedVersion QueryVersion() override { return version; }
  void SetShutdownPrivilege(bool enable) override { log_->push_back(enable ? "privilege on" : "privilege off"); }
  bool ExitSession(std::uint32_t flags) override {
    log_->push_back("exit " + std::to_string(flags));
    return succeed;
  }
  bool SetSuspendState(bool hibernate, bool force, bool wake) override {
    log_->push_back(std::string("suspend ") + (hibernate ? "1" : "0") + (force ? "1" : "0") + (wake ? "1" : "0"));
    return succeed;
  }
  bool LockWorkStation() override {
    log_->push_back("lock");
    return succeed;
  }
  void KeepSystemAwake(bool on) override { awake = on; }
  void SetWakeTimer(std::optional<Instant> at) override { wakes.push_back(at); }
  std::vector<std::optional<Instant>> wakes;
  const std::vector<std::string>& calls() const { return *log_; }
  bool awake = false;

 private:
  std::vector<std::string> own_;
  std::vector<std::string>* log_;
};

}  // namespace kelvane::testing
