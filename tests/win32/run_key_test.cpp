#include <windows.h>

#include <gtest/gtest.h>

#include "options/autostart.h"
#include "options/run_key_win32.h"

namespace kelvane {
namespace {

constexpr const wchar_t* kTestRun = L"Software\\KelvaneTest\\Run";

std::wstring Value(const wchar_t* name) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, kTestRun, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"<absent>";
  }
  return data;
}

TEST(RunKeyWin32, AutostartWritesAndRemovesTheQuotedPath) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  RegistryRunKey runKey(kTestRun);
  SetAutostart(runKey, "C:\\Program Files\\Kelvane\\kelvane.exe", true);
  EXPECT_EQ(Value(L"kelvane.Exe"), L"\"C:\\Program Files\\Kelvane\\kelvane.Exe\"");
  SetAutostart(runKey, "C:\\Program Files\\Kelvane\\kelvane.exe", false);
  EXPECT_EQ(Value(L"kelvane.Exe"), L"<absent>");
  SetAutostart(runKey, "C:\\Program Files\\Kelvane\\kelvane.exe", false);  // removing twice is harmless
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
}

TEST(RunKeyWin32, AMissingRunKeyIsSilent) {
  RegistryRunKey runKey(L"Software\\KelvaneTest\\DoesNotExist");
  SetAutostart(runKey, "C:\\kelvane.exe", true);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\KelvaneTest\\DoesNotExist", 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

}  // namespace
}  // namespace kelvane
