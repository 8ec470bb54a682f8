#include "tray/message_hook.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_hook_system.h"

namespace kelvane {
namespace {

using testing::FakeHookSystem;
using testing::RecordingReporter;

constexpr WindowId kWindow = 100;
constexpr std::uint32_t kPaint = 0x000F;
constexpr std::uint32_t kMouseMove = 0x0200;

TEST(MessageTable, HoldsThirtyTwoMessagesAndReusesFreedSlots) {
  MessageTable table;
  for (std::uint32_t m = 1; m <= MSG_ENTRIES; ++m) ASSERT_EQ(table.Add(0x400 + m), MessageTable::AddResult::Added);
  EXPECT_EQ(table.Add(0x400), MessageTable::AddResult::Overflow);
  EXPECT_FALSE(table.Contains(0x400));
  // A message already present is no overflow and takes no second slot.
  EXPECT_EQ(table.Add(0x401), MessageTable::AddResult::Added);

  ASSERT_TRUE(table.Delete(0x410));
  EXPECT_FALSE(table.Contains(0x410));
  EXPECT_EQ(table.count(), MSG_ENTRIES);
  EXPECT_EQ(table.Add(0x400), MessageTable::AddResult::Added);
  EXPECT_TRUE(table.Contains(0x400));
  EXPECT_EQ(table.Add(0x999), MessageTable::AddResult::Overflow);
  // A freed slot matches nothing, the null message included.
  ASSERT_TRUE(table.Delete(0x400));
  EXPECT_FALSE(table.Contains(kNullMessage));
  EXPECT_FALSE(table.Delete(0x400));
}

TEST(MessageTable, AllMessagesSwitchesTheWholeTable) {
  MessageTable table;
  table.Add(kPaint);
  table.Add(ALL_MESSAGES);
  EXPECT_TRUE(table.Contains(kMouseMove));
  EXPECT_FALSE(table.Delete(kPaint)) << "every-message table has no slots in use";

  table.Add(kMouseMove);
  EXPECT_EQ(table.count(), 1);
  EXPECT_TRUE(table.Contains(kMouseMove));
  EXPECT_FALSE(table.Contains(kPaint));

  EXPECT_TRUE(table.Delete(ALL_MESSAGES));
  EXPECT_EQ(table.count(), 0);
  EXPECT_FALSE(table.Contains(kMouseMove));
}

// Logs each call and acts as scripted per message and phase.
class ScriptedHandler : public HookHandler {
 public:
  struct Step {
    bool setHandled = false;
    std::optional<std::intptr_t> setReturn;
    std::function<void()> action;
  };
  std::vector<std::string>& log;
  std::map<std::pair<bool, std::uint32_t>, Step> script;
  std::vector<std::intptr_t> seenReturns;

  explicit ScriptedHandler(std::vector<std::string>& sharedLog) : log(sharedLog) {}

  void WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& m,
               std::intptr_t& lUser) override {
    log.push_back(std::string(bBefore ? "before:" : "after:") + std::to_string(m.uMsg));
    seenReturns.push_back(lReturn);
    lUser += 1;
    const auto step = script.find({bBefore, m.uMsg});
    if (step == script.end()) return;
    if (step->second.setHandled) bHandled = true;
    if (step->second.setReturn) lReturn = *step->second.setReturn;
    if (step->second.action) step->second.action();
  }
};

class WindowHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system.AddWindow(kWindow);
    system.windows[kWindow].previous = [](const WindowMessage& m) { return static_cast<std::intptr_t>(m.uMsg) * 10; };
  }
  void HookBoth(std::uint32_t message) {
    ASSERT_TRUE(hooks->HookWindow(kWindow, &handler));
    hooks->WatchMsg(kWindow, message, WatchWhen::Both);
  }

  FakeHookSystem system;
  RecordingReporter reporter;
  ScriptedHandler handler{system.log};
  std::unique_ptr<WindowHooks> hooks = std::make_unique<WindowHooks>("cSystray", system, reporter);
};

