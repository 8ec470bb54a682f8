#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hook_system.h"
#include "tray/frm_main1_win32.h"
#include "tray/systray_win32.h"
#include "tray/tray_icon_win32.h"
#include "tray/window_hook_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::PumpUntil;
using testing::RecordingReporter;

// Whether the shell holds an icon for this window and id: a modify that
// changes nothing succeeds only for an icon that is there.
bool ShellHasIcon(WindowId window, std::uint32_t id) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = ToHwnd(window);
  probe.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

class RecordingEvents : public SystrayEvents {
 public:
  std::vector<std::string> events;
  void MouseDown(TrayButton b) override { events.push_back("MouseDown " + std::to_string(static_cast<int>(b))); }
  void MouseUp(TrayButton b) override { events.push_back("MouseUp " + std::to_string(static_cast<int>(b))); }
  void BalloonShown() override { events.push_back("BalloonShow"); }
  void BalloonClick() override { events.push_back("BalloonClick"); }
};

// The real shell, with a record of the requests it was given.
class RecordingShell : public TrayShell {
 public:
  Win32TrayShell real{GetModuleHandleW(nullptr)};
  std::vector<std::pair<NotifyRequest, IconRecord>> requests;
  std::vector<bool> answers;

  std::optional<int> ShellMajorVersion() override { return real.ShellMajorVersion(); }
  WindowId CreateHiddenWindow() override { return real.CreateHiddenWindow(); }
  void DestroyHiddenWindow(WindowId w) override { real.DestroyHiddenWindow(w); }
  std::uint32_t RegisterTaskbarCreated() override { return real.RegisterTaskbarCreated(); }
  bool Notify(NotifyRequest request, const IconRecord& record) override {
    requests.emplace_back(request, record);
    answers.push_back(real.Notify(request, record));
    return answers.back();
  }
  void StartTimer(WindowId w, std::uintptr_t id, std::uint32_t ms) override { real.StartTimer(w, id, ms); }
  void StopTimer(WindowId w, std::uintptr_t id) override { real.StopTimer(w, id); }
  void SetForeground(WindowId w) override { real.SetForeground(w); }
  IconHandle LoadIconFile(const std::string& f) override { return real.LoadIconFile(f); }
  IconHandle LoadIconResource(const std::string& n) override { return real.LoadIconResource(n); }
  IconHandle ExtractIconFrom(const std::string& f, std::int32_t i) override { return real.ExtractIconFrom(f, i); }
  void ReleaseIcon(IconHandle icon) override { real.ReleaseIcon(icon); }
};

class SystrayWin32Test : public ::testing::Test {
 protected:
  HWND Hidden() const { return ToHwnd(tray->lhWnd()); }
  bool Present() const { return ShellHasIcon(tray->lhWnd(), tray->IconId()); }

  frmMain1 form;
  RecordingShell shell;
  SubclassHookSystem hooks;
  RecordingReporter reporter;
  RecordingEvents events;
  std::unique_ptr<cSystray> tray = std::make_unique<cSystray>(shell, hooks, reporter, events);
};

TEST(NotifyIconDataWin32, TextsAreTerminatedAndFieldsZeroPadded) {
  IconRecord record;
  record.size = RecordSize::V3;
  record.tip = std::string(300, 'x');  // not fitted: the conversion must still not overflow
  record.balloonText = "Ünïcode ✓ 日本語";
  record.balloonTitle = "Kelvane";
  const NOTIFYICONDATAW data = ToNotifyIconData(record);
  EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V3_SIZE));
  EXPECT_EQ(std::wstring(data.szTip), std::wstring(127, L'x'));
  EXPECT_STREQ(data.szInfo, L"Ünïcode ✓ 日本語");
  for (std::size_t i = std::wstring(data.szInfo).size(); i < std::size(data.szInfo); ++i) ASSERT_EQ(data.szInfo[i], 0);
  EXPECT_STREQ(data.szInfoTitle, L"Kelvane");
}

