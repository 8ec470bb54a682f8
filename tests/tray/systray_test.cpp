#include "tray/systray.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_hook_system.h"

namespace kelvane {
namespace {

using testing::FakeHookSystem;
using testing::RecordingReporter;

constexpr WindowId kHidden = 0x4242;
constexpr std::uint32_t kTaskbarCreated = 0xC123;

struct SentRequest {
  NotifyRequest request;
  IconRecord record;
};

class FakeTrayShell : public TrayShell {
 public:
  std::optional<int> major = 6;
  WindowId windowToCreate = kHidden;
  std::vector<SentRequest> sent;
  std::vector<std::string> calls;  // timers, windows and icons, in order
  IconHandle iconToLoad = 0;
  std::vector<IconHandle> released;

  std::optional<int> ShellMajorVersion() override { return major; }
  WindowId CreateHiddenWindow() override { return windowToCreate; }
  void DestroyHiddenWindow(WindowId) override { calls.push_back("destroy window"); }
  std::uint32_t RegisterTaskbarCreated() override { return kTaskbarCreated; }
  bool Notify(NotifyRequest request, const IconRecord& record) override {
    sent.push_back({request, record});
    calls.push_back("notify " + std::to_string(static_cast<int>(request)));
    return true;
  }
  void StartTimer(WindowId, std::uintptr_t id, std::uint32_t ms) override {
    calls.push_back("start timer " + std::to_string(id) + " " + std::to_string(ms));
  }
  void StopTimer(WindowId, std::uintptr_t id) override { calls.push_back("stop timer " + std::to_string(id)); }
  void SetForeground(WindowId) override { calls.push_back("foreground"); }
  IconHandle LoadIconFile(const std::string&) override { return iconToLoad; }
  IconHandle LoadIconResource(const std::string&) override { return iconToLoad; }
  IconHandle ExtractIconFrom(const std::string&, std::int32_t) override { return iconToLoad; }
  void ReleaseIcon(IconHandle icon) override { released.push_back(icon); }
};

class RecordingEvents : public SystrayEvents {
 public:
  std::vector<std::string> events;
  std::function<void()> onMouseDown;
  void MouseMove() override { events.push_back("MouseMove"); }
  void MouseDown(TrayButton b) override {
    events.push_back("MouseDown " + std::to_string(static_cast<int>(b)));
    if (onMouseDown) onMouseDown();
  }
  void MouseUp(TrayButton b) override { events.push_back("MouseUp " + std::to_string(static_cast<int>(b))); }
  void MouseDblClick(TrayButton b) override {
    events.push_back("MouseDblClick " + std::to_string(static_cast<int>(b)));
  }
  void BalloonClose() override { events.push_back("BalloonClose"); }
  void BalloonClick() override { events.push_back("BalloonClick"); }
  void BalloonShown() override { events.push_back("BalloonShow"); }
  void BalloonHide() override { events.push_back("BalloonHide"); }
};

class SystrayTest : public ::testing::Test {
 protected:
  void SetUp() override { hooks.AddWindow(kHidden); }
  cSystray& Make() {
    tray = std::make_unique<cSystray>(shell, hooks, reporter, events);
    return *tray;
  }
  void Notify(std::uint32_t code) { hooks.Deliver(kHidden, kTrayCallbackMessage, 0, code); }
  const SentRequest& Last() const { return shell.sent.back(); }
  std::string TimerId() const { return std::to_string(tray->BalloonTimerId()); }

