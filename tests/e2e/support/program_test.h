#pragma once
// The fixture of the end-to-end tests: a clean store and power log per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

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
  // Starts the program, with `variable` set to `value` for it alone when
  // given; true once its main window shows.
  bool Start(const wchar_t* variable = nullptr, const wchar_t* value = nullptr) {
    if (variable != nullptr) SetEnvironmentVariableW(variable, value);
    program_.emplace(powerLog_);
    if (variable != nullptr) SetEnvironmentVariableW(variable, nullptr);
    main_ = program_->MainWindow();
    return main_ != nullptr;
  }
  // A one-second countdown armed from the window: the prompt once it shows.
  HWND ArmToPrompt() {
    ArmSeconds(main_, L"1");
    return program_->Prompt();
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
  static void Configure(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> values) {
    for (const auto& [name, data] : values) SetRegistryText(kConfig, name, data);
  }
  // Stores task `slot` as its record string.
  static void StoreTask(int slot, bool enabled, const std::wstring& name, const std::wstring& command) {
    const std::wstring sign = L"\u00A4";
    SetRegistryText(kTasks, L"Task" + std::to_wstring(slot),
                    std::to_wstring(slot) + sign + (enabled ? L"1" : L"0") + sign + name + sign + command + sign);
  }

  struct Task {
    bool enabled;
    std::wstring name, command;
  };
  // Stores these tasks as the whole task list.
  static void StoreTasks(std::initializer_list<Task> tasks) {
    SetRegistryText(kTasks, L"TaskCount", std::to_wstring(tasks.size()));
    int slot = 0;
    for (const Task& task : tasks) StoreTask(++slot, task.enabled, task.name, task.command);
  }

  std::wstring powerLog_ = TempFile(L"kelvane-power.log");
  std::optional<Program> program_;  // the one Start() started
  HWND main_ = nullptr;
};

}  // namespace kelvane::e2e
