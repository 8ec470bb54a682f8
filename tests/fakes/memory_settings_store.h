#pragma once
#include <map>
#include <string>
#include <tuple>

#include "base/settings_store.h"
#include "base/value_codec.h"

namespace kelvane::testing {

// In-memory store with the real store's case-insensitive names; also counts
// writes so tests can tell that loading writes nothing.
class MemorySettingsStore : public SettingsStore {
 public:
  std::string GetValue(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) const override {
    const auto it = values_.find(Key(app, section, key));
    return it == values_.end() ? std::string(defaultValue) : it->second;
  }
  bool SaveValue(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) override {
    if (readOnly) return false;
    values_[Key(app, section, key)] = std::string(value);
    ++writes_;
    return true;
  }
  // Refuses every write, as a key the user may only read does.
  bool readOnly = false;
  bool Has(std::string_view section, std::string_view key) const {
    return values_.count(Key(kAppName, section, key)) != 0;
  }
  std::string Get(std::string_view section, std::string_view key) const {
    return GetValue(kAppName, section, key, "<absent>");
  }
  void Set(std::string_view section, std::string_view key, std::string_view value) {
    values_[Key(kAppName, section, key)] = std::string(value);
  }
  int writes() const { return writes_; }

 private:
  using Triple = std::tuple<std::string, std::string, std::string>;
  static Triple Key(std::string_view a, std::string_view s, std::string_view k) {
    return {ToLowerAscii(a), ToLowerAscii(s), ToLowerAscii(k)};
  }
  std::map<Triple, std::string> values_;
  int writes_ = 0;
};

}  // namespace kelvane::testing