  FakeTrayShell shell;
  FakeHookSystem hooks;
  RecordingReporter reporter;
  RecordingEvents events;
  std::unique_ptr<cSystray> tray;
};

TEST(SystrayRecordSize, FollowsTheShellVersion) {
  struct Case {
    std::optional<int> major;
    RecordSize size;
    bool balloons;
    std::size_t tipChars;
  };
  const Case cases[] = {
      {std::nullopt, RecordSize::V1, false, 64}, {4, RecordSize::V1, false, 64}, {5, RecordSize::V2, true, 128},
      {6, RecordSize::V3, true, 128},            {10, RecordSize::V3, true, 128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.major.value_or(-1));
    EXPECT_EQ(RecordSizeForShell(c.major), c.size);
    EXPECT_EQ(IsBalloonCapableSize(c.size), c.balloons);
    EXPECT_EQ(TipFieldChars(c.size), c.tipChars);
  }
}

TEST(SystrayFields, TextsAreCutToLeaveRoomForTheNul) {
  const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
  const std::string e = "\xC3\xA9";              // one unit in two bytes
  struct Case {
    const char* name;
    std::string text;
    std::size_t field;
    std::string expected;
  };
  const Case cases[] = {
      {"short", "Kelvane", 128, "Kelvane"},
      {"exactly fits", std::string(127, 'a'), 128, std::string(127, 'a')},
      {"one too long", std::string(128, 'a'), 128, std::string(127, 'a')},
      {"long", std::string(300, 'b'), 256, std::string(255, 'b')},
      {"multi-byte counts as one", std::string(62, 'a') + e + e, 64, std::string(62, 'a') + e},
      {"pair not split", std::string(62, 'a') + emoji, 64, std::string(62, 'a')},
      {"pair fits", std::string(61, 'a') + emoji, 64, std::string(61, 'a') + emoji},
      {"broken bytes count alone", std::string(61, 'a') + "\xE2\x82" + "z", 64, std::string(61, 'a') + "\xE2\x82"},
      {"encoded surrogate counts per byte", "\xED\xA0\x80" "abc", 4, "\xED\xA0\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FitField(c.text, c.field), c.expected);
  }
}

TEST_F(SystrayTest, FirstShowAddsWithTheWholeRecordThenModifies) {
  cSystray& t = Make();
  t.SysTrayIconFromHandle(77);
  t.SysTrayToolTip("  Kelvane: No Action ");
  EXPECT_EQ(shell.sent.size(), 1u) << "before the add the tip is sent and the icon handle only kept";
  shell.sent.clear();
  t.SysTrayShow(true);
  ASSERT_EQ(shell.sent.size(), 1u);
  EXPECT_EQ(Last().request, NotifyRequest::Add);
  const IconRecord& r = Last().record;
  EXPECT_EQ(r.size, RecordSize::V3);
  EXPECT_EQ(r.timeoutOrVersion, 3u);
  EXPECT_EQ(r.window, kHidden);
  EXPECT_EQ(r.id, t.IconId());
  EXPECT_EQ(r.callbackMessage, kTrayCallbackMessage);
  EXPECT_EQ(r.flags, kNotifyMessage | kNotifyIcon | kNotifyTip);
  EXPECT_EQ(r.icon, 77u);
  EXPECT_EQ(r.tip, "Kelvane: No Action");
  t.SysTrayShow(true);
  EXPECT_EQ(Last().request, NotifyRequest::Modify);
}

TEST_F(SystrayTest, EachChangeSendsOnlyItsPart) {
  cSystray& t = Make();
  t.SysTrayToolTip("   ");
  EXPECT_EQ(Last().request, NotifyRequest::Modify);
  EXPECT_EQ(Last().record.flags, kNotifyTip);
  t.SysTrayShow(true);
  EXPECT_EQ(Last().record.flags, kNotifyMessage) << "a blank tip and no icon";
  t.SysTrayIconFromHandle(6);
  EXPECT_EQ(Last().request, NotifyRequest::Modify);
  EXPECT_EQ(Last().record.flags, kNotifyIcon);
  EXPECT_EQ(Last().record.icon, 6u);
  t.SysTrayToolTip(std::string(200, 'x'));
  EXPECT_EQ(Last().record.flags, kNotifyTip);
  EXPECT_EQ(Last().record.tip, std::string(127, 'x'));
}

TEST_F(SystrayTest, HideRemovesOnlyAnAddedIcon) {
  cSystray& t = Make();
  t.SysTrayShow(false);
  EXPECT_TRUE(shell.sent.empty());
  t.SysTrayShow(true);
  shell.calls.clear();
  t.SysTrayShow(false);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"stop timer " + TimerId(), "notify 2"}));
  EXPECT_FALSE(t.Added());
}

TEST_F(SystrayTest, BalloonPropertiesResendTipAndBalloon) {
  cSystray& t = Make();
  t.SysTrayShow(true);
  t.BalloonIcon(4);
  EXPECT_EQ(Last().record.flags, kNotifyTip | kNotifyBalloon);
  EXPECT_EQ(Last().record.balloonFlags, 4u);
  t.BalloonTitle(std::string(80, 'T'));
  EXPECT_EQ(Last().record.balloonTitle, std::string(63, 'T'));
  t.BalloonText("Kelvane will perform Shutdown");
  EXPECT_EQ(Last().record.balloonText, "Kelvane will perform Shutdown");
  EXPECT_EQ(Last().record.flags, kNotifyTip | kNotifyBalloon);
  EXPECT_EQ(t.BalloonText(), "Kelvane will perform Shutdown");
}

