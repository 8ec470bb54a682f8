#include "bosskeys/hidden_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bosskeys/window_hiding.h"

namespace kelvane {
namespace {

using Windows = std::vector<HiddenWindow>;

TEST(HiddenRecord, EveryWindowSurvivesTheRoundTrip) {
  const Windows windows{
      {1, kShowNormal, 1, "A"},
      {std::numeric_limits<WindowId>::max(), kShowMinimized, std::numeric_limits<std::uint32_t>::max(), "Notepad"},
      {0x30A12, kShowMaximized, 4012, "class with blanks"},
      {0x30A14, kShowNormal, 4012, "100% sure\r\nsecond line\n"},
      {0x30A16, kShowNormal, 4012, "%0A%25"},
      {0x30A18, kShowNormal, 4012, "Fenêtre ✓ 窗口"},
      {0x30A1A, kShowNormal, 4012, std::string(768, 'x')},
  };
  EXPECT_EQ(DecodeHiddenWindows(EncodeHiddenWindows(windows)), windows);
  EXPECT_TRUE(DecodeHiddenWindows(EncodeHiddenWindows({})).empty());
}

TEST(HiddenRecord, LinesThatAreNotAWindowAreSkipped) {
  const struct {
    const char* what;
    std::string line;
  } cases[] = {
      {"empty", ""},
      {"words", "hello world, this is not a record"},
      {"no class", "1 1 1"},
      {"empty class", "1 1 1 "},
      {"handle zero", "0 1 1 A"},
      {"leading zero", "012 1 1 A"},
      {"negative handle", "-5 1 1 A"},
      {"handle past 64 bits", "18446744073709551616 1 1 A"},
      {"show command hide", "5 0 1 A"},
      {"show command not from a placement", "5 7 1 A"},
      {"process zero", "5 1 0 A"},
      {"process past 32 bits", "5 1 4294967296 A"},
      {"two blanks", "5  1 1 A"},
      {"sign", "+5 1 1 A"},
      {"hex handle", "0x5 1 1 A"},
      {"carriage return", "5 1 1 A\r"},
      {"cut escape", "5 1 1 A%2"},
      {"bad escape", "5 1 1 A%zz"},
      {"lower-case escape", "5 1 1 A%0a"},
      {"class too long", "5 1 1 " + std::string(769, 'x')},
      {"binary", std::string("\x01\xff\x00\x7f 1 1 A", 10)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(DecodeHiddenWindows(c.line).empty());
    // Garbage lines around a good one leave the good one.
    EXPECT_EQ(DecodeHiddenWindows(c.line + "\n7 3 9 Good\n" + c.line), (Windows{{7, kShowMaximized, 9, "Good"}}));
  }
}

TopLevelWindow Live(WindowId handle, bool visible, std::uint32_t process, std::string className,
                    bool ownProcess = false) {
  return {handle, "Title", visible, kShowNormal, ownProcess, process, std::move(className)};
}

TEST(HiddenRecord, OnlyWindowsStillHiddenAndStillTheirOwnAreShownAgain) {
  const HiddenWindow recorded{0x100, kShowMaximized, 40, "Editor"};
  const struct {
    const char* what;
    std::vector<TopLevelWindow> desktop;
    bool shown;
  } cases[] = {
      {"still hidden", {Live(0x100, false, 40, "Editor")}, true},
      {"gone", {Live(0x104, false, 40, "Editor")}, false},
      {"shown again by someone else", {Live(0x100, true, 40, "Editor")}, false},
      {"handle of another program now", {Live(0x100, false, 41, "Editor")}, false},
      {"handle of another window class now", {Live(0x100, false, 40, "Dialog")}, false},
      {"class differs in case", {Live(0x100, false, 40, "editor")}, false},
      {"one of this program's windows now", {Live(0x100, false, 40, "Editor", true)}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WindowsToShowAgain({recorded}, c.desktop), c.shown ? Windows{recorded} : Windows{});
  }
}

TEST(HiddenRecord, ShownAgainInRecordedOrderEachOnce) {
  const Windows recorded{{0x1, kShowNormal, 7, "A"}, {0x2, kShowMinimized, 7, "B"}, {0x1, kShowMaximized, 7, "A"}};
  const std::vector<TopLevelWindow> desktop{Live(0x2, false, 7, "B"), Live(0x1, false, 7, "A")};
  EXPECT_EQ(WindowsToShowAgain(recorded, desktop), (Windows{recorded[0], recorded[1]}));
}

TEST(HiddenRecord, AMegabyteLineIsSkippedAndTheNextStillRead) {
  const std::string record = "1 1 1 " + std::string(4 << 20, 'C') + "\n2 3 4 Notepad\n";
  EXPECT_EQ(DecodeHiddenWindows(record), (Windows{{2, kShowMaximized, 4, "Notepad"}}));
}
}  // namespace
}  // namespace kelvane
