#include <windows.h>

#include <gtest/gtest.h>

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
  const char* values[] = {"True", "", "12abc", "Ünïcode ✓ 日本語", "1\xC2\xA4" "1\xC2\xA4" "a\xC2\xA4" "b\xC2\xA4"};
  for (const char* value : values) {
    ASSERT_TRUE(store.SaveValue("KelvaneTest", "CONFIG", "Key", value));
    EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "Key", "<absent>"), value);
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
