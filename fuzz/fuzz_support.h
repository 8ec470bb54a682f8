#pragma once
// What the fuzz targets share: a way to stop on a broken promise that the
// sanitizers cannot see, and fakes of the hotkey seams without GoogleTest.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bosskeys/hotkey_api.h"
#include "bosskeys/hotkey_hook.h"

namespace kelvane::fuzz {

// libFuzzer keeps the input of any abort as a finding.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// Global atoms with use counts; every registration succeeds.
class Registrar : public HotKeyRegistrar {
 public:
  std::uint16_t AddGlobalAtom(const std::string& name) override {
    for (auto& [atom, entry] : atoms_) {
      if (entry.first == name) {
        ++entry.second;
        return atom;
      }
    }
    atoms_[next_] = {name, 1};
    return next_++;
  }
  std::string GlobalAtomName(std::uint16_t atom) const override {
    const auto it = atoms_.find(atom);
    return it == atoms_.end() ? std::string() : it->second.first;
  }
  void DeleteGlobalAtom(std::uint16_t atom) override {
    const auto it = atoms_.find(atom);
    Require(it != atoms_.end() && it->second.second > 0, "an atom is released once per use");
    if (--it->second.second == 0) atoms_.erase(it);
  }
  bool RegisterHotKey(WindowId, int, std::uint32_t, std::uint32_t) override { return true; }
  bool UnregisterHotKey(WindowId, int) override { return true; }
  std::string LastErrorText() const override { return {}; }
  bool Balanced() const { return atoms_.empty(); }

 private:
  std::map<std::uint16_t, std::pair<std::string, int>> atoms_;
  std::uint16_t next_ = 0xC001;
};

class WindowProcs : public HotKeyWindowProcs {
 public:
  void Hook(WindowId, HotKeyMessageSink&) override {}
  void Unhook(WindowId) override {}
  bool StartKeyPoll(WindowId) override { return false; }
  void StopKeyPoll(WindowId) override {}
  bool IsKeyDown(std::uint32_t) const override { return false; }
};

}  // namespace kelvane::fuzz
