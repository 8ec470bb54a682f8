#pragma once
// A numeric text box coupled to a spin scroll bar: the text is clamped to the
// spin's range on every change and the spin follows it; a spin change writes
// its value back as text.

#include <string>
#include <string_view>

namespace kelvane {

class NumericSpin {
 public:
  // `echoValue`: a change of the spin's value, whoever made it, rewrites the
  // text. Without it only the arrows (SetValue) rewrite the text.
  NumericSpin(int minimum, int maximum, int initial, bool twoDigits = false, bool echoValue = true);

  // Only the digits and Backspace (character 8) may be typed.
  static bool AcceptsChar(char32_t c);

  // The box's text changed (typed or set by code).
  void SetText(std::string_view text);
  // The spin changed (an arrow or code); the text is rewritten.
  void SetValue(int value);

  const std::string& text() const { return text_; }
  int value() const { return value_; }
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  std::string Format(int value) const;

 private:
  int minimum_;
  int maximum_;
  bool twoDigits_;
  bool echoValue_;
  int value_;
  std::string text_;
};

}  // namespace kelvane
