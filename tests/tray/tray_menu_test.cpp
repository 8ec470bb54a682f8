#include "tray/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

TEST(TrayMenu, UnknownItemIdsAreNoCommand) {
  EXPECT_EQ(TrayMenuCommandFromId(0), TrayMenuCommand::None);
  EXPECT_EQ(TrayMenuCommandFromId(99), TrayMenuCommand::None);
}

}  // namespace
}  // namespace kelvane
