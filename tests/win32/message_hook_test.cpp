#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "base/window_base_win32.h"
#include "fakes/fake_hook_system.h"
#include "tray/window_hook_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::RecordingReporter;

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kNested = WM_APP + 2;

// A window whose own procedure logs what reaches it.
class LoggingWindow : public WindowBase {
 public:
  explicit LoggingWindow(std::vector<std::string>& log) : log_(log) {
    CreateOf(L"KelvaneHookTarget", 0, WS_POPUP, L"", 0, 0, 10, 10, nullptr);
  }
  HWND get() const { return hwnd(); }
  WindowId id() const { return ToWindowId(hwnd()); }
  void Destroy() {
    if (hwnd() != nullptr) DestroyWindow(hwnd());
  }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    if (message == kPing || message == kNested || message == WM_DESTROY) {
      log_.push_back("window:" + std::to_string(message));
    }
    if (message == kPing) return 100 + static_cast<LRESULT>(wParam);
    return Default(message, wParam, lParam);
  }

  std::vector<std::string>& log_;
};

class Handler : public HookHandler {
 public:
  explicit Handler(std::vector<std::string>& log) : log_(log) {}
  std::function<void(bool before, bool& handled, std::intptr_t& result, UINT message)> act;
  void WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& m,
               std::intptr_t&) override {
    log_.push_back(std::string(bBefore ? "before:" : "after:") + std::to_string(m.uMsg));
    if (act) act(bBefore, bHandled, lReturn, m.uMsg);
  }

 private:
  std::vector<std::string>& log_;
};

class HookWin32Test : public ::testing::Test {
 protected:
  std::string S(UINT message) { return std::to_string(message); }
  WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(target.get(), GWLP_WNDPROC)); }

  std::vector<std::string> log;
  LoggingWindow target{log};
  Handler handler{log};
  SubclassHookSystem system;
  RecordingReporter reporter;
  WindowHooks hooks{"cSystray", system, reporter};
};

TEST_F(HookWin32Test, MessagesPassBeforeTheWindowAndAfterIt) {
  ASSERT_TRUE(hooks.HookWindow(target.id(), &handler));
  hooks.WatchMsg(target.id(), kPing, WatchWhen::Both);
  handler.act = [](bool before, bool&, std::intptr_t& result, UINT) {
    if (!before) result += 1000;
  };
  EXPECT_EQ(SendMessageW(target.get(), kPing, 5, 0), 1105);
  EXPECT_EQ(log, (std::vector<std::string>{"before:" + S(kPing), "window:" + S(kPing), "after:" + S(kPing)}));
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(HookWin32Test, DestroyReachesTheWindowAndTheHookEndsItself) {
  ASSERT_TRUE(hooks.HookWindow(target.id(), &handler));
  hooks.WatchMsg(target.id(), WM_DESTROY, WatchWhen::Before);
  handler.act = [](bool, bool& handled, std::intptr_t&, UINT) { handled = true; };
  target.Destroy();
  EXPECT_EQ(log, (std::vector<std::string>{"before:2", "window:2"}));
  EXPECT_FALSE(hooks.IsHooked(target.id()));
}

TEST_F(HookWin32Test, UnhookPutsThePreviousProcedureBack) {
  const WNDPROC original = Procedure();
  ASSERT_TRUE(hooks.HookWindow(target.id(), &handler));
  EXPECT_NE(Procedure(), original);
  hooks.WatchMsg(target.id(), kPing, WatchWhen::Before);
  hooks.UnhookWindow(target.id());
  EXPECT_EQ(Procedure(), original);
  SendMessageW(target.get(), kPing, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"window:" + S(kPing)}));
}

