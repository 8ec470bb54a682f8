#include "base/value_codec.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kelvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
  }
  if (digits == 0) return 0.0;
  // An exponent counts only when digits follow it; "12e" reads as 12.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // The C library's reader needs the number on its own, ended by a NUL; a
  // number of ordinary length is copied to the stack, as sorting a number
  // column reads one per row. (std::from_chars would read it in place but
  // brings a second floating-point reader of some 40 KB into the program.)
  const std::string_view number = text.substr(start, i - start);
  char buffer[64];
  double value = 0.0;
  if (number.size() < sizeof buffer) {
    number.copy(buffer, number.size());
    buffer[number.size()] = '\0';
    value = std::strtod(buffer, nullptr);
  } else {
    value = std::strtod(std::string(number).c_str(), nullptr);
  }
  return std::isfinite(value) ? value : (value > 0 ? std::numeric_limits<double>::max()
                                                   : std::numeric_limits<double>::lowest());
}

bool StartsWithNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && IsDigit(text[i]);
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int32_t> LeadingInt32(std::string_view text) {
  const double rounded = RoundHalfEven(LeadingNumber(text));
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::int32_t LeadingInt32Saturated(std::string_view text) {
  const double rounded = RoundHalfEven(LeadingNumber(text));
  if (rounded <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (rounded >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

std::string EncodeBoolean(bool value) { return value ? "True" : "False"; }

std::optional<bool> DecodeBoolean(std::string_view text) {
  const std::string trimmed(TrimBlanks(text));
  if (EqualsIgnoreCase(trimmed, "True")) return true;
  if (EqualsIgnoreCase(trimmed, "False")) return false;
  // Numeric text must be a number as a whole, not merely start with one.
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || std::isnan(value)) return std::nullopt;
  return value != 0.0;
}

std::string EncodeInteger(std::int64_t value) { return std::to_string(value); }

std::optional<std::int32_t> DecodeInteger(std::string_view text) { return LeadingInt32(text); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view TrimBlanks(std::string_view text, std::string_view blanks) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

}  // namespace kelvane
