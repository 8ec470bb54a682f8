#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bosskeys/hidden_record_win32.h"

namespace kelvane {
namespace {

constexpr const wchar_t* kParent = L"Software\\KelvaneTest";
constexpr const wchar_t* kKey = L"Software\\KelvaneTest\\Hidden";

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The system refuses an ordinary key below a volatile one.
LSTATUS CreateOrdinaryKeyBelow(const std::wstring& path) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, (path + L"\\Child").c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &key, nullptr);
  if (key != nullptr) RegCloseKey(key);
  return status;
}

class VolatileRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kParent); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kParent); }
  VolatileHiddenWindowsRecord record{kKey};
};

TEST_F(VolatileRecordTest, WrittenTextIsReadBackUntilCleared) {
  EXPECT_EQ(record.Read(), "");
  const std::string text = "196626 3 4012 Fenêtre ✓\n196628 1 4012 Notepad\n";
  record.Write(text);
  EXPECT_EQ(record.Read(), text);
  EXPECT_EQ(VolatileHiddenWindowsRecord(kKey).Read(), text) << "another object, as after a restart";
  record.Clear();
  EXPECT_EQ(record.Read(), "");
  EXPECT_FALSE(KeyExists(kKey));
  record.Clear();  // nothing left to remove
}

TEST_F(VolatileRecordTest, TheKeyIsVolatileAndItsParentOrdinary) {
  // An ordinary key left at the place, as garbage might be, is made anew.
  ASSERT_EQ(CreateOrdinaryKeyBelow(kKey), ERROR_SUCCESS);
  record.Write("1 1 1 A\n");
  EXPECT_EQ(CreateOrdinaryKeyBelow(kKey), ERROR_CHILD_MUST_BE_VOLATILE);
  EXPECT_EQ(CreateOrdinaryKeyBelow(kParent), ERROR_SUCCESS) << "the settings live beside it";
}

TEST_F(VolatileRecordTest, AValueThatIsNotTextReadsAsNoRecord) {
  record.Write("1 1 1 A\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  const DWORD number = 7;
  const BYTE bytes[] = {0x31, 0x20, 0x31, 0x20, 0x31, 0x20, 0x41, 0x0A};
  const struct {
    DWORD type;
    const BYTE* data;
    DWORD size;
  } values[] = {{REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number},
                {REG_BINARY, bytes, sizeof bytes},
                {REG_MULTI_SZ, reinterpret_cast<const BYTE*>(L"1 1 1 A\0"), 18}};
  for (const auto& value : values) {
    SCOPED_TRACE(value.type);
    ASSERT_EQ(RegSetValueExW(key, L"Windows", 0, value.type, value.data, value.size), ERROR_SUCCESS);
    EXPECT_EQ(record.Read(), "");
  }
  // Text without its terminating zero is still read whole.
  const wchar_t unterminated[] = {L'1', L' ', L'1', L' ', L'1', L' ', L'A'};
  ASSERT_EQ(RegSetValueExW(key, L"Windows", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated),
                           sizeof unterminated),
            ERROR_SUCCESS);
  EXPECT_EQ(record.Read(), "1 1 1 A");
  RegCloseKey(key);
}

}  // namespace
}  // namespace kelvane
