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

TEST(TrayMenu, MouseDownReactsByButtonAndChosenCommand) {
  struct Case {
    TrayButton button;
    TrayMenuCommand choice;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {TrayButton::Left, TrayMenuCommand::None, {"close about", "show", "front"}},
      {TrayButton::Middle, TrayMenuCommand::None, {}},
      {TrayButton::Right, TrayMenuCommand::None, {"menu"}},
      {TrayButton::Right, TrayMenuCommand::Exit, {"menu", "ask to quit"}},
      {TrayButton::Right, TrayMenuCommand::Enabled, {"menu", "press enable"}},
      {TrayButton::Right, TrayMenuCommand::Show, {"menu", "show"}},
      {TrayButton::Right, TrayMenuCommand::About, {"menu", "about"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.button) << "/" << static_cast<int>(c.choice));
    RecordingHost host;
    host.choice = c.choice;
    OnTrayMouseDown(c.button, host);
    EXPECT_EQ(host.calls, c.calls);
  }
}

TEST(TrayMenu, UnknownItemIdsAreNoCommand) {
  EXPECT_EQ(TrayMenuCommandFromId(0), TrayMenuCommand::None);
  EXPECT_EQ(TrayMenuCommandFromId(99), TrayMenuCommand::None);
}

}  // namespace
}  // namespace kelvane
