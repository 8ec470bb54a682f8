#pragma once
// The hidden-windows record in a volatile key of the user's hive, which the
// system drops when the user signs out, as the windows it names go then too.
#include <string>

#include "bosskeys/hidden_record.h"

namespace kelvane {

class VolatileHiddenWindowsRecord : public HiddenWindowsRecord {
 public:
  // `key` below HKEY_CURRENT_USER; tests use their own. Its parent is an
  // ordinary key, created if missing.
  explicit VolatileHiddenWindowsRecord(std::wstring key = L"Software\\Kelvane\\Hidden");

  std::string Read() override;
  void Write(const std::string& text) override;
  void Clear() override;

 private:
  std::wstring key_;
};

}  // namespace kelvane
