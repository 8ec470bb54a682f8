#include "prompt/prompt_model.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(PromptModel, MinutesBoxStaysWithinItsRange) {
  const struct {
    const char* typed;
    const char* text;
    int minutes;
  } cases[] = {
      {"0", "1", 1},     {"", "1", 1},       {"5000", "500", 500}, {"7x", "7x", 7},
      {"2.5", "2.5", 2}, {"3.5", "3.5", 4},  {"abc", "1", 1},      {"-4", "1", 1},
      {"1234", "123", 123},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    PromptModel prompt;
    prompt.OnMinutesTextChanged(c.typed);
    EXPECT_EQ(prompt.MinutesText(), c.text);
    prompt.Snooze();
    EXPECT_EQ(prompt.Answer().Result, PromptResult::Snooze);
    EXPECT_EQ(prompt.Answer().SnoozeMinutes, c.minutes);
  }
}

TEST(PromptModel, SpinArrowsStepAndStopAtTheBounds) {
  PromptModel prompt;
  prompt.OnSpinUp();
  prompt.OnSpinUp();
  EXPECT_EQ(prompt.MinutesText(), "12");
  for (int i = 0; i < 20; ++i) prompt.OnSpinDown();
  EXPECT_EQ(prompt.MinutesText(), "1");
  prompt.OnMinutesTextChanged("998");
  prompt.OnSpinUp();
  prompt.OnSpinUp();
  EXPECT_EQ(prompt.MinutesText(), "999");
}

TEST(PromptModel, OpensWhereAStrayKeyCannotPerformTheAction) {
  PromptModel prompt;
  EXPECT_EQ(prompt.InitialFocus(), PromptControl::cmdSnooz);
  prompt.HideSnooz(true);
  EXPECT_EQ(prompt.InitialFocus(), PromptControl::cmdAbort);
  for (PromptControl button : {PromptControl::cmdExecute, PromptControl::cmdSnooz, PromptControl::cmdAbort}) {
    EXPECT_FALSE(PromptModel::AcceptsCharacter(button)) << "a plain letter would press a button";
  }
  EXPECT_TRUE(PromptModel::AcceptsCharacter(PromptControl::txtSnooz));
}

}  // namespace
}  // namespace kelvane