TEST_F(SystrayTest, OldShellsGetAShortTipAndNoBalloons) {
  shell.major = 4;
  cSystray& t = Make();
  t.SysTrayToolTip(std::string(100, 'x'));
  EXPECT_EQ(Last().record.tip, std::string(63, 'x'));
  t.SysTrayShow(true);
  shell.sent.clear();
  t.BalloonIcon(4);
  t.BalloonTitle("Kelvane");
  t.BalloonText("text");
  EXPECT_FALSE(t.BalloonShow(true, 3000, false));
  EXPECT_FALSE(t.IsBalloonCapable());
  EXPECT_TRUE(shell.sent.empty());
  EXPECT_EQ(t.BalloonText(), "");
}

TEST_F(SystrayTest, BalloonShowHidesTheOldBalloonFirst) {
  cSystray& t = Make();
  t.SysTrayShow(true);
  t.BalloonIcon(4);
  t.BalloonTitle("Kelvane");
  t.BalloonText("No Action");
  shell.sent.clear();
  shell.calls.clear();
  EXPECT_TRUE(t.BalloonShow(true, 3000, true));
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"notify 1", "stop timer " + TimerId(), "notify 1"}));
  const IconRecord& hide = shell.sent[0].record;
  EXPECT_EQ(hide.flags, kNotifyBalloon);
  EXPECT_EQ(hide.balloonText, "");
  EXPECT_EQ(hide.balloonTitle, "");
  const IconRecord& show = shell.sent[1].record;
  EXPECT_EQ(show.flags, kNotifyBalloon);
  EXPECT_EQ(show.balloonText, "No Action");
  EXPECT_EQ(show.balloonTitle, "Kelvane");
  EXPECT_EQ(show.balloonFlags, 4u | kBalloonNoSound);
}

TEST_F(SystrayTest, BalloonTimerRunsFromShownToFiring) {
  cSystray& t = Make();
  t.SysTrayShow(true);
  t.BalloonText("text");
  t.BalloonShow(true, 3000, false);
  shell.calls.clear();
  Notify(kBalloonShown);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"start timer " + TimerId() + " 3000"}));
  EXPECT_EQ(events.events, (std::vector<std::string>{"BalloonShow"}));
  shell.calls.clear();
  hooks.Deliver(kHidden, kTimerMessage, t.BalloonTimerId(), 0);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"notify 1", "stop timer " + TimerId()}));
  EXPECT_EQ(Last().record.balloonText, "");
  shell.calls.clear();
  hooks.Deliver(kHidden, kTimerMessage, t.BalloonTimerId() + 7, 0);
  EXPECT_TRUE(shell.calls.empty()) << "other timers of the window are not the balloon's";
  t.BalloonShow(true, -1, false);
  shell.calls.clear();
  Notify(kBalloonShown);
  EXPECT_TRUE(shell.calls.empty()) << "a balloon without a timeout starts no timer";
}

