#include "base/numeric_spin.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(NumericSpin, TextIsClampedToTheSpinRangeAndTheSpinFollows) {
  const struct {
    int min, max, initial;
    bool twoDigits;
    const char* typed;
    const char* text;
    int value;
  } cases[] = {
      {1, 12, 1, false, "", "1", 1},        // deleting the hour gives 1
      {1, 12, 5, false, "", "1", 1},
      {1, 999, 1, false, "5000", "999", 999},
      {1, 999, 1, false, "0", "1", 1},
      {1, 999, 1, false, "12", "12", 12},
      {0, 59, 0, true, "7", "07", 7},       // the minute is shown with two digits
      {0, 59, 5, true, "", "00", 0},
      {0, 59, 0, true, "", "", 0},          // nothing moves, so the box stays empty
      {0, 59, 0, true, "75", "59", 59},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    NumericSpin spin(c.min, c.max, c.initial, c.twoDigits);
    spin.SetText(c.typed);
    EXPECT_EQ(spin.text(), c.text);
    EXPECT_EQ(spin.value(), c.value);
  }
}

TEST(NumericSpin, SpinChangesRewriteTheText) {
  NumericSpin minute(0, 59, 0, true);
  minute.SetValue(9);
  EXPECT_EQ(minute.text(), "09");
  minute.SetValue(70);
  EXPECT_EQ(minute.value(), 59);
  EXPECT_EQ(minute.text(), "59");
}

TEST(NumericSpin, OnlyDigitsAndBackspaceAreTyped) {
  EXPECT_TRUE(NumericSpin::AcceptsChar(U'0'));
  EXPECT_TRUE(NumericSpin::AcceptsChar(U'9'));
  EXPECT_TRUE(NumericSpin::AcceptsChar(8));
  for (char32_t c : {U'a', U'-', U'.', U' ', U'٣'}) EXPECT_FALSE(NumericSpin::AcceptsChar(c));
}

}  // namespace
}  // namespace kelvane