TEST_F(WindowHooksTest, WatchedMessagePassesBeforePreviousAndAfter) {
  HookBoth(kPaint);
  handler.script[{false, kPaint}] = {false, 7, nullptr};
  EXPECT_EQ(system.Deliver(kWindow, kPaint), 7);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:15", "prev:15", "after:15"}));
  EXPECT_EQ(handler.seenReturns, (std::vector<std::intptr_t>{0, 150})) << "after phase sees the previous result";
  system.log.clear();
  EXPECT_EQ(system.Deliver(kWindow, kMouseMove), 5120) << "unwatched messages go straight through";
  EXPECT_EQ(system.log, (std::vector<std::string>{"prev:512"}));
}

TEST_F(WindowHooksTest, HandledBeforeStandsInForThePreviousProcedure) {
  HookBoth(kPaint);
  handler.script[{true, kPaint}] = {true, 42, nullptr};
  EXPECT_EQ(system.Deliver(kWindow, kPaint), 42);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:15"}));
}

TEST_F(WindowHooksTest, HandledAfterChangesNothing) {
  ASSERT_TRUE(hooks->HookWindow(kWindow, &handler));
  hooks->WatchMsg(kWindow, kPaint, WatchWhen::After);
  handler.script[{false, kPaint}] = {true, std::nullopt, nullptr};
  EXPECT_EQ(system.Deliver(kWindow, kPaint), 150);
  EXPECT_EQ(system.Deliver(kWindow, kPaint), 150);
  EXPECT_EQ(system.log, (std::vector<std::string>{"prev:15", "after:15", "prev:15", "after:15"}));
}

TEST_F(WindowHooksTest, DestroyAlwaysReachesThePreviousProcedureAndEndsTheHook) {
  HookBoth(kDestroyMessage);
  handler.script[{true, kDestroyMessage}] = {true, 1, nullptr};
  system.Deliver(kWindow, kDestroyMessage);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:2", "prev:2", "restore"}));
  EXPECT_FALSE(hooks->IsHooked(kWindow));
  system.log.clear();
  system.Deliver(kWindow, kDestroyMessage);
  EXPECT_EQ(system.log, (std::vector<std::string>{"prev:2"}));
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(WindowHooksTest, DestroyDuringAnotherCallEndsTheHookWhenTheOutermostCallHasPassed) {
  HookBoth(kPaint);
  hooks->WatchMsg(kWindow, kDestroyMessage, WatchWhen::After);
  handler.script[{true, kPaint}] = {false, std::nullopt, [&] { system.Deliver(kWindow, kDestroyMessage); }};
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"before:15", "prev:2", "after:2", "prev:15", "restore"}));
  EXPECT_EQ(system.restores, 1);
}

TEST_F(WindowHooksTest, UnhookFromAnAfterHandlerEndsTheHookOnReturn) {
  HookBoth(kPaint);
  handler.script[{false, kPaint}] = {false, std::nullopt, [&] { hooks->UnhookWindow(kWindow); }};
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:15", "prev:15", "after:15", "prev:0", "restore"}));
  EXPECT_FALSE(hooks->IsHooked(kWindow));
}

TEST_F(WindowHooksTest, OwnerDestroyedInsideItsHandlerLeavesNothingBehind) {
  HookBoth(kPaint);
  handler.script[{true, kPaint}] = {false, std::nullopt, [&] { hooks.reset(); }};
  EXPECT_EQ(system.Deliver(kWindow, kPaint), 150);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:15", "prev:0", "prev:15", "restore"}))
      << "no after phase once the owner is gone";
  EXPECT_TRUE(system.installed.empty());
}

TEST_F(WindowHooksTest, UnhookSendsTheNullMessageThroughAndRestoresAtOnce) {
  HookBoth(kPaint);
  hooks->UnhookWindow(kWindow);
  EXPECT_EQ(system.log, (std::vector<std::string>{"prev:0", "restore"}));
  system.log.clear();
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(system.log, (std::vector<std::string>{"prev:15"}));

  // A window that vanished meanwhile is restored without a message.
  ASSERT_TRUE(hooks->HookWindow(kWindow, &handler));
  system.windows.erase(kWindow);
  system.log.clear();
  hooks->UnhookWindow(kWindow);
  EXPECT_EQ(system.log, (std::vector<std::string>{"restore"}));
}

