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

class RecordedHidingTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  testing::MemoryHiddenRecord record{&desktop.log};
  WindowHider hider{desktop, &record};
};

TEST_F(RecordedHidingTest, TheRecordNamesEveryHiddenWindowBeforeTheFirstIsHidden) {
  const WindowId editor = desktop.Add("Editor", true, kShowMaximized);
  desktop.Get(editor).className = "EditorClass";
  hider.HideAllWindows();
  const WindowId mail = desktop.Add("Mail", true, kShowMinimized);
  hider.HideAllWindows();
  EXPECT_EQ(desktop.log, (Log{"record", "hide Editor", "record", "hide Mail"}));
  EXPECT_EQ(DecodeHiddenWindows(record.text),
            (std::vector<HiddenWindow>{{editor, kShowMaximized, FakeDesktop::kOtherProcess, "EditorClass"},
                                       {mail, kShowMinimized, FakeDesktop::kOtherProcess, "FakeWindow"}}));
}

TEST_F(RecordedHidingTest, ShowingTheWindowsRemovesTheRecordAfterwards) {
  desktop.Add("Editor", true, kShowNormal);
  hider.HideAllWindows();
  desktop.log.clear();
  hider.ShowHiddenWindows();
  EXPECT_EQ(desktop.log, (Log{"show Editor", "clear record"}));
  EXPECT_EQ(record.text, "");
}

TEST_F(RecordedHidingTest, AStartAfterADeathShowsWhatTheRecordNamesInItsStateAndRemovesTheRecord) {
  const WindowId top = desktop.Add("Top", true, kShowMinimized);
  const WindowId bottom = desktop.Add("Bottom", true, kShowMaximized);
  desktop.Add("Own", true, kShowNormal, true);
  hider.HideAllWindows();

  // The program died; the next one has only the record.
  testing::MemoryHiddenRecord left{&desktop.log};
  left.text = record.text;
  WindowHider next(desktop, &left);
  desktop.log.clear();
  next.ShowRecordedWindows();
  EXPECT_EQ(desktop.log, (Log{"show Bottom", "show Top", "clear record"}));
  EXPECT_EQ(desktop.requested[top], kShowMinNoActive);
  EXPECT_EQ(desktop.requested[bottom], kShowMaximized);
  EXPECT_EQ(left.text, "");
  EXPECT_EQ(desktop.invalidations, 2);
}

TEST_F(RecordedHidingTest, AStartWithARecordOfNothingUsableShowsNothingAndRemovesIt) {
  const WindowId stranger = desktop.Add("Stranger", false, kShowNormal);
  desktop.Get(stranger).className = "Other";
  const struct {
    std::string text;
    int enumerations;  // a record that names no window spares going through the desktop
  } cases[] = {
      {"", 0},
      {"\x01garbage\n\n", 0},
      {EncodeHiddenWindows({{stranger, kShowNormal, FakeDesktop::kOtherProcess, "Mine"}}), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    record.text = c.text;
    desktop.log.clear();
    desktop.enumerations = 0;
    hider.ShowRecordedWindows();
    EXPECT_EQ(desktop.log, (Log{"clear record"}));
    EXPECT_FALSE(desktop.Get(stranger).visible);
    EXPECT_EQ(desktop.enumerations, c.enumerations);
  }
  EXPECT_EQ(desktop.invalidations, 0);
}

}  // namespace
}  // namespace kelvane
