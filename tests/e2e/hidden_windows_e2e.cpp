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
    Configure({{L"BossKeyHotOn", L"True"},  // Ctrl+F1
               {L"BossKeyHideWindows", L"True"},
               {L"BossKeyDoExeAction", L"False"}});
  }

  static HWND Owned(const wchar_t* suffix) { return OwnedWindow(L"Owner", suffix); }
  static bool AllHidden() { return e2e::AllHidden(L"Owner"); }
  static bool EachInItsState() { return e2e::EachInItsState(L"Owner"); }
  // Starts the program, with `variable` set to `value` for it when given,
  // and hides the owner's three windows with the boss key.
  void StartAndHide(const wchar_t* variable = nullptr, const wchar_t* value = nullptr) {
    ASSERT_TRUE(Start(variable, value));
    ASSERT_TRUE(WaitFor(EachInItsState)) << "the owner's windows did not appear";
    ASSERT_TRUE(PressKeys("ctrl+F1"));
    ASSERT_TRUE(WaitFor(AllHidden)) << "the boss key did not hide them";
  }

  Process owner_{WindowOwnerCommand(L"Owner")};
};

TEST_F(HiddenWindowsTest, AfterAKillTheNextStartShowsThemInTheirStates) {
  ASSERT_NO_FATAL_FAILURE(StartAndHide());
  EXPECT_TRUE(RegistryText(kHiddenRecord, L"Windows").has_value());
  ASSERT_TRUE(program_->Kill());
  EXPECT_TRUE(AllHidden()) << "nothing of a killed program runs";

  EXPECT_TRUE(Start());
  EXPECT_TRUE(WaitFor(EachInItsState));
  EXPECT_FALSE(RegistryText(kHiddenRecord, L"Windows").has_value()) << "the record is gone once used";
}

TEST_F(HiddenWindowsTest, ACrashingProgramShowsThemBeforeItEnds) {
  // The boss key arms the action at once; its power call then crashes.
  Configure({{L"BossKeyDoExeAction", L"True"}, {L"Prompt", L"False"}, {L"Action", L"3"}});
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
    ASSERT_NO_FATAL_FAILURE(StartAndHide(L"KELVANE_POWER_CRASH", crash));
    EXPECT_TRUE(WaitFor(EachInItsState, 20s));
    EXPECT_TRUE(program_->Exited(20s));
  }
}

TEST_F(HiddenWindowsTest, AnInstallersCloseRequestShowsThemAtOnce) {
  ASSERT_NO_FATAL_FAILURE(StartAndHide());
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_EQ(answer, TRUE);
  EXPECT_TRUE(WaitFor(EachInItsState));
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
    EXPECT_TRUE(Start());
    EXPECT_TRUE(WaitFor([] { return !RegistryText(kHiddenRecord, L"Windows").has_value(); }));
    ASSERT_TRUE(program_->Kill());
  }
  SetRecordText(L"not a record\n\n-1 1 1 x\n" + std::wstring(100000, L'9') + L" 1 1 x\n1 1 1 %%\n");
  EXPECT_TRUE(Start());
  EXPECT_TRUE(WaitFor([] { return !RegistryText(kHiddenRecord, L"Windows").has_value(); }));
}

TEST_F(HiddenWindowsTest, AHandleThatNamesAnotherWindowByNowIsLeftAlone) {
  ASSERT_TRUE(WaitFor(EachInItsState));
  DWORD process = 0;
  GetWindowThreadProcessId(Owned(L" normal"), &process);
  for (const wchar_t* suffix : {L" normal", L" minimised", L" maximised"}) ShowWindowAsync(Owned(suffix), SW_HIDE);
  ASSERT_TRUE(WaitFor(AllHidden));
  const auto handle = [](const wchar_t* suffix) { return Decimal(reinterpret_cast<std::uintptr_t>(Owned(suffix))); };
  // The first two are now someone else's, by process or by class; the third
  // is still the window that was hidden, and comes back.
  SetRecordText(handle(L" normal") + L" 1 " + std::to_wstring(process) + L" Notepad\n" + handle(L" minimised") +
                L" 2 " + std::to_wstring(process + 4) + L" KelvaneWindowOwner\n" + handle(L" maximised") + L" 3 " +
                std::to_wstring(process) + L" KelvaneWindowOwner\n");
  EXPECT_TRUE(Start());
  EXPECT_TRUE(WaitFor([] { return IsWindowVisible(Owned(L" maximised")) && IsZoomed(Owned(L" maximised")); }));
  EXPECT_FALSE(IsWindowVisible(Owned(L" normal")));
  EXPECT_FALSE(IsWindowVisible(Owned(L" minimised")));
}

}  // namespace
}  // namespace kelvane::e2e
