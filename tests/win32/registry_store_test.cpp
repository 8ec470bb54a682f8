#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles_win32.h"
#include "base/registry_settings_store_win32.h"
#include "win32/support/read_only_key.h"

namespace kelvane {
namespace {

class RegistryStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KelvaneTest"); }
  RegistrySettingsStore store{"Software"};
};

TEST_F(RegistryStoreTest, MissingValuesGiveTheDefault) {
  EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "Nothing", "fallback"), "fallback");
}

TEST_F(RegistryStoreTest, ValuesRoundTripThroughTheRegistry) {
  // Around the length read in one query, and far beyond it.
  const std::string values[] = {"True", "", "12abc", "Ünïcode ✓ 日本語", "1\xC2\xA4" "1\xC2\xA4" "a\xC2\xA4" "b\xC2\xA4",
                                std::string(126, 'a'), std::string(127, 'b'), std::string(128, 'c'),
                                std::string(129, 'd'), std::string(5000, 'e')};
  for (const std::string& value : values) {
    SCOPED_TRACE(value.size());
    ASSERT_TRUE(store.SaveValue("KelvaneTest", "CONFIG", "Key", value));
    EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "Key", "<absent>"), value);
  }
}

// Values that another program wrote as the registry allows.
TEST_F(RegistryStoreTest, ForeignValuesReadAsTheirTextOrTheDefault) {
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KelvaneTest\\CONFIG", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &raw, nullptr),
            ERROR_SUCCESS);
  const UniqueKey key(raw);
  const std::wstring longText(300, L'w');
  const DWORD number = 7;
  const struct {
    DWORD type;
    const void* data;
    DWORD bytes;
    std::string expected;
  } cases[] = {
      {REG_SZ, L"short", 5 * sizeof(wchar_t), "short"},  // without its terminating zero
      {REG_SZ, longText.c_str(), 300 * sizeof(wchar_t), std::string(300, 'w')},
      {REG_SZ, L"cut\0after", 10 * sizeof(wchar_t), "cut"},
      {REG_EXPAND_SZ, L"%APPDATA%", 10 * sizeof(wchar_t), "%APPDATA%"},
      {REG_DWORD, &number, sizeof number, "<absent>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    ASSERT_EQ(RegSetValueExW(key.get(), L"Foreign", 0, c.type, static_cast<const BYTE*>(c.data), c.bytes), ERROR_SUCCESS);
    EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "Foreign", "<absent>"), c.expected);
  }
}

TEST_F(RegistryStoreTest, NamesMatchWithoutRegardToCase) {
  ASSERT_TRUE(store.SaveValue("KelvaneTest", "TASK", "TaskCount", "3"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "Task", "taskcount", "0"), "3");
  ASSERT_TRUE(store.SaveValue("KelvaneTest", "task", "TASKCOUNT", "4"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "TASK", "TaskCount", "0"), "4");
}

TEST_F(RegistryStoreTest, SectionsLiveUnderTheApplicationKey) {
  ASSERT_TRUE(store.SaveValue("KelvaneTest", "CONFIG", "Force", "False"));
  wchar_t data[32] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\KelvaneTest\\CONFIG", L"Force", RRF_RT_REG_SZ, nullptr, data,
                         &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(data, L"False");
}

TEST_F(RegistryStoreTest, AValueRefusedIsNotReportedAsSavedAndTheOldOneStays) {
  ASSERT_TRUE(store.SaveValue("KelvaneTest", "CONFIG", "tPeriod", "5"));
  const testing::ReadOnlyKey readOnly(L"Software\\KelvaneTest\\CONFIG");
  ASSERT_TRUE(readOnly.made());

  EXPECT_FALSE(store.SaveValue("KelvaneTest", "CONFIG", "tPeriod", "42"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "tPeriod", "<absent>"), "5");
  EXPECT_FALSE(store.SaveValue("KelvaneTest", "CONFIG", "NewValue", "1"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "NewValue", "<absent>"), "<absent>");
  // Other sections are written as before.
  EXPECT_TRUE(store.SaveValue("KelvaneTest", "TASK", "TaskCount", "0"));
}

}  // namespace
}  // namespace kelvane
