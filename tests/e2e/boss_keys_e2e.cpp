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
  static HWND Owned(const wchar_t* suffix) { return OwnedWindow(L"Owner", suffix); }
  static bool AllHidden() { return e2e::AllHidden(L"Owner"); }
  static bool EachInItsState() { return e2e::EachInItsState(L"Owner"); }
  // Hiding other programs' windows, and nothing else.
  static void HideOnly() { Configure({{L"BossKeyHideWindows", L"True"}, {L"BossKeyDoExeAction", L"False"}}); }
};

TEST_F(BossKeyTest, HidesOtherProgramsWindowsAndBringsEachBackInItsState) {
  HideOnly();
  ASSERT_TRUE(Start());
  Process owner(WindowOwnerCommand(L"Owner"));
  ASSERT_TRUE(WaitFor(EachInItsState));

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor(AllHidden));
  EXPECT_TRUE(IsWindowVisible(main_));

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor(EachInItsState));
  EXPECT_FALSE(PowerCalled("SetSuspendState") || PowerCalled("ExitWindowsEx"));
}

TEST_F(BossKeyTest, TheHiddenWindowsPictureExplainsItselfUnderThePointer) {
  HideOnly();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  // The picture sits in the bottom strip, right of the status line; while
  // windows are hidden it is clickable instead of dragging the window.
  RECT client;
  GetClientRect(main_, &client);
  const int scale100 = client.right * 100 / 300;
  POINT picture{client.right - 22 * scale100 / 100, client.bottom - 14 * scale100 / 100};
  ClientToScreen(main_, &picture);
  ASSERT_TRUE(WaitFor([&] {
    return SendMessageW(main_, WM_NCHITTEST, 0, MAKELPARAM(picture.x, picture.y)) == HTCLIENT;
  })) << "the picture did not appear";

  ASSERT_TRUE(RealInput("mousemove " + std::to_string(picture.x - 2) + " " + std::to_string(picture.y) +
                        " mousemove " + std::to_string(picture.x) + " " + std::to_string(picture.y)));
  EXPECT_NE(program_->FindWindowOf(L"tooltips_class32", L"Click to Show Hidden Windows", 5s), nullptr);
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
    program_.reset();  // ended before its settings and log are replaced
    DeleteFileW(powerLog_.c_str());
    Configure({{L"Action", L"3"}, {L"Prompt", c.prompt}, {L"BossKeyIgnorePrompt", c.ignorePrompt}});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PressKeys("ctrl+F1"));
    if (c.prompted) {
      const HWND prompt = program_->Prompt(10s);
      ASSERT_NE(prompt, nullptr);
      EXPECT_FALSE(PowerCalled("SetSuspendState"));
      Click(prompt, Id(PromptControl::cmdExecute));
    }
    EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 0 1 0"); })) << PowerCalls();
    EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
  }
}

TEST_F(BossKeyTest, AlternativeKeyRunsTheTasksAndThenItsAction) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  DeleteFileW((folder + L"\\alt.txt").c_str());
  Configure({{L"BossKeyHotOn", L"False"},
             {L"Boss2KeyHotOn", L"True"},  // Ctrl+F11
             {L"Boss2KeyHideWindows", L"False"},
             {L"Boss2KeyRunTasks", L"True"},
             {L"Boss2KeyAction", L"Hibernate"}});
  StoreTasks({{true, L"mark", L"cmd.exe /c echo done>\"%KLAPPDATA%\\alt.txt\""}});
  ASSERT_TRUE(Start());
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState 1 1 0"); })) << PowerCalls();
  EXPECT_EQ(ReadFileText(folder + L"\\alt.txt"), "done\r\n");
  EXPECT_NE(ReadFileText(folder + L"\\TasksLog.txt").find("alt.txt"), std::string::npos);
  EXPECT_FALSE(Armed(main_)) << "the alternative key never uses the schedule";
}

TEST_F(BossKeyTest, HoldingTheKeyActsOnceAndAPressAfterTheReleaseActsAgain) {
  Configure({{L"Action", L"3"}, {L"Prompt", L"False"}});
  ASSERT_TRUE(Start());
  const auto suspends = [&] { return Occurrences(PowerCalls(), "SetSuspendState"); };

  // Held for 2 s, the keyboard repeats the combination some 35 times.
  ASSERT_TRUE(RealInput("keydown ctrl+F1 sleep 2 keyup ctrl+F1"));
  ASSERT_TRUE(WaitFor([&] { return suspends() >= 1 && !Armed(main_); })) << PowerCalls();
  EXPECT_EQ(suspends(), 1) << PowerCalls();

  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor([&] { return suspends() == 2; })) << PowerCalls();
}

TEST_F(BossKeyTest, AProgramThatStoppedReadingItsMessagesDelaysNeitherHidingNorTheCountdown) {
  HideOnly();
  Configure({{L"Prompt", L"False"}, {L"Action", L"3"}});
  ASSERT_TRUE(Start());
  Process owner(WindowOwnerCommand(L"Owner"));
  Process hung(WindowOwnerCommand(L"Hung"));
  ASSERT_TRUE(WaitFor(EachInItsState));
  ASSERT_TRUE(WaitFor([] { return OwnedWindow(L"Hung", L" normal") != nullptr; }));
  ASSERT_TRUE(StopReadingMessages(OwnedWindow(L"Hung", L" normal")));

  ArmSeconds(main_, L"5");
  ASSERT_TRUE(WaitFor([&] { return Armed(main_); }));
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  EXPECT_TRUE(WaitFor(AllHidden));
  EXPECT_TRUE(IsWindowVisible(main_));
  // Due five seconds after arming; the deadline leaves room for a loaded
  // machine and ends long before the minute of the hang.
  EXPECT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 15s)) << PowerCalls();
}

TEST_F(BossKeyTest, APressWhileThePromptIsOpenLeavesThePromptVisible) {
  HideOnly();
  SetRegistryText(kConfig, L"Action", L"3");
  ASSERT_TRUE(Start());
  Process owner(WindowOwnerCommand(L"Owner"));
  ASSERT_TRUE(WaitFor([] { return Owned(L" normal") && IsWindowVisible(Owned(L" normal")); }));

  const HWND prompt = ArmToPrompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(PressKeys("ctrl+F1"));
  ASSERT_TRUE(WaitFor([] { return !IsWindowVisible(Owned(L" normal")); })) << "the press was not handled";
  EXPECT_TRUE(IsWindowVisible(prompt));
  EXPECT_TRUE(IsWindowVisible(main_));

  Click(prompt, Id(PromptControl::cmdAbort));
  EXPECT_TRUE(WaitFor([&] { return !Armed(main_); }));
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
  const HWND box = program.Question();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(HasChildText(box, expected)) << "expected the text: " << std::string(expected.begin(), expected.end());
  Answer(box, IDOK);
  EXPECT_NE(program.MainWindow(), nullptr);
  UnregisterHotKey(nullptr, 1);
}

}  // namespace
}  // namespace kelvane::e2e
