#include "tray/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

class RecordingHost : public TrayMenuHost {
 public:
  std::vector<std::string> calls;
  TrayMenuCommand choice = TrayMenuCommand::None;
  void CloseAboutBox() override { calls.push_back("close about"); }
  void ShowMainWindow() override { calls.push_back("show"); }
  void BringMainWindowToFront() override { calls.push_back("front"); }
  TrayMenuCommand OpenTrayMenu() override {
    calls.push_back("menu");
    return choice;
  }
  void PressEnableButton() override { calls.push_back("press enable"); }
  void ShowAboutBox() override { calls.push_back("about"); }
  void AskToQuit() override { calls.push_back("ask to quit"); }
};

TEST(TrayMenu, ItemIdsRoundTripToTheirCommands) {
  int commands = 0;
  for (const TrayMenuItem& item : TrayMenuItems()) {
    if (item.command == TrayMenuCommand::None) continue;
    ++commands;
    EXPECT_EQ(TrayMenuCommandFromId(static_cast<std::uint32_t>(item.command)), item.command) << item.caption;
  }
  EXPECT_EQ(commands, 4);
  EXPECT_EQ(TrayMenuCommandFromId(0), TrayMenuCommand::None);
  EXPECT_EQ(TrayMenuCommandFromId(99), TrayMenuCommand::None);
}

TEST(TrayMenu, LeftClickClosesTheAboutBoxAndShowsTheMainWindowInFront) {
  RecordingHost host;
  OnTrayMouseDown(TrayButton::Left, host);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"close about", "show", "front"}));
}

TEST(TrayMenu, RightClickRunsTheChosenCommand) {
  struct Case {
    TrayMenuCommand choice;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {TrayMenuCommand::None, {"menu"}},
      {TrayMenuCommand::Exit, {"menu", "ask to quit"}},
      {TrayMenuCommand::Enabled, {"menu", "press enable"}},
      {TrayMenuCommand::Show, {"menu", "show"}},
      {TrayMenuCommand::About, {"menu", "about"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.choice));
    RecordingHost host;
    host.choice = c.choice;
    OnTrayMouseDown(TrayButton::Right, host);
    EXPECT_EQ(host.calls, c.calls);
  }
}

TEST(TrayMenu, MiddleClickDoesNothing) {
  RecordingHost host;
  OnTrayMouseDown(TrayButton::Middle, host);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace kelvane
