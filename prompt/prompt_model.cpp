#include "prompt/prompt_model.h"

#include "base/value_codec.h"

namespace kelvane {

void PromptModel::OnMinutesTextChanged(std::string_view text) {
  // The box holds at most three characters, whatever is pasted into it.
  minutes_.SetText(text.substr(0, kMaxMinutesLength));
}

void PromptModel::OnSpinUp() { minutes_.SetValue(minutes_.value() + 1); }

void PromptModel::OnSpinDown() { minutes_.SetValue(minutes_.value() - 1); }

void PromptModel::Snooze() {
  std::int32_t minutes = LeadingInt32Saturated(minutes_.text());
  if (minutes < 1) minutes = 1;
  answer_ = {PromptResult::Snooze, minutes};
}

}  // namespace kelvane
