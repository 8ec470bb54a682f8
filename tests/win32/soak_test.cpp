// Soak: the program's windows and runner used over and over inside one
// process must not pile up GDI objects, USER objects or kernel handles.
// Each soak counts after its first round (which creates what is created
// lazily) and again after the last. The test command runs a reduced number
// of rounds; KELVANE_SOAK_FULL=1 (scripts/test.sh --soak-full) the full one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/frm_about_win32.h"
#include "app/boss_key_controls_win32.h"
#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/wide_text_win32.h"
#include "bosskeys/hidden_record_win32.h"
#include "bosskeys/window_hiding.h"
#include "bosskeys/window_list_win32.h"
#include "core/frm_main_win32.h"
#include "fakes/fake_time.h"
#include "fakes/memory_settings_store.h"
#include "fakes/recording_power_api.h"
#include "options/autostart.h"
#include "prompt/frm_prompt_win32.h"
#include "tasks/task_records.h"
#include "tasks/task_runner_win32.h"
#include "tray/frm_main1_win32.h"
#include "tray/tray_icon_win32.h"
#include "tray/window_hook_win32.h"
#include "win32/support/message_pump.h"
#include "win32/support/process_resources.h"
#include "win32/support/window_owner_process.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::CountProcessResources;
using testing::Describe;
using testing::LaterSteps;
using testing::PumpUntil;
using testing::ResourceCounts;

bool FullSize() {
  const char* full = std::getenv("KELVANE_SOAK_FULL");
  return full != nullptr && std::string(full) == "1";
}

// What may differ between the count after the first round and after the
// last: objects that Wine or comctl32 create on first need in a later round
// (a cached brush or font, a window of the IME, a thread's event). A leak of
// one object a round exceeds it well before the reduced size ends.
constexpr ResourceCounts kAllowance{4, 2, 6};

void Soak(const char* what, int fullRounds, int reducedRounds, const std::function<void()>& round) {
  const int rounds = FullSize() ? fullRounds : reducedRounds;
  round();
  const ResourceCounts first = CountProcessResources();
  for (int n = 1; n < rounds; ++n) round();
  const ResourceCounts last = CountProcessResources();
  std::printf("soak %-28s %6d rounds: after the first %s; after the last %s\n", what, rounds,
              Describe(first).c_str(), Describe(last).c_str());
  ASSERT_GT(first.gdi, 0) << "GDI objects could not be counted";
  ASSERT_GT(first.user, 0) << "USER objects could not be counted";
  ASSERT_GT(first.handles, 0) << "handles could not be counted";
  EXPECT_LE(std::labs(last.gdi - first.gdi), kAllowance.gdi) << what;
  EXPECT_LE(std::labs(last.user - first.user), kAllowance.user) << what;
  EXPECT_LE(std::labs(last.handles - first.handles), kAllowance.handles) << what;
}

std::string TempFolder() {
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, path);
  std::wstring folder = std::wstring(path) + L"kelvane-soak";
  CreateDirectoryW(folder.c_str(), nullptr);
  return Narrow(folder);
}

TEST(Soak, CountsFollowObjectsMadeAndFreed) {
  const ResourceCounts before = CountProcessResources();
  std::vector<UniqueBrush> brushes;
  for (int n = 0; n < 10; ++n) brushes.emplace_back(CreateSolidBrush(RGB(n, 0, 0)));
  const UniqueMenu menu(CreatePopupMenu());
  const UniqueHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  const ResourceCounts made = CountProcessResources();
  EXPECT_EQ(made.gdi - before.gdi, 10);
  EXPECT_EQ(made.user - before.user, 1);
  EXPECT_EQ(made.handles - before.handles, 1);
  brushes.clear();
  EXPECT_EQ(CountProcessResources().gdi, before.gdi);
}

TEST(Soak, TaskRunsThroughTheRunner) {
  TaskRunnerWin32 runner(TempFolder());
  TaskList tasks;
  tasks.TaskCount = 1;
  SetTaskRecord(tasks, 1, {true, "soak", "%SYS32%\\cmd.exe /c exit 0"});
  Soak("task runs", 1000, 30, [&] { runner.RunTasks(tasks); });
}

// The whole main window, as the program wires it, on a clock that moves only
// when the test says so.
class MainWindowSoak : public ::testing::Test {
 protected:
  class NoFolders : public FileSystem {
   public:
    void CreateFolder(const std::string&) override {}
  };
  class NoRunKey : public RunKey {
   public:
    void SetValue(const std::string&, const std::string&) override {}
    void DeleteValue(const std::string&) override {}
  };
  class NoTrayEvents : public SystrayEvents {
   public:
    void MouseDown(TrayButton) override {}
  };
  class Tasks : public TaskRunnerPart {
   public:
    void RunTasks(const TaskList&) override {}
    void Cancel() override {}
    void LogNote(const std::string&) override {}
  };

