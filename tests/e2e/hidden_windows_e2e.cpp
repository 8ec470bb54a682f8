// Windows hidden by the boss key outlive a program that dies while they are
// hidden: killed, crashed, or closed by an installer.
#include <windows.h>

#include <string>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

constexpr const wchar_t* kHiddenRecord = L"Software\\Kelvane\\Hidden";

class HiddenWindowsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    SetRegistryText(kConfig, L"BossKeyHotOn", L"True");  // Ctrl+F1
    SetRegistryText(kConfig, L"BossKeyHideWindows", L"True");
    SetRegistryText(kConfig, L"BossKeyDoExeAction", L"False");
  }

  static HWND Owned(const wchar_t* suffix) { return OwnedWindow(L"Owner", suffix); }
  static bool AllShown() {
    return Owned(L" normal") != nullptr && IsWindowVisible(Owned(L" normal")) &&
           IsWindowVisible(Owned(L" minimised")) && IsWindowVisible(Owned(L" maximised"));
  }
  static bool AllHidden() {
    return Owned(L" normal") != nullptr && !IsWindowVisible(Owned(L" normal")) &&
           !IsWindowVisible(Owned(L" minimised")) && !IsWindowVisible(Owned(L" maximised"));
  }
  static bool EachInItsState() {
    return AllShown() && !IsIconic(Owned(L" normal")) && !IsZoomed(Owned(L" normal")) &&
           IsIconic(Owned(L" minimised")) && IsZoomed(Owned(L" maximised"));
  }
  // Starts the program and the owner of the three windows, and hides them
  // with the boss key.
  void HideWithTheBossKey(Program& program) {
    ASSERT_NE(program.MainWindow(), nullptr);
    ASSERT_TRUE(WaitFor([] { return EachInItsState(); })) << "the owner's windows did not appear";
    ASSERT_TRUE(PressKeys("ctrl+F1"));
    ASSERT_TRUE(WaitFor([] { return AllHidden(); })) << "the boss key did not hide them";
  }

  Process owner_{WindowOwnerCommand(L"Owner")};
};

TEST_F(HiddenWindowsTest, AfterAKillTheNextStartShowsThemInTheirStates) {
  {
    Program program(powerLog_);
    HideWithTheBossKey(program);
    EXPECT_TRUE(RegistryText(kHiddenRecord, L"Windows").has_value());
    ASSERT_TRUE(program.Kill());
  }
  EXPECT_TRUE(AllHidden()) << "nothing of a killed program runs";

  Program again(powerLog_);
  EXPECT_NE(again.MainWindow(), nullptr);
  EXPECT_TRUE(WaitFor([] { return EachInItsState(); }));
  EXPECT_FALSE(RegistryText(kHiddenRecord, L"Windows").has_value()) << "the record is gone once used";
}

TEST_F(HiddenWindowsTest, ACrashingProgramShowsThemBeforeItEnds) {
  // The boss key arms the action at once; its power call then crashes.
  SetRegistryText(kConfig, L"BossKeyDoExeAction", L"True");
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  // Wine's crash dialog would stay open over the tests that follow.
  HKEY debugger = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &debugger, nullptr),
            ERROR_SUCCESS);
  const DWORD no = 0;
  RegSetValueExW(debugger, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&no), sizeof no);
  RegCloseKey(debugger);
  for (const wchar_t* crash : {L"fault", L"throw"}) {
    SCOPED_TRACE(std::string(crash, crash + lstrlenW(crash)));
    SetEnvironmentVariableW(L"KELVANE_POWER_CRASH", crash);
    Program program(powerLog_);
    SetEnvironmentVariableW(L"KELVANE_POWER_CRASH", nullptr);
    HideWithTheBossKey(program);
    EXPECT_TRUE(WaitFor([] { return EachInItsState(); }, 20s));
    EXPECT_TRUE(program.Exited(20s));
  }
}

TEST_F(HiddenWindowsTest, AnInstallersCloseRequestShowsThemAtOnce) {
  Program program(powerLog_);
  HideWithTheBossKey(program);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(program.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000,
                      &answer);
  EXPECT_EQ(answer, TRUE);
  EXPECT_TRUE(WaitFor([] { return EachInItsState(); }));
}

// Writes the record value with any type and content.
void SetRecord(DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kHiddenRecord, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"Windows", 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SetRecordText(const std::wstring& text) {
  SetRecord(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring Decimal(std::uintptr_t value) { return std::to_wstring(value); }

TEST_F(HiddenWindowsTest, AGarbledRecordIsDroppedAndTheProgramStartsNormally) {
  const BYTE bytes[] = {0xFF, 0x00, 0x31, 0x20, 0x0A, 0x80, 0x7F};
  const DWORD number = 3;
  const struct {
    const char* what;
    DWORD type;
    const void* data;
    DWORD size;
  } cases[] = {
      {"binary", REG_BINARY, bytes, sizeof bytes},
      {"a number", REG_DWORD, &number, sizeof number},
      {"odd bytes as text", REG_SZ, bytes, sizeof bytes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetRecord(c.type, c.data, c.size);
    Program program(powerLog_);
    EXPECT_NE(program.MainWindow(), nullptr);
    EXPECT_TRUE(WaitFor([] { return !RegistryText(kHiddenRecord, L"Windows").has_value(); }));
    ASSERT_TRUE(program.Kill());
  }
  SetRecordText(L"not a record\n\n-1 1 1 x\n" + std::wstring(100000, L'9') + L" 1 1 x\n1 1 1 %%\n");
  Program program(powerLog_);
  EXPECT_NE(program.MainWindow(), nullptr);
  EXPECT_TRUE(WaitFor([] { return !RegistryText(kHiddenRecord, L"Windows").has_value(); }));
}

TEST_F(HiddenWindowsTest, AHandleThatNamesAnotherWindowByNowIsLeftAlone) {
  ASSERT_TRUE(WaitFor([] { return EachInItsState(); }));
  DWORD process = 0;
  GetWindowThreadProcessId(Owned(L" normal"), &process);
  for (const wchar_t* suffix : {L" normal", L" minimised", L" maximised"}) ShowWindowAsync(Owned(suffix), SW_HIDE);
  ASSERT_TRUE(WaitFor([] { return AllHidden(); }));
  const auto handle = [](const wchar_t* suffix) { return Decimal(reinterpret_cast<std::uintptr_t>(Owned(suffix))); };
  // The first two are now someone else's, by process or by class; the third
  // is still the window that was hidden, and comes back.
  SetRecordText(handle(L" normal") + L" 1 " + std::to_wstring(process) + L" Notepad\n" + handle(L" minimised") +
                L" 2 " + std::to_wstring(process + 4) + L" KelvaneWindowOwner\n" + handle(L" maximised") + L" 3 " +
                std::to_wstring(process) + L" KelvaneWindowOwner\n");
  Program program(powerLog_);
  EXPECT_NE(program.MainWindow(), nullptr);
  EXPECT_TRUE(WaitFor([] { return IsWindowVisible(Owned(L" maximised")) && IsZoomed(Owned(L" maximised")); }));
  EXPECT_FALSE(IsWindowVisible(Owned(L" normal")));
  EXPECT_FALSE(IsWindowVisible(Owned(L" minimised")));
}

}  // namespace
}  // namespace kelvane::e2e
