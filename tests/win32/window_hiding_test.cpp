#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "bosskeys/hidden_record_win32.h"
#include "bosskeys/window_hiding.h"
#include "bosskeys/window_list_win32.h"
#include "base/handles_win32.h"
#include "win32/support/message_pump.h"
#include "win32/support/window_owner_process.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::PumpUntil;
using testing::RegisterTestWindowClass;
using testing::WindowOwnerProcess;

constexpr const wchar_t* kOwnerTitle = L"Kelvane hiding owner";

enum class State { Normal, Minimised, Maximised };

State StateOf(HWND window) {
  if (IsIconic(window)) return State::Minimised;
  if (IsZoomed(window)) return State::Maximised;
  return State::Normal;
}

class WindowHidingWin32 : public ::testing::Test {
 protected:
  struct Expected {
    HWND window;
    State state;
  };

  void SetUp() override {
    RegisterTestWindowClass(L"KelvaneHidingProbe", DefWindowProcW);
    ASSERT_TRUE(owner.Started()) << "the helper did not start: error " << owner.StartError();
    ASSERT_TRUE(PumpUntil([&] { return owner.WindowsShown(); })) << "the second program's windows did not appear";

    mainWindow = Create(L" Kelvane", SW_SHOWNORMAL);
    invisible = Create(L"Own invisible", SW_HIDE);
    own = {{Create(L"Kelvane", SW_SHOWNORMAL).release(), State::Normal},
           {Create(L"Own minimised", SW_SHOWMINIMIZED).release(), State::Minimised},
           {Create(L"Own maximised", SW_SHOWMAXIMIZED).release(), State::Maximised},
           {mainWindow.get(), State::Normal}};
    others = {{owner.Find(L" normal"), State::Normal},
              {owner.Find(L" minimised"), State::Minimised},
              {owner.Find(L" maximised"), State::Maximised}};
  }

  void TearDown() override {
    for (const auto& window : own) {
      if (window.window != mainWindow.get()) DestroyWindow(window.window);
    }
  }

  UniqueWindow Create(const wchar_t* title, int show) {
    UniqueWindow window(CreateWindowExW(0, L"KelvaneHidingProbe", title, WS_OVERLAPPEDWINDOW, 60, 60, 240, 160, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
    EXPECT_NE(window.get(), nullptr);
    ShowWindow(window.get(), show);
    return window;
  }

  static bool AllHidden(const std::vector<Expected>& windows) {
    return PumpUntil([&] {
      for (const auto& w : windows) {
        if (IsWindowVisible(w.window)) return false;
      }
      return true;
    });
  }

  static bool AllInTheirState(const std::vector<Expected>& windows) {
    return PumpUntil([&] {
      for (const auto& w : windows) {
        if (!IsWindowVisible(w.window) || StateOf(w.window) != w.state) return false;
      }
      return true;
    });
  }

  WindowOwnerProcess owner{kOwnerTitle};
  UniqueWindow mainWindow;
  UniqueWindow invisible;
  std::vector<Expected> own;     // this program's visible windows
  std::vector<Expected> others;  // the second program's
  Win32WindowList desktop;
  WindowHider hider{desktop};
};

TEST_F(WindowHidingWin32, HidesTheOtherProgramsWindowsKeepsOwnAndBringsEachBackInItsState) {
  hider.HideAllWindows();
  EXPECT_TRUE(AllHidden(others));
  EXPECT_TRUE(AllInTheirState(own)) << "a window of this program was hidden";
  EXPECT_GE(hider.Hidden().size(), others.size());

  hider.ShowHiddenWindows();
  EXPECT_TRUE(AllInTheirState(others));
  EXPECT_TRUE(AllInTheirState(own));
  EXPECT_FALSE(IsWindowVisible(invisible.get())) << "an invisible window was shown";
  EXPECT_TRUE(hider.Hidden().empty());
}

TEST_F(WindowHidingWin32, AHiderOfTheNextStartShowsTheRecordedWindowsInTheirStates) {
  VolatileHiddenWindowsRecord record(L"Software\\KelvaneTest\\Hidden");
  WindowHider dying(desktop, &record);
  dying.HideAllWindows();
  ASSERT_TRUE(AllHidden(others));

  VolatileHiddenWindowsRecord leftBehind(L"Software\\KelvaneTest\\Hidden");
  WindowHider next(desktop, &leftBehind);
  next.ShowRecordedWindows();
  EXPECT_TRUE(AllInTheirState(others));
  EXPECT_TRUE(AllInTheirState(own));
  EXPECT_FALSE(IsWindowVisible(invisible.get()));
  EXPECT_EQ(leftBehind.Read(), "");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
}

TEST_F(WindowHidingWin32, WindowsThatVanishWhileHiddenAreSkipped) {
  hider.HideAllWindows();
  ASSERT_TRUE(AllHidden(others));

  const HWND gone = owner.Find(L" normal");
  PostMessageW(gone, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(gone); }));
  std::erase_if(others, [&](const Expected& w) { return w.window == gone; });

  hider.ShowHiddenWindows();
  EXPECT_TRUE(AllInTheirState(others));
}

TEST_F(WindowHidingWin32, AProgramThatStoppedReadingItsMessagesHoldsNothingUp) {
  WindowOwnerProcess hung(L"Kelvane hung owner");
  ASSERT_TRUE(hung.Started());
  ASSERT_TRUE(PumpUntil([&] { return hung.WindowsShown(); }));
  ASSERT_TRUE(hung.Hang());

  // Waiting for the hung thread would take its whole minute.
  const auto took = [](auto step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  };
  EXPECT_LT(took([&] { hider.HideAllWindows(); }), 3s);
  EXPECT_TRUE(AllHidden(others));
  EXPECT_LT(took([&] { hider.ShowHiddenWindows(); }), 3s);
  EXPECT_TRUE(AllInTheirState(others));
}

}  // namespace
}  // namespace kelvane
