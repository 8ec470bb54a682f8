#include "base/numeric_spin.h"

#include <algorithm>
#include <cstdio>

#include "base/value_codec.h"

namespace kelvane {

NumericSpin::NumericSpin(int minimum, int maximum, int initial, bool twoDigits, bool echoValue)
    : minimum_(minimum),
      maximum_(maximum),
      twoDigits_(twoDigits),
      echoValue_(echoValue),
      value_(initial),
      text_(Format(initial)) {}

bool NumericSpin::AcceptsChar(char32_t c) { return (c >= U'0' && c <= U'9') || c == 8; }

std::string NumericSpin::Format(int value) const {
  char buffer[16];
  if (twoDigits_ && value >= 0) {
    std::snprintf(buffer, sizeof buffer, "%02d", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%d", value);
  }
  return buffer;
}

void NumericSpin::SetText(std::string_view text) {
  const double number = LeadingNumber(text);
  if (number > maximum_) {
    text_ = Format(maximum_);
  } else if (number < minimum_) {
    text_ = Format(minimum_);
  } else {
    text_ = std::string(text);
  }
  const int rounded = std::clamp(LeadingInt32Saturated(text_), minimum_, maximum_);
  // The spin raises its change only when its value moves, and that change
  // rewrites the text in the spin's own format.
  if (rounded == value_) return;
  if (echoValue_) {
    SetValue(rounded);
  } else {
    value_ = rounded;
  }
}

void NumericSpin::SetValue(int value) {
  value_ = std::clamp(value, minimum_, maximum_);
  text_ = Format(value_);
}

}  // namespace kelvane