TEST_F(WindowHooksTest, UnhookAllEndsTheLastHookedFirst) {
  system.AddWindow(200);
  system.windows[kWindow].previous = nullptr;
  ASSERT_TRUE(hooks->HookWindow(kWindow, &handler));
  ASSERT_TRUE(hooks->HookWindow(200, &handler));
  hooks->UnhookAll();
  EXPECT_TRUE(system.installed.empty());
  EXPECT_FALSE(hooks->IsHooked(kWindow));
  EXPECT_FALSE(hooks->IsHooked(200));
  EXPECT_EQ(system.restores, 2);
}

TEST_F(WindowHooksTest, RefusedHooksReportAndChangeNothing) {
  system.AddWindow(300, /*ownProcess=*/false);
  struct Case {
    const char* name;
    WindowId window;
    bool withHandler;
    std::uint32_t installError;
    const char* report;
  };
  const Case cases[] = {
      {"not a window", 999, true, 0, "cSystray.HookWindow: Invalid window handle"},
      {"other process", 300, true, 0, "cSystray.HookWindow: Window handle belongs to another process"},
      {"no handler", kWindow, false, 0, "cSystray.HookWindow: Callback method not found"},
      {"install fails", kWindow, true, 5, "cSystray.HookWindow: SetWindowLong failed, error #5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reporter.reports.clear();
    system.installError = c.installError;
    EXPECT_FALSE(hooks->HookWindow(c.window, c.withHandler ? &handler : nullptr));
    EXPECT_EQ(reporter.reports, (std::vector<std::string>{c.report}));
    EXPECT_TRUE(system.installed.empty());
  }
  system.installError = 0;
  EXPECT_TRUE(hooks->HookWindow(kWindow, &handler)) << "a failed install leaves the window free";
}

TEST_F(WindowHooksTest, SecondHookOfAWindowIsRefusedAndTheFirstStands) {
  HookBoth(kPaint);
  ScriptedHandler other(system.log);
  EXPECT_FALSE(hooks->HookWindow(kWindow, &other));
  EXPECT_EQ(reporter.reports, (std::vector<std::string>{"cSystray.HookWindow: Window handle is already subclassed"}));
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(system.log, (std::vector<std::string>{"before:15", "prev:15", "after:15"}));
}

TEST_F(WindowHooksTest, TableAndLookupFailuresAreReported) {
  hooks->WatchMsg(kWindow, kPaint, WatchWhen::Before);
  ASSERT_TRUE(hooks->HookWindow(kWindow, &handler));
  hooks->WatchMsg(77, kPaint, WatchWhen::Before);
  hooks->UnwatchMsg(kWindow, kMouseMove, WatchWhen::After);
  for (std::uint32_t m = 1; m <= MSG_ENTRIES + 1; ++m) hooks->WatchMsg(kWindow, 0x400 + m, WatchWhen::Before);
  EXPECT_EQ(hooks->CallPrevProc(77, kPaint, 0, 0), 0);
  EXPECT_EQ(reporter.reports,
            (std::vector<std::string>{
                "cSystray.FindHook: No hook has been set up",
                "cSystray.FindHook: No hook for ID 77",
                "cSystray.DelMsg: Message &H200 not found in table",
                "cSystray.AddMsg: Message table overflow: a table holds at most 32 messages; watch ALL_MESSAGES "
                "instead",
                "cSystray.FindHook: No hook for ID 77",
            }));
}

TEST_F(WindowHooksTest, UserValueTravelsByReferenceAndTheWideFlagFollowsTheWindow) {
  system.windows[kWindow].wide = false;
  bool wide = true;
  ASSERT_TRUE(hooks->HookWindow(kWindow, &handler, 40, wide));
  EXPECT_FALSE(wide);
  hooks->WatchMsg(kWindow, ALL_MESSAGES, WatchWhen::Both);
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(hooks->HookUserValue(kWindow), 42) << "the handler added one in each phase";
  hooks->HookUserValue(kWindow, 7);
  system.Deliver(kWindow, kPaint);
  EXPECT_EQ(hooks->HookUserValue(kWindow), 9);
}

}  // namespace
}  // namespace kelvane
