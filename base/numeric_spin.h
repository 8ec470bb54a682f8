#pragma once
// A number box with its spin, as Windows users expect one to behave. While
// the user edits, the box keeps what was typed, an empty box included, so
// that "30" can be typed over "1" and "35" into a two-digit minute box. The
// range and the box's format apply when the edit is finished: the box loses
// the focus, its spin or a step key is used, or its value is about to be
// used (arming, snoozing). Every number box of the program is one.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

// The keys that step a number box.
enum class StepKey { Up, Down, PageUp, PageDown };
// One for Up and Down, ten for Page Up and Page Down; up increases, as with
// every up-down control.
int StepOf(StepKey key);

class NumericSpin {
 public:
  NumericSpin(int minimum, int maximum, int initial, bool twoDigits = false);

  // Only the digits and Backspace (character 8) may be typed.
  static bool AcceptsChar(char32_t c);
  // The characters the box takes: as many as its maximum has digits.
  std::size_t MaxLength() const;

  // The user changed the text; it is kept as typed, cut to MaxLength.
  void Edit(std::string_view text);
  // The edit is finished: the text becomes the value it reads as.
  void Commit();
  // A spin arrow or a step key: the edit is finished and the value moves by
  // `delta`, stopping at the limits.
  void Step(int delta);
  // A value set by the program, kept in range.
  void SetValue(int value);

  const std::string& text() const { return text_; }
  // What the text reads as: its leading number, rounded, kept in range, so
  // that an empty box or one without a number reads as its minimum.
  int value() const;
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }

 private:
  std::string Format(int value) const;

  int minimum_;
  int maximum_;
  bool twoDigits_;
  std::string text_;
};

}  // namespace kelvane