TEST_F(SystrayWin32Test, TheIconIsAddedChangedAndRemovedInTheRealTray) {
  ASSERT_TRUE(IsWindow(Hidden()));
  EXPECT_TRUE(tray->IsBalloonCapable()) << "the shell library reports version 6";
  EXPECT_TRUE(reporter.reports.empty());
  tray->SysTrayIconFromHandle(ToIconHandle(form.MyIco(TrayImage::Idle)));
  tray->SysTrayToolTip("Kelvane: No Action");
  tray->SysTrayShow(true);
  ASSERT_EQ(shell.requests.back().first, NotifyRequest::Add);
  EXPECT_TRUE(shell.answers.back());
  EXPECT_TRUE(Present());
  // Without a desktop tray to dock into, Wine shows its icons in a window of
  // its own while it has any.
  const HWND wineTray = FindWindowW(nullptr, L"Wine System Tray");
  ASSERT_NE(wineTray, nullptr);
  EXPECT_TRUE(IsWindowVisible(wineTray));

  tray->SysTrayIconFromHandle(ToIconHandle(form.MyIco(TrayImage::Armed)));
  EXPECT_EQ(shell.requests.back().first, NotifyRequest::Modify);
  EXPECT_TRUE(shell.answers.back());
  tray->SysTrayToolTip("Kelvane: Shutdown On 1/1/2027 10:00:00 PM");
  EXPECT_TRUE(shell.answers.back());

  tray->SysTrayShow(false);
  EXPECT_EQ(shell.requests.back().first, NotifyRequest::Delete);
  EXPECT_TRUE(shell.answers.back());
  EXPECT_FALSE(Present());
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(wineTray); }));
}

TEST_F(SystrayWin32Test, TerminateRemovesTheIconAndTheHiddenWindow) {
  tray->SysTrayShow(true);
  const WindowId window = tray->lhWnd();
  const std::uint32_t id = tray->IconId();
  ASSERT_TRUE(ShellHasIcon(window, id));
  tray->DoTerminate();
  EXPECT_FALSE(ShellHasIcon(window, id));
  EXPECT_FALSE(IsWindow(ToHwnd(window)));
  const std::size_t sent = shell.requests.size();
  tray.reset();
  EXPECT_EQ(shell.requests.size(), sent);
}

TEST_F(SystrayWin32Test, TheBalloonTimerHidesTheBalloonThroughTheHook) {
  tray->SysTrayShow(true);
  tray->BalloonTitle("Kelvane");
  tray->BalloonText("Kelvane will perform Shutdown in 9 seconds");
  ASSERT_TRUE(tray->BalloonShow(true, 150, false));
  EXPECT_TRUE(shell.answers.back());
  SendMessageW(Hidden(), WM_MOUSEMOVE, 0, NIN_BALLOONSHOW);
  EXPECT_EQ(events.events, (std::vector<std::string>{"BalloonShow"}));
  const std::size_t before = shell.requests.size();
  ASSERT_TRUE(PumpUntil([&] { return shell.requests.size() > before; }));
  const IconRecord& hide = shell.requests.back().second;
  EXPECT_EQ(hide.flags, kNotifyBalloon);
  EXPECT_EQ(hide.balloonText, "");
}

TEST_F(SystrayWin32Test, ARebuiltTaskBarGetsTheIconBack) {
  tray->SysTrayIconFromHandle(ToIconHandle(form.MyIco(TrayImage::Idle)));
  tray->SysTrayToolTip("Kelvane: No Action");
  tray->SysTrayShow(true);
  // A restarted shell forgets every icon and then announces itself.
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = Hidden();
  gone.uID = tray->IconId();
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_FALSE(Present());
  SendMessageW(Hidden(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Present());
  EXPECT_EQ(shell.requests.back().first, NotifyRequest::Add);
  EXPECT_EQ(shell.requests.back().second.tip, "Kelvane: No Action");
}

TEST(SystrayTrayIconWin32, TheMainWindowSeamDrivesTheRealIcon) {
  frmMain1 form;
  RecordingEvents events;
  RecordingReporter reporter;
  SystrayTrayIcon icon(GetModuleHandleW(nullptr), form, events, reporter);
  icon.SetImage(TrayImage::Idle);
  icon.SetToolTip("Kelvane: No Action");
  icon.Show();
  const WindowId window = icon.Systray().lhWnd();
  const std::uint32_t id = icon.Systray().IconId();
  EXPECT_TRUE(ShellHasIcon(window, id));
  ASSERT_TRUE(icon.IsBalloonCapable());
  icon.SetBalloonIcon(kBalloonIconUser);
  icon.SetBalloonTitle("Kelvane");
  icon.SetBalloonText("No Action");
  EXPECT_TRUE(icon.BalloonShow(true, kBalloonTimeoutMs, false));
  icon.SetImage(TrayImage::Armed);
  SendMessageW(ToHwnd(window), WM_MOUSEMOVE, 0, WM_LBUTTONDOWN);
  EXPECT_EQ(events.events, (std::vector<std::string>{"MouseDown 1"}));
  icon.Terminate();
  EXPECT_FALSE(ShellHasIcon(window, id));
  icon.Show();
  EXPECT_FALSE(ShellHasIcon(window, id)) << "nothing comes back after the end";
  EXPECT_TRUE(reporter.reports.empty());
}

}  // namespace
}  // namespace kelvane