  void SetUp() override {
    for (const auto& [key, value] : {std::pair{"BossKeyHideWindows", "True"}, {"BossKeyDoExeAction", "False"},
                                     {"TrayTips", "True"}, {"BlinkIcon", "True"}, {"BlinkSeconds", "30"},
                                     {"Method", "1"}, {"tPeriod", "1"}, {"Prompt", "False"}}) {
      store.SaveValue(kAppName, "CONFIG", key, value);
    }
    window = std::make_unique<MainWindow>(
        MainServices{store, power, clock, zone, tray, runKey, folders, tasks, hider, hotKeys, "C:\\kelvane.exe",
                     Narrow(L"C:\\users\\soak")},
        main1, about);
    hotKeys.Bind(&window->form());
    ASSERT_TRUE(window->Create());
  }
  void TearDown() override {
    if (window && window->hwnd() != nullptr) DestroyWindow(window->hwnd());
    PumpUntil([] { return false; }, 50ms);
  }

  testing::MemorySettingsStore store;
  testing::RecordingPowerApi power;
  testing::FakeClock clock{testing::Utc(2026, 3, 14, 9, 0, 0)};
  testing::FakeZone zone;
  frmMain1 main1;
  NoTrayEvents trayEvents;
  EventLogErrorReporter hookErrors;
  SystrayTrayIcon tray{GetModuleHandleW(nullptr), main1, trayEvents, hookErrors};
  frmAbout about{[](const std::wstring&) {}};
  NoRunKey runKey;
  NoFolders folders;
  Tasks tasks;
  Win32WindowList desktop;
  VolatileHiddenWindowsRecord hiddenRecord;
  WindowHider hider{desktop, &hiddenRecord};
  BossKeyControls hotKeys{GetModuleHandleW(nullptr), store};
  std::unique_ptr<MainWindow> window;
  LaterSteps steps;
};

TEST_F(MainWindowSoak, CountdownTicksInTheBlinkWindow) {
  window->form().OnToggleClicked();
  ASSERT_TRUE(power.awake) << "armed, the program keeps the computer awake";
  // Eight seconds left: every tick swaps the tray image, sets the tooltip
  // and shows a balloon with the seconds left.
  clock.Advance(52s);
  ASSERT_TRUE(tray.IsBalloonCapable());
  Soak("countdown ticks", 10000, 1000, [&] { SendMessageW(window->hwnd(), WM_TIMER, 1, 0); });
  EXPECT_TRUE(power.awake) << "the clock did not move, so the action is still ahead";
  EXPECT_EQ(power.calls().size(), 0u) << "nothing fired";
}

TEST_F(MainWindowSoak, PromptOpenedAndClosed) {
  Soak("prompt open and close", 200, 20, [&] {
    steps.Add([] {
      const HWND prompt = FindWindowW(kPromptWindowClass, nullptr);
      EXPECT_NE(prompt, nullptr);
      PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
    });
    const auto answer = ShowPromptDialog(window->hwnd(), "Shutdown", window->icon(), 0);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->Result, PromptResult::Abort);
  });
}

TEST_F(MainWindowSoak, AboutBoxOpenedAndClosed) {
  Soak("about box open and close", 200, 20, [&] {
    steps.Add([this] {
      EXPECT_TRUE(about.IsOpen());
      PostMessageW(about.Window(), WM_CLOSE, 0, 0);
    });
    window->form().OnTrayCommand(TrayMenuCommand::About);
    EXPECT_FALSE(about.IsOpen());
  });
}

TEST_F(MainWindowSoak, OptionsDialogOpenedAndClosed) {
  Soak("options dialog open and close", 200, 20, [&] {
    bool seen = false;
    steps.Add([&seen] {
      const HWND options = FindWindowW(kOptionsWindowClass, nullptr);
      seen = options != nullptr;
      PostMessageW(options, WM_CLOSE, 0, 0);
    });
    window->form().OnOptionsClicked();
    EXPECT_TRUE(seen);
    EXPECT_EQ(FindWindowW(kOptionsWindowClass, nullptr), nullptr);
  });
}

TEST_F(MainWindowSoak, BossKeyHidesAndShowsAnotherProgramsWindows) {
  testing::WindowOwnerProcess owner(L"Kelvane soak owner");
  ASSERT_TRUE(owner.Started());
  ASSERT_TRUE(PumpUntil([&] { return owner.WindowsShown(); }));
  const HWND normal = owner.Find(L" normal");
  Soak("boss-key hide and show", 1000, 100, [&] {
    window->form().OnBossKeyPressed();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(normal); })) << "hidden";
    window->form().OnBossKeyPressed();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(normal); })) << "shown again";
  });
}

}  // namespace
}  // namespace kelvane
