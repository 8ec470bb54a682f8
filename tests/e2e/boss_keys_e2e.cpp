// The boss keys of the real program under Wine, pressed on the keyboard.
#include <windows.h>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

class BossKeyTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    SetRegistryText(kConfig, L"BossKeyHotOn", L"True");  // Ctrl+F1
  }
  static HWND Owned(const wchar_t* suffix) { return FindWindowW(L"KelvaneWindowOwner", (std::wstring(L"Owner") + suffix).c_str()); }
};

TEST_F(BossKeyTest, HidesOtherProgramsWindowsAndBringsEachBackInItsState) {
  SetRegistryText(kConfig, L"BossKeyHideWindows", L"True");
  SetRegistryText(kConfig, L"BossKeyDoExeAction", L"False");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  Process owner(L"\"" + TestFolder() + L"\\kelvane_window_owner.exe\" Owner");
  ASSERT_TRUE(WaitFor([] { return Owned(L" normal") && Owned(L" minimised") && Owned(L" maximised"); }));
  const HWND normal = Owned(L" normal");
  const HWND minimised = Owned(L" minimised");
  const HWND maximised = Owned(L" maximised");
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(normal) && IsIconic(minimised) && IsZoomed(maximised); }));

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor([&] {
    return !IsWindowVisible(normal) && !IsWindowVisible(minimised) && !IsWindowVisible(maximised);
  }));
  EXPECT_TRUE(IsWindowVisible(main));

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor([&] {
    return IsWindowVisible(normal) && IsWindowVisible(minimised) && IsWindowVisible(maximised);
  }));
  EXPECT_TRUE(IsIconic(minimised));
  EXPECT_TRUE(IsZoomed(maximised));
  EXPECT_FALSE(IsIconic(normal) || IsZoomed(normal));
  EXPECT_FALSE(PowerCalled("SetSuspendState") || PowerCalled("ExitWindowsEx"));
}

TEST_F(BossKeyTest, ExecutesTheActionWithOrWithoutThePrompt) {
  const struct {
    const wchar_t* prompt;
    const wchar_t* ignorePrompt;
    bool prompted;
  } cases[] = {{L"False", L"False", false}, {L"True", L"True", false}, {L"True", L"False", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prompted ? "prompted" : "not prompted");
    DeleteFileW(powerLog_.c_str());
    SetRegistryText(kConfig, L"Action", L"3");
    SetRegistryText(kConfig, L"Prompt", c.prompt);
    SetRegistryText(kConfig, L"BossKeyIgnorePrompt", c.ignorePrompt);
    Program program(powerLog_);
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PressKeys("ctrl+F1"));
    if (c.prompted) {
      const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane");
      ASSERT_NE(prompt, nullptr);
      EXPECT_FALSE(PowerCalled("SetSuspendState"));
      Click(prompt, Id(PromptControl::cmdExecute));
    }
    EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 1 0"); })) << PowerCalls();
    EXPECT_TRUE(WaitFor([&] { return !Armed(main); }));
  }
}

TEST_F(BossKeyTest, AlternativeKeyRunsTheTasksAndThenItsAction) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  DeleteFileW((folder + L"\\alt.txt").c_str());
  SetRegistryText(kConfig, L"BossKeyHotOn", L"False");
  SetRegistryText(kConfig, L"Boss2KeyHotOn", L"True");  // Ctrl+F11
  SetRegistryText(kConfig, L"Boss2KeyHideWindows", L"False");
  SetRegistryText(kConfig, L"Boss2KeyRunTasks", L"True");
  SetRegistryText(kConfig, L"Boss2KeyAction", L"Hibernate");
  SetRegistryText(kTasks, L"TaskCount", L"1");
  StoreTask(1, true, L"mark", L"cmd.exe /c echo done>\"%KLAPPDATA%\\alt.txt\"");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 1 1 0"); })) << PowerCalls();
  EXPECT_EQ(ReadFileText(folder + L"\\alt.txt"), "done\r\n");
  EXPECT_NE(ReadFileText(folder + L"\\TasksLog.txt").find("alt.txt"), std::string::npos);
  EXPECT_FALSE(Armed(main)) << "the alternative key never uses the schedule";
}

TEST_F(BossKeyTest, ACombinationHeldByAnotherProgramIsReportedWithTheSystemsText) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F1));
  wchar_t text[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_HOTKEY_ALREADY_REGISTERED,
                 0, text, 512, nullptr);
  std::wstring expected(text);
  while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r' || expected.back() == L' ')) {
    expected.pop_back();
  }
  Program program(powerLog_);
  const HWND box = program.FindWindowOf(L"#32770", L"Kelvane");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(HasChildText(box, expected)) << "expected the text: " << std::string(expected.begin(), expected.end());
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_NE(program.MainWindow(), nullptr);
  UnregisterHotKey(nullptr, 1);
}

}  // namespace
}  // namespace kelvane::e2e
