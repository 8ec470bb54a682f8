#include "base/numeric_spin.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

NumericSpin Period() { return NumericSpin(1, 999, 1); }
NumericSpin Minute() { return NumericSpin(0, 59, 0, true); }

TEST(NumericSpin, WhatIsTypedStaysAsTypedUntilTheEditIsFinished) {
  const struct {
    const char* what;
    NumericSpin box;
    std::vector<const char*> keystrokes;  // the box's text after each key
    const char* text;
    int value;
  } cases[] = {
      {"countdown cleared, then 30", Period(), {"", "3", "30"}, "30", 30},
      {"blink seconds cleared, then 30", NumericSpin(1, 999, 30), {"3", "", "3", "30"}, "30", 30},
      {"minute 35", Minute(), {"", "3", "35"}, "35", 35},
      {"an empty box reads as its minimum", Period(), {""}, "", 1},
      {"above the range, until left", NumericSpin(1, 12, 1), {"", "9", "99"}, "99", 12},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* text : c.keystrokes) {
      c.box.Edit(text);
      EXPECT_EQ(c.box.text(), text);
    }
    EXPECT_EQ(c.box.text(), c.text);
    EXPECT_EQ(c.box.value(), c.value);
  }
}

TEST(NumericSpin, APastedTextIsCutToTheDigitsOfTheMaximum) {
  NumericSpin period = Period();
  period.Edit("12345");
  EXPECT_EQ(period.text(), "123");
  NumericSpin minute = Minute();
  minute.Edit("123");
  EXPECT_EQ(minute.text(), "12");
}

TEST(NumericSpin, LeavingTheBoxAppliesTheRangeAndTheFormat) {
  const struct {
    const char* what;
    NumericSpin box;
    const char* typed;
    const char* text;
  } cases[] = {
      {"empty countdown", Period(), "", "1"},
      {"zero", Period(), "0", "1"},
      {"leading zeros", Period(), "007", "7"},
      {"above the maximum", NumericSpin(1, 12, 1), "13", "12"},
      {"empty minute", Minute(), "", "00"},
      {"one-digit minute", Minute(), "3", "03"},
      {"two-digit minute", Minute(), "35", "35"},
      {"minute above 59", Minute(), "75", "59"},
      {"a digit and then a letter, pasted", NumericSpin(1, 999, 10), "7x", "7"},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.what);
    c.box.Edit(c.typed);
    c.box.Commit();
    EXPECT_EQ(c.box.text(), c.text);
    c.box.Commit();
    EXPECT_EQ(c.box.text(), c.text) << "a finished edit stays";
  }
}

TEST(NumericSpin, StepsFinishTheEditAndStopAtBothLimits) {
  const struct {
    const char* what;
    NumericSpin box;
    const char* typed;
    StepKey key;
    const char* text;
  } cases[] = {
      {"up from the start", Period(), "1", StepKey::Up, "2"},
      {"down at the minimum", Period(), "1", StepKey::Down, "1"},
      {"up at the maximum", Period(), "999", StepKey::Up, "999"},
      {"page up near the maximum", Period(), "995", StepKey::PageUp, "999"},
      {"page up", Period(), "20", StepKey::PageUp, "30"},
      {"page down near the minimum", Period(), "5", StepKey::PageDown, "1"},
      {"page down", Period(), "25", StepKey::PageDown, "15"},
      {"up from an empty box", Period(), "", StepKey::Up, "2"},
      {"up from a typed value above the range", NumericSpin(1, 12, 1), "40", StepKey::Up, "12"},
      {"minute down at zero", Minute(), "", StepKey::Down, "00"},
      {"minute up at 59", Minute(), "59", StepKey::Up, "59"},
      {"minute up from a typed digit", Minute(), "3", StepKey::Up, "04"},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.what);
    c.box.Edit(c.typed);
    c.box.Step(StepOf(c.key));
    EXPECT_EQ(c.box.text(), c.text);
  }
}

TEST(NumericSpin, ValuesSetByTheProgramAreKeptInRangeAndFormatted) {
  NumericSpin minute = Minute();
  minute.SetValue(9);
  EXPECT_EQ(minute.text(), "09");
  minute.SetValue(70);
  EXPECT_EQ(minute.text(), "59");
  NumericSpin hour(1, 12, 40);
  EXPECT_EQ(hour.text(), "12");
}

TEST(NumericSpin, OnlyDigitsAndBackspaceAreTyped) {
  for (char32_t c : {U'0', U'9', char32_t{8}}) EXPECT_TRUE(NumericSpin::AcceptsChar(c));
  for (char32_t c : {U'a', U'-', U'.', U' ', U'٣'}) EXPECT_FALSE(NumericSpin::AcceptsChar(c));
}

}  // namespace
}  // namespace kelvane
