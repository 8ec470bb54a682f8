#include "prompt/prompt_model.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(PromptModel, SnoozeReadsTheMinutesAsTheBoxShowsThemOnceLeft) {
  const struct {
    const char* typed;
    const char* text;  // while typing
    int minutes;
  } cases[] = {
      {"0", "0", 1},     {"", "", 1},        {"5000", "500", 500}, {"7x", "7x", 7},
      {"2.5", "2.5", 2}, {"3.5", "3.5", 4},  {"abc", "abc", 1},    {"-4", "-4", 1},
      {"30", "30", 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    PromptModel prompt;
    prompt.OnMinutesTextChanged(c.typed);
    EXPECT_EQ(prompt.MinutesText(), c.text) << "nothing is rewritten while typing";
    prompt.Snooze();
    EXPECT_EQ(prompt.Answer().Result, PromptResult::Snooze);
    EXPECT_EQ(prompt.Answer().SnoozeMinutes, c.minutes);
    EXPECT_EQ(prompt.MinutesText(), std::to_string(c.minutes)) << "the box shows what was snoozed";
  }
}

TEST(PromptModel, LeavingTheMinutesBoxAppliesItsRange) {
  PromptModel prompt;
  prompt.OnMinutesTextChanged("");
  prompt.OnMinutesLeft();
  EXPECT_EQ(prompt.MinutesText(), "1");
}

TEST(PromptModel, TheUpArrowIncreasesAndStepsStopAtTheBounds) {
  PromptModel prompt;
  prompt.OnMinutesStep(1);
  prompt.OnMinutesStep(1);
  EXPECT_EQ(prompt.MinutesText(), "12");
  prompt.OnMinutesKey(StepKey::PageDown);
  EXPECT_EQ(prompt.MinutesText(), "2");
  prompt.OnMinutesKey(StepKey::PageDown);
  EXPECT_EQ(prompt.MinutesText(), "1");
  prompt.OnMinutesKey(StepKey::Down);
  EXPECT_EQ(prompt.MinutesText(), "1");
  prompt.OnMinutesTextChanged("998");
  prompt.OnMinutesKey(StepKey::Up);
  prompt.OnMinutesStep(1);
  EXPECT_EQ(prompt.MinutesText(), "999");
  prompt.OnMinutesKey(StepKey::PageUp);
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

TEST(PromptModel, AnUnansweredPromptExecutesWhenItsCountRunsOut) {
  using namespace std::chrono_literals;
  PromptModel prompt;
  prompt.StartCountdown(120s);
  const struct {
    std::chrono::milliseconds open;
    const char* text;
    bool executes;
  } steps[] = {{0ms, "Executing in 2:00", false},   {1ms, "Executing in 2:00", false},
               {2000ms, "Executing in 1:58", false}, {60500ms, "Executing in 1:00", false},
               {119999ms, "Executing in 0:01", false}, {120000ms, "", true}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.open.count());
    EXPECT_EQ(prompt.OnTimePassed(step.open), step.executes);
    EXPECT_EQ(prompt.CountdownText(), step.text);
  }
  EXPECT_EQ(prompt.Answer().Result, PromptResult::Execute);
  EXPECT_FALSE(prompt.OnTimePassed(200000ms)) << "it answers once";
}

TEST(PromptModel, AnyInputOrNoTimeoutMeansNoCount) {
  using namespace std::chrono_literals;
  PromptModel touched;
  touched.StartCountdown(3s);
  touched.OnUserInput();
  EXPECT_EQ(touched.CountdownText(), "");
  EXPECT_FALSE(touched.OnTimePassed(10s));
  EXPECT_EQ(touched.Answer().Result, PromptResult::Abort) << "the answer stays the user's to give";

  PromptModel never;
  never.StartCountdown(0s);
  EXPECT_EQ(never.CountdownText(), "");
  EXPECT_FALSE(never.OnTimePassed(24h));
}

}  // namespace
}  // namespace kelvane
