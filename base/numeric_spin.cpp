#include "base/numeric_spin.h"

#include <algorithm>
#include <cstdio>

#include "base/value_codec.h"

namespace kelvane {

int StepOf(StepKey key) {
  switch (key) {
    case StepKey::Up: return 1;
    case StepKey::Down: return -1;
    case StepKey::PageUp: return 10;
    case StepKey::PageDown: break;
  }
  return -10;
}

NumericSpin::NumericSpin(int minimum, int maximum, int initial, bool twoDigits)
    : minimum_(minimum), maximum_(maximum), twoDigits_(twoDigits) {
  SetValue(initial);
}

bool NumericSpin::AcceptsChar(char32_t c) { return (c >= U'0' && c <= U'9') || c == 8; }

std::size_t NumericSpin::MaxLength() const { return std::to_string(maximum_).size(); }

std::string NumericSpin::Format(int value) const {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, twoDigits_ && value >= 0 ? "%02d" : "%d", value);
  return buffer;
}

void NumericSpin::Edit(std::string_view text) { text_ = std::string(text.substr(0, MaxLength())); }

int NumericSpin::value() const { return std::clamp(LeadingInt32Saturated(text_), minimum_, maximum_); }

void NumericSpin::Commit() { text_ = Format(value()); }

void NumericSpin::Step(int delta) {
  // Widened so that a step from a limit cannot overflow.
  const long long moved = static_cast<long long>(value()) + delta;
  SetValue(static_cast<int>(std::clamp<long long>(moved, minimum_, maximum_)));
}

void NumericSpin::SetValue(int value) { text_ = Format(std::clamp(value, minimum_, maximum_)); }

}  // namespace kelvane
