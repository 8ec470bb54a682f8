#include "controls/grid/grid_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/value_codec.h"

namespace kelvane {
namespace {

struct NumericFormat {
  std::string prefix;
  std::string suffix;
  int integerZeros = 0;
  int decimalZeros = 0;
  int decimalPlaces = 0;
  bool grouping = false;
  bool percent = false;
};

// The whole text as a number; "%" at the end divides by 100.
std::optional<double> ReadNumber(std::string_view text) {
  std::string clean(TrimBlanks(text));
  double divisor = 1;
  if (!clean.empty() && clean.back() == '%') {
    clean.pop_back();
    clean = std::string(TrimBlanks(clean));
    divisor = 100;
  }
  std::string digits;
  for (const char c : clean) {
    if (c == ',') continue;
    const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    if (!allowed) return std::nullopt;
    digits += c;
  }
  if (digits.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(digits.c_str(), &end);
  if (end != digits.c_str() + digits.size() || !std::isfinite(value)) return std::nullopt;
  return value / divisor;
}

std::string_view NamedFormat(std::string_view format) {
  if (EqualsIgnoreCase(format, "Fixed")) return "0.00";
  if (EqualsIgnoreCase(format, "Standard")) return "#,##0.00";
  if (EqualsIgnoreCase(format, "Percent")) return "0.00%";
  return format;
}

std::optional<NumericFormat> ParseFormat(std::string_view format) {
  NumericFormat f;
  bool inNumber = false;
  bool afterNumber = false;
  bool afterPoint = false;
  bool placeholders = false;
  for (std::size_t i = 0; i < format.size() && format[i] != ';'; ++i) {
    const char c = format[i];
    const bool numberChar = c == '0' || c == '#' || (inNumber && (c == '.' || c == ','));
    const bool startsNumber = (c == '0' || c == '#' || c == '.') && !afterNumber;
    if (numberChar || startsNumber) {
      inNumber = true;
      placeholders = placeholders || c == '0' || c == '#';
      if (c == '.') afterPoint = true;
      if (c == ',' && !afterPoint) f.grouping = true;
      if (c == '0') (afterPoint ? f.decimalZeros : f.integerZeros)++;
      if (afterPoint && (c == '0' || c == '#')) ++f.decimalPlaces;
      continue;
    }
    if (inNumber) {
      inNumber = false;
      afterNumber = true;
    }
    std::string literal;
    if (c == '"') {
      const std::size_t close = format.find('"', i + 1);
      literal = format.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
      i = close == std::string_view::npos ? format.size() : close;
    } else if (c == '\\' && i + 1 < format.size()) {
      literal = format[++i];
    } else {
      if (c == '%') f.percent = true;
      literal = c;
    }
    (afterNumber ? f.suffix : f.prefix) += literal;
  }
  if (!placeholders) return std::nullopt;
  return f;
}

std::string Group(const std::string& digits) {
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string Apply(double value, const NumericFormat& f) {
  if (f.percent) value *= 100;
  // A format may ask for hundreds of decimals of a number of 300 digits.
  const int length = std::snprintf(nullptr, 0, "%.*f", f.decimalPlaces, std::fabs(value));
  std::string number(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  std::snprintf(number.data(), number.size(), "%.*f", f.decimalPlaces, std::fabs(value));
  number.pop_back();
  const std::size_t point = number.find('.');
  std::string whole = number.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : number.substr(point + 1);
  while (static_cast<int>(fraction.size()) > f.decimalZeros && !fraction.empty() && fraction.back() == '0') {
    fraction.pop_back();
  }
  const bool zero = whole.find_first_not_of('0') == std::string::npos &&
                    fraction.find_first_not_of('0') == std::string::npos;
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (static_cast<int>(whole.size()) < f.integerZeros) whole.insert(0, f.integerZeros - whole.size(), '0');
  if (f.grouping) whole = Group(whole);
  std::string text = (value < 0 && !zero ? "-" : "") + f.prefix + whole;
  if (!fraction.empty()) text += "." + fraction;
  return text + f.suffix;
}

// Whether `text` is what `f` makes of some number. Painting stores the
// formatted text back into the cell, so the next paint must recognise it:
// literals that read as part of a number (7# or 0\%) would otherwise
// change the value on every paint.
bool IsFormatted(std::string_view text, const NumericFormat& f) {
  for (const bool negative : {false, true}) {
    std::string_view rest = text;
    if (negative) {
      if (!rest.starts_with('-')) continue;
      rest.remove_prefix(1);
    }
    if (!rest.starts_with(f.prefix) || rest.size() < f.prefix.size() + f.suffix.size()) continue;
    rest.remove_prefix(f.prefix.size());
    if (!rest.ends_with(f.suffix)) continue;
    rest.remove_suffix(f.suffix.size());
    // Zero in "#" placeholders leaves no digits at all.
    std::string digits = "0";
    bool number = true;
    for (const char c : rest) {
      if (c == ',') continue;
      number = number && ((c >= '0' && c <= '9') || c == '.');
      digits += c;
    }
    if (!number) continue;
    double value = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(value)) continue;
    if (f.percent) value /= 100;
    if (Apply(negative ? -value : value, f) == text) return true;
  }
  return false;
}

}  // namespace

std::string FormatCellText(std::string_view text, std::string_view format) {
  const std::optional<double> value = ReadNumber(text);
  if (!value) return std::string(text);
  if (EqualsIgnoreCase(format, "General Number")) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", *value);
    return buffer;
  }
  const std::optional<NumericFormat> numeric = ParseFormat(NamedFormat(format));
  if (!numeric || IsFormatted(text, *numeric)) return std::string(text);
  return Apply(*value, *numeric);
}

}  // namespace kelvane