TEST_F(HookWin32Test, NestedCallsThroughTheHookAndRemovalFromInsideOne) {
  const WNDPROC original = Procedure();
  ASSERT_TRUE(hooks.HookWindow(target.id(), &handler));
  hooks.WatchMsg(target.id(), kPing, WatchWhen::Both);
  hooks.WatchMsg(target.id(), kNested, WatchWhen::Both);
  handler.act = [&](bool before, bool&, std::intptr_t&, UINT message) {
    if (message == kPing && before) SendMessageW(target.get(), kNested, 0, 0);
    if (message == kNested && !before) {
      hooks.UnhookWindow(target.id());
      EXPECT_NE(Procedure(), original) << "the outer call is still running through the hook";
    }
  };
  EXPECT_EQ(SendMessageW(target.get(), kPing, 1, 0), 101);
  EXPECT_EQ(log, (std::vector<std::string>{"before:" + S(kPing), "before:" + S(kNested), "window:" + S(kNested),
                                           "after:" + S(kNested), "window:" + S(kPing)}));
  EXPECT_EQ(Procedure(), original);
  EXPECT_FALSE(hooks.IsHooked(target.id()));
}

TEST_F(HookWin32Test, TwoOwnersHookOneWindowIndependently) {
  std::vector<std::string> otherLog;
  Handler other(otherLog);
  WindowHooks otherHooks{"GridCtl", system, reporter};
  ASSERT_TRUE(hooks.HookWindow(target.id(), &handler));
  ASSERT_TRUE(otherHooks.HookWindow(target.id(), &other));
  hooks.WatchMsg(target.id(), kPing, WatchWhen::Before);
  otherHooks.WatchMsg(target.id(), kPing, WatchWhen::Before);
  SendMessageW(target.get(), kPing, 0, 0);
  hooks.UnhookWindow(target.id());
  SendMessageW(target.get(), kPing, 0, 0);
  EXPECT_EQ(otherLog, (std::vector<std::string>{"before:" + S(kPing), "before:" + S(kPing)}));
  EXPECT_EQ(log, (std::vector<std::string>{"before:" + S(kPing), "window:" + S(kPing), "window:" + S(kPing)}));
}

TEST_F(HookWin32Test, ForeignAndFalseHandlesAreRefused) {
  // The desktop window belongs to the shell's process, not to this one.
  EXPECT_FALSE(hooks.HookWindow(ToWindowId(GetDesktopWindow()), &handler));
  EXPECT_FALSE(hooks.HookWindow(0x12345678, &handler));
  EXPECT_EQ(reporter.reports, (std::vector<std::string>{"cSystray.HookWindow: Window handle belongs to another process",
                                                        "cSystray.HookWindow: Invalid window handle"}));
}

TEST_F(HookWin32Test, AWindowOfAnotherThreadCannotBeHooked) {
  struct Foreign {
    HWND window = nullptr;
    UniqueHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle finish{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  } foreign;
  const auto run = [](void* param) -> DWORD {
    auto& f = *static_cast<Foreign*>(param);
    f.window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetEvent(f.ready.get());
    WaitForSingleObject(f.finish.get(), INFINITE);
    DestroyWindow(f.window);
    return 0;
  };
  UniqueHandle thread(CreateThread(nullptr, 0, run, &foreign, 0, nullptr));
  ASSERT_TRUE(thread);
  WaitForSingleObject(foreign.ready.get(), INFINITE);
  ASSERT_NE(foreign.window, nullptr);
  EXPECT_FALSE(hooks.HookWindow(ToWindowId(foreign.window), &handler));
  SetEvent(foreign.finish.get());
  WaitForSingleObject(thread.get(), INFINITE);
  ASSERT_EQ(reporter.reports.size(), 1u);
  EXPECT_EQ(reporter.reports[0].rfind("cSystray.HookWindow: SetWindowLong failed, error #", 0), 0u)
      << reporter.reports[0];
}

TEST(EventLogWin32, ErrorsAreWrittenToTheApplicationLog) {
  EXPECT_TRUE(WriteEventLogError(L"cSystray.HookWindow: Invalid window handle"));
}

}  // namespace
}  // namespace kelvane