TEST_F(SystrayTest, NotificationsBecomeEventsAndReachTheForwardProcedure) {
  cSystray& t = Make();
  std::vector<std::string> forwarded;
  t.ExtraParam(99);
  t.SetProc([&](WindowId w, std::uint32_t code, std::intptr_t extra) {
    forwarded.push_back(std::to_string(w) + "/" + std::to_string(code) + "/" + std::to_string(extra));
  });
  struct Case {
    std::uint32_t code;
    const char* event;  // nullptr: none
    bool stopsTimer;
  };
  const Case cases[] = {
      {0x200, "MouseMove", false},         {0x201, "MouseDown 1", false},     {0x202, "MouseUp 1", false},
      {0x203, "MouseDblClick 1", false},   {0x204, "MouseDown 2", false},     {0x205, "MouseUp 2", false},
      {0x206, "MouseDblClick 2", false},   {0x207, "MouseDown 4", false},     {0x208, "MouseUp 4", false},
      {0x209, "MouseDblClick 4", false},   {0x20A, nullptr, false},           {0x1FF, nullptr, false},
      {kBalloonHidden, "BalloonHide", true}, {kBalloonTimedOut, "BalloonClose", true},
      {kBalloonClicked, "BalloonClick", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    events.events.clear();
    forwarded.clear();
    shell.calls.clear();
    Notify(c.code);
    EXPECT_EQ(events.events, c.event ? std::vector<std::string>{c.event} : std::vector<std::string>{});
    EXPECT_EQ(forwarded, (std::vector<std::string>{std::to_string(kHidden) + "/" + std::to_string(c.code) + "/99"}));
    EXPECT_EQ(shell.calls, c.stopsTimer ? std::vector<std::string>{"stop timer " + TimerId()}
                                        : std::vector<std::string>{});
  }
}

TEST_F(SystrayTest, RebuiltTaskBarGetsTheIconBack) {
  cSystray& t = Make();
  hooks.Deliver(kHidden, kTaskbarCreated);
  EXPECT_TRUE(shell.sent.empty()) << "an icon that was not shown stays away";
  t.SysTrayIconFromHandle(8);
  t.SysTrayToolTip("Kelvane: No Action");
  t.SysTrayShow(true);
  shell.sent.clear();
  hooks.Deliver(kHidden, kTaskbarCreated);
  ASSERT_EQ(shell.sent.size(), 1u);
  EXPECT_EQ(Last().request, NotifyRequest::Add);
  EXPECT_EQ(Last().record.flags, kNotifyMessage | kNotifyIcon | kNotifyTip);
  EXPECT_EQ(Last().record.icon, 8u);
  EXPECT_EQ(Last().record.tip, "Kelvane: No Action");
  EXPECT_TRUE(t.Added());
}

TEST_F(SystrayTest, TerminateTearsDownOnceAndSilencesLaterRequests) {
  cSystray& t = Make();
  shell.iconToLoad = 31;
  ASSERT_TRUE(t.SysTrayIconFromFile("a.ico"));
  t.SysTrayShow(true);
  shell.calls.clear();
  t.DoTerminate();
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"stop timer " + TimerId(), "notify 2", "destroy window"}));
  EXPECT_EQ(shell.released, (std::vector<IconHandle>{31}));
  EXPECT_TRUE(hooks.installed.empty());
  EXPECT_EQ(t.lhWnd(), 0u);
  shell.calls.clear();
  t.SysTrayShow(true);
  t.SysTrayToolTip("late");
  tray.reset();
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(shell.released.size(), 1u);
}

TEST_F(SystrayTest, DestructionTearsDown) {
  cSystray& t = Make();
  t.SysTrayShow(true);
  const std::string timer = TimerId();
  shell.calls.clear();
  tray.reset();
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"stop timer " + timer, "notify 2", "destroy window"}));
  EXPECT_TRUE(hooks.installed.empty());
}

TEST_F(SystrayTest, LoadedIconsAreReleasedOnlyAfterTheNextOneIsInUse) {
  cSystray& t = Make();
  t.SysTrayShow(true);
  shell.iconToLoad = 11;
  ASSERT_TRUE(t.SysTrayIconFromRes("IDI_TRAY"));
  EXPECT_EQ(Last().record.icon, 11u);
  shell.iconToLoad = 0;
  shell.sent.clear();
  EXPECT_FALSE(t.SysTrayIconFromCompRes("shell32.dll", 3));
  EXPECT_TRUE(shell.sent.empty());
  EXPECT_TRUE(shell.released.empty()) << "the shown icon stays valid after a failed load";
  shell.iconToLoad = 12;
  ASSERT_TRUE(t.SysTrayIconFromCompRes("shell32.dll", 3));
  EXPECT_EQ(Last().record.icon, 12u);
  EXPECT_EQ(shell.released, (std::vector<IconHandle>{11}));
}

TEST_F(SystrayTest, WithoutAHiddenWindowTheHookFailureIsReported) {
  shell.windowToCreate = 0;
  cSystray& t = Make();
  EXPECT_EQ(reporter.reports, (std::vector<std::string>{"cSystray.HookWindow: Invalid window handle"}));
  t.SysTrayShow(true);
  EXPECT_TRUE(shell.sent.empty()) << "an icon without a window could never be removed";
}

TEST_F(SystrayTest, AnEventHandlerMayDestroyTheObject) {
  cSystray& t = Make();
  bool forwarded = false;
  t.SetProc([&](WindowId, std::uint32_t, std::intptr_t) { forwarded = true; });
  events.onMouseDown = [&] { tray.reset(); };
  Notify(0x204);
  EXPECT_EQ(events.events, (std::vector<std::string>{"MouseDown 2"}));
  EXPECT_FALSE(forwarded);
  EXPECT_TRUE(hooks.installed.empty());
}

}  // namespace
}  // namespace kelvane
