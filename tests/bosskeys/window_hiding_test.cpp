#include "bosskeys/window_hiding.h"

#include <gtest/gtest.h>

#include "bosskeys/bosskeys_fakes.h"

namespace kelvane {
namespace {

using testing::FakeDesktop;
using Log = std::vector<std::string>;

class WindowHidingTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  WindowHider hider{desktop};
};

TEST_F(WindowHidingTest, HidesVisibleTitledWindowsAndBringsEachBackInItsState) {
  const WindowId normal = desktop.Add("Editor", true, kShowNormal);
  const WindowId minimised = desktop.Add("Mail", true, kShowMinimized);
  const WindowId maximised = desktop.Add("Browser", true, kShowMaximized);
  hider.HideAllWindows();
  for (const WindowId window : {normal, minimised, maximised}) EXPECT_FALSE(desktop.Get(window).visible);
  EXPECT_EQ(desktop.invalidations, 1);

  hider.ShowHiddenWindows();
  EXPECT_EQ(desktop.requested[normal], kShowNormal);
  EXPECT_EQ(desktop.requested[minimised], kShowMinNoActive);
  EXPECT_EQ(desktop.requested[maximised], kShowMaximized);
  for (const WindowId window : {normal, minimised, maximised}) EXPECT_TRUE(desktop.Get(window).visible);
  EXPECT_EQ(desktop.invalidations, 2);
  EXPECT_TRUE(hider.Hidden().empty());
}

TEST_F(WindowHidingTest, ShowsBottomFirstSoTheTopWindowEndsOnTop) {
  desktop.Add("Top", true, kShowNormal);
  desktop.Add("Middle", true, kShowNormal);
  desktop.Add("Bottom", true, kShowNormal);
  hider.HideAllWindows();
  desktop.log.clear();
  hider.ShowHiddenWindows();
  EXPECT_EQ(desktop.log, (Log{"show Bottom", "show Middle", "show Top"}));
}

TEST_F(WindowHidingTest, KeepsThisProgramsWindowsWhateverTheirTitleAndExcludedAndInvisibleOnes) {
  constexpr bool kOurs = true;
  // The prompt has disabled the main window: were it hidden, nothing could bring it back.
  desktop.Add("Kelvane", true, kShowNormal, kOurs);
  desktop.Add(" Kelvane", true, kShowNormal, kOurs);
  desktop.Add("Advanced Options", true, kShowNormal, kOurs);
  desktop.Add(" Kelvane", true, kShowNormal);  // another program's window with our title
  desktop.Add("Program Manager", true, kShowNormal);
  desktop.Add("", true, kShowNormal);
  const WindowId invisible = desktop.Add("Tool", false, kShowNormal);
  desktop.Add("program manager", true, kShowNormal);      // exclusion is case-sensitive
  desktop.Add("Start Menu - Editor", true, kShowNormal);  // whole titles only
  hider.HideAllWindows();
  EXPECT_EQ(desktop.log, (Log{"hide  Kelvane", "hide program manager", "hide Start Menu - Editor"}));

  desktop.log.clear();
  hider.ShowHiddenWindows();
  EXPECT_EQ(desktop.log, (Log{"show Start Menu - Editor", "show program manager", "show  Kelvane"}));
  EXPECT_FALSE(desktop.Get(invisible).visible);
}

TEST_F(WindowHidingTest, AWindowThatVanishedIsSkippedAndTheRestComeBack) {
  const WindowId first = desktop.Add("First", true, kShowNormal);
  const WindowId gone = desktop.Add("Gone", true, kShowMaximized);
  const WindowId last = desktop.Add("Last", true, kShowMinimized);
  hider.HideAllWindows();
  desktop.Destroy(gone);
  desktop.log.clear();
  hider.ShowHiddenWindows();
  EXPECT_EQ(desktop.log, (Log{"show Last", "show First"}));
  EXPECT_TRUE(desktop.Get(first).visible);
  EXPECT_EQ(desktop.Get(last).showCommand, kShowMinimized);
}

TEST_F(WindowHidingTest, ASecondHideAfterAShowRecordsOnlyWhatItHid) {
  const WindowId first = desktop.Add("First", true, kShowNormal);
  hider.HideAllWindows();
  hider.ShowHiddenWindows();
  const WindowId second = desktop.Add("Second", true, kShowNormal);
  desktop.Get(first).visible = false;  // closed to the tray meanwhile
  hider.HideAllWindows();
  ASSERT_EQ(hider.Hidden().size(), 1u);
  EXPECT_EQ(hider.Hidden().front().handle, second);
}

TEST_F(WindowHidingTest, HidingTwiceKeepsTheWindowsOfTheFirstHide) {
  const WindowId early = desktop.Add("Early", true, kShowMaximized);
  hider.HideAllWindows();
  const WindowId late = desktop.Add("Late", true, kShowNormal);
  hider.HideAllWindows();
  hider.ShowHiddenWindows();
  EXPECT_TRUE(desktop.Get(early).visible);
  EXPECT_EQ(desktop.Get(early).showCommand, kShowMaximized);
  EXPECT_TRUE(desktop.Get(late).visible);
}

}  // namespace
}  // namespace kelvane
