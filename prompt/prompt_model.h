#pragma once
// The prompt shown before the action: Execute, Snooze with a number of
// minutes, or Abort.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/control_ids.h"
#include "base/numeric_spin.h"

namespace kelvane {

enum class PromptResult : std::int32_t { Abort = 0, Execute = 1, Snooze = 2 };

struct PromptAnswer {
  PromptResult Result = PromptResult::Abort;
  std::int32_t SnoozeMinutes = 0;
};

class PromptModel {
 public:
  // The minutes box follows the rules of every number box: kept as typed
  // while edited, between 1 and 999 once the edit is finished.
  void OnMinutesTextChanged(std::string_view text) { minutes_.Edit(text); }
  void OnMinutesLeft() { minutes_.Commit(); }
  // The spin's arrows (up positive) or a step key in the box.
  void OnMinutesStep(int delta) { minutes_.Step(delta); }
  void OnMinutesKey(StepKey key) { minutes_.Step(StepOf(key)); }
  std::size_t MinutesMaxLength() const { return minutes_.MaxLength(); }

  // Shows or hides the snooze controls: the button, the minutes box with its
  // spin and labels, and the line that explains snoozing.
  void HideSnooz(bool hide = false) { snoozeVisible_ = !hide; }
  bool SnoozeVisible() const { return snoozeVisible_; }

  // The control that has the focus when the prompt opens. The prompt comes
  // up on top of whatever the user is typing into, so Enter, the space bar
  // or a letter that arrives with it must not perform the action.
  PromptControl InitialFocus() const { return snoozeVisible_ ? PromptControl::cmdSnooz : PromptControl::cmdAbort; }
  // Whether a character typed without Alt reaches the prompt. With the
  // focus on a button a plain letter would press the button it is the
  // mnemonic of; Alt with the letter still does. The minutes box takes what
  // is typed.
  static bool AcceptsCharacter(PromptControl focus) { return focus == PromptControl::txtSnooz; }

  // The count of a prompt nobody answers: after `timeout` it answers Execute
  // by itself; zero starts no count.
  void StartCountdown(std::chrono::seconds timeout);
  // `open` is the time since the prompt opened. True when the count has just
  // run out; the answer is then Execute.
  bool OnTimePassed(std::chrono::milliseconds open);
  // A click, key or edit in the prompt: someone is there, the count stops.
  void OnUserInput();
  // "Executing in 1:58" while counting, empty otherwise.
  const std::string& CountdownText() const { return countdownText_; }

  void Execute() { answer_ = {PromptResult::Execute, 0}; }
  void Abort() { answer_ = {PromptResult::Abort, 0}; }
  void Snooze();

  const std::string& MinutesText() const { return minutes_.text(); }
  const PromptAnswer& Answer() const { return answer_; }

 private:
  NumericSpin minutes_{1, 999, 10};
  PromptAnswer answer_;
  bool snoozeVisible_ = true;
  std::chrono::seconds timeout_{0};
  bool counting_ = false;
  std::string countdownText_;
};

}  // namespace kelvane
