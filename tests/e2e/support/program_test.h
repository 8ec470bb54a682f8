#pragma once
// The fixture of the end-to-end tests: a clean store and power log per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/control_ids.h"
#include "e2e/support/driver.h"

namespace kelvane::e2e {

constexpr const wchar_t* kConfig = L"Software\\Kelvane\\CONFIG";
constexpr const wchar_t* kTasks = L"Software\\Kelvane\\TASK";
constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

inline int Id(MainControl control) { return static_cast<int>(control); }
inline int Id(PromptControl control) { return static_cast<int>(control); }

inline std::wstring AppData() {
  wchar_t value[MAX_PATH] = {};
  GetEnvironmentVariableW(L"APPDATA", value, MAX_PATH);
  return value;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteRegistryTree(L"Software\\Kelvane");
    DeleteFileW(powerLog_.c_str());
  }
  std::string PowerCalls() const { return ReadFileText(powerLog_); }
  bool PowerCalled(const std::string& call) const { return PowerCalls().find(call) != std::string::npos; }

  // A countdown of `seconds`, armed from the window.
  static void ArmSeconds(HWND main, const wchar_t* seconds) {
    SelectComboIndex(main, Id(MainControl::cmbUnit), 2);
    SetControlText(main, Id(MainControl::txtPeriod), seconds);
    Click(main, Id(MainControl::cmdTimer));
  }
  static bool Armed(HWND main) { return ControlText(main, Id(MainControl::cmdTimer)) == L"&Disable"; }
  // Stores task `slot` as its record string.
  static void StoreTask(int slot, bool enabled, const std::wstring& name, const std::wstring& command) {
    const std::wstring sign = L"\u00A4";
    SetRegistryText(kTasks, L"Task" + std::to_wstring(slot),
                    std::to_wstring(slot) + sign + (enabled ? L"1" : L"0") + sign + name + sign + command + sign);
  }

  std::wstring powerLog_ = TempFile(L"kelvane-power.log");
};

}  // namespace kelvane::e2e
