#include "prompt/prompt_model.h"

#include <cstdio>

namespace kelvane {

void PromptModel::StartCountdown(std::chrono::seconds timeout) {
  timeout_ = timeout;
  counting_ = timeout > std::chrono::seconds{0};
  OnTimePassed(std::chrono::milliseconds{0});
}

bool PromptModel::OnTimePassed(std::chrono::milliseconds open) {
  if (!counting_) return false;
  const auto left = timeout_ - open;
  if (left <= std::chrono::milliseconds{0}) {
    counting_ = false;
    countdownText_.clear();
    Execute();
    return true;
  }
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(left).count();
  char text[48];
  std::snprintf(text, sizeof text, "Executing in %lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  countdownText_ = text;
  return false;
}

void PromptModel::OnUserInput() {
  counting_ = false;
  countdownText_.clear();
}

void PromptModel::Snooze() {
  minutes_.Commit();
  answer_ = {PromptResult::Snooze, minutes_.value()};
}

}  // namespace kelvane
