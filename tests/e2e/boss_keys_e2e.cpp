// The boss keys of the real program under Wine, pressed on the keyboard.
#include <windows.h>

#include <string>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

int Occurrences(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

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

// The program's visible tooltip that shows `text`, if any.
bool ShowsTooltip(const Program& program, const std::wstring& text) {
  struct Search {
    DWORD process;
    std::wstring text;
    bool found = false;
  } search{program.id(), text};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(parameter);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == s.process && std::wstring(className) == L"tooltips_class32" && IsWindowVisible(window) &&
            Text(window) == s.text) {
          s.found = true;
        }
        return !s.found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(BossKeyTest, TheHiddenWindowsPictureExplainsItselfUnderThePointer) {
  SetRegistryText(kConfig, L"BossKeyHideWindows", L"True");
  SetRegistryText(kConfig, L"BossKeyDoExeAction", L"False");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  // The picture sits in the bottom strip, right of the status line; while
  // windows are hidden it is clickable instead of dragging the window.
  RECT client;
  GetClientRect(main, &client);
  const int scale100 = client.right * 100 / 300;
  POINT picture{client.right - 22 * scale100 / 100, client.bottom - 14 * scale100 / 100};
  ClientToScreen(main, &picture);
  ASSERT_TRUE(WaitFor([&] {
    return SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(picture.x, picture.y)) == HTCLIENT;
  })) << "the picture did not appear";

  ASSERT_TRUE(RealInput("mousemove " + std::to_string(picture.x - 2) + " " + std::to_string(picture.y) +
                        " mousemove " + std::to_string(picture.x) + " " + std::to_string(picture.y)));
  EXPECT_TRUE(WaitFor([&] { return ShowsTooltip(program, L"Click to Show Hidden Windows"); }, 5s));
  ASSERT_TRUE(PressKeys("ctrl+F1"));  // brings the windows back
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

TEST_F(BossKeyTest, HoldingTheKeyActsOnceAndAPressAfterTheReleaseActsAgain) {
  SetRegistryText(kConfig, L"Action", L"3");
  SetRegistryText(kConfig, L"Prompt", L"False");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const auto suspends = [&] { return Occurrences(PowerCalls(), "SetSuspendState"); };

  // Held for 2 s, the keyboard repeats the combination some 35 times.
  ASSERT_TRUE(RealInput("keydown ctrl+F1 sleep 2 keyup ctrl+F1"));
  ASSERT_TRUE(WaitFor([&] { return suspends() >= 1 && !Armed(main); })) << PowerCalls();
  EXPECT_EQ(suspends(), 1) << PowerCalls();

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor([&] { return suspends() == 2; })) << PowerCalls();
}

TEST_F(BossKeyTest, AProgramThatStoppedReadingItsMessagesDelaysNeitherHidingNorTheCountdown) {
  SetRegistryText(kConfig, L"BossKeyHideWindows", L"True");
  SetRegistryText(kConfig, L"BossKeyDoExeAction", L"False");
  SetRegistryText(kConfig, L"Prompt", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  Process owner(WindowOwnerCommand(L"Owner"));
  Process hung(WindowOwnerCommand(L"Hung"));
  ASSERT_TRUE(WaitFor([] { return Owned(L" normal") && Owned(L" minimised") && Owned(L" maximised"); }));
  ASSERT_TRUE(WaitFor([] { return OwnedWindow(L"Hung", L" normal") != nullptr; }));
  ASSERT_TRUE(StopReadingMessages(OwnedWindow(L"Hung", L" normal")));

  ArmSeconds(main, L"5");
  ASSERT_TRUE(WaitFor([&] { return Armed(main); }));
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor([] {
    return !IsWindowVisible(Owned(L" normal")) && !IsWindowVisible(Owned(L" minimised")) &&
           !IsWindowVisible(Owned(L" maximised"));
  }));
  EXPECT_TRUE(IsWindowVisible(main));
  // Due five seconds after arming; the deadline leaves room for a loaded
  // machine and ends long before the minute of the hang.
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 15s)) << PowerCalls();
}

TEST_F(BossKeyTest, APressWhileThePromptIsOpenLeavesThePromptVisible) {
  SetRegistryText(kConfig, L"BossKeyHideWindows", L"True");
  SetRegistryText(kConfig, L"BossKeyDoExeAction", L"False");
  SetRegistryText(kConfig, L"Action", L"3");
  Program program(powerLog_);
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  Process owner(WindowOwnerCommand(L"Owner"));
  ASSERT_TRUE(WaitFor([] { return Owned(L" normal") && IsWindowVisible(Owned(L" normal")); }));

  ArmSeconds(main, L"1");
  const HWND prompt = program.FindWindowOf(kPromptWindowClass, L"Kelvane", 15s);
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  ASSERT_TRUE(WaitFor([] { return !IsWindowVisible(Owned(L" normal")); })) << "the press was not handled";
  EXPECT_TRUE(IsWindowVisible(prompt));
  EXPECT_TRUE(IsWindowVisible(main));

  Click(prompt, Id(PromptControl::cmdAbort));
  EXPECT_TRUE(WaitFor([&] { return !Armed(main); }));
  EXPECT_FALSE(PowerCalled("SetSuspendState"));
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
