#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles_win32.h"
#include "base/registry_settings_store_win32.h"

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

// A key whose access list lets the user read but not write, as an
// administrator's policy may leave it.
TEST_F(RegistryStoreTest, AValueRefusedIsNotReportedAsSavedAndTheOldOneStays) {
  ASSERT_TRUE(store.SaveValue("KelvaneTest", "CONFIG", "tPeriod", "5"));
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\KelvaneTest\\CONFIG", 0, WRITE_DAC | KEY_READ, &raw),
            ERROR_SUCCESS);
  const UniqueKey key(raw);
  SECURITY_DESCRIPTOR readOnly{};
  ASSERT_TRUE(InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION));
  // Everyone may read; nobody is granted anything else.
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  alignas(DWORD) unsigned char aclBytes[256];
  auto* acl = reinterpret_cast<ACL*>(aclBytes);
  ASSERT_TRUE(InitializeAcl(acl, sizeof aclBytes, ACL_REVISION));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE));
  const LONG set = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &readOnly);
  FreeSid(everyone);
  ASSERT_EQ(set, ERROR_SUCCESS);

  EXPECT_FALSE(store.SaveValue("KelvaneTest", "CONFIG", "tPeriod", "42"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "tPeriod", "<absent>"), "5");
  EXPECT_FALSE(store.SaveValue("KelvaneTest", "CONFIG", "NewValue", "1"));
  EXPECT_EQ(store.GetValue("KelvaneTest", "CONFIG", "NewValue", "<absent>"), "<absent>");
  // Other sections are written as before.
  EXPECT_TRUE(store.SaveValue("KelvaneTest", "TASK", "TaskCount", "0"));

  // Open to all again, so that the key can be deleted.
  SECURITY_DESCRIPTOR open{};
  InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
  EXPECT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &open), ERROR_SUCCESS);
}

}  // namespace
}  // namespace kelvane
