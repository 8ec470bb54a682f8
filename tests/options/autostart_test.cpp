#include "options/autostart.h"

#include <gtest/gtest.h>

#include <map>

namespace kelvane {
namespace {

class MapRunKey : public RunKey {
 public:
  std::map<std::string, std::string> values;
  void SetValue(const std::string& name, const std::string& data) override { values[name] = data; }
  void DeleteValue(const std::string& name) override { values.erase(name); }
};

TEST(Autostart, EntryNamesTheProgramAndQuotesItsPath) {
  const struct {
    const char* path;
    const char* name;
    const char* data;
  } cases[] = {
      {"C:\\Program Files\\Kelvane\\kelvane.exe", "kelvane.Exe", "\"C:\\Program Files\\Kelvane\\kelvane.Exe\""},
      {"D:\\tools\\sleep.timer.EXE", "sleep.timer.Exe", "\"D:\\tools\\sleep.timer.Exe\""},
      {"E:\\kelvane.exe", "kelvane.Exe", "\"E:\\kelvane.Exe\""},
  };
  for (const auto& c : cases) {
    const AutostartEntry entry = AutostartEntryFor(c.path);
    EXPECT_EQ(entry.name, c.name);
    EXPECT_EQ(entry.data, c.data);
  }
}

TEST(Autostart, SwitchingOffRemovesAndOnRecreatesWithTheCurrentPath) {
  MapRunKey key;
  SetAutostart(key, "C:\\old\\kelvane.exe", true);
  SetAutostart(key, "C:\\old\\kelvane.exe", false);
  EXPECT_TRUE(key.values.empty());
  SetAutostart(key, "C:\\new place\\kelvane.exe", true);
  SetAutostart(key, "C:\\newer\\kelvane.exe", true);
  ASSERT_EQ(key.values.size(), 1u);
  EXPECT_EQ(key.values["kelvane.Exe"], "\"C:\\newer\\kelvane.Exe\"");
  SetAutostart(key, "C:\\newer\\kelvane.exe", false);
  SetAutostart(key, "C:\\newer\\kelvane.exe", false);
  EXPECT_TRUE(key.values.empty());
}

}  // namespace
}  // namespace kelvane
