#pragma once
// Text encodings of stored settings and the leading-number read shared by the
// settings store and every numeric text box.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// Reads the number at the start of a text the way users expect a numeric box
// to: leading blanks skipped, an optional sign, digits with an optional
// decimal part and exponent, stopping at the first character that does not
// fit. A text without a leading number reads as 0.
double LeadingNumber(std::string_view text);

// Whether the text begins with a number that LeadingNumber reads.
bool StartsWithNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// The leading number, rounded half-to-even, when it fits a signed 32-bit
// integer; nullopt when it does not.
std::optional<std::int32_t> LeadingInt32(std::string_view text);

// Same, but saturated to the 32-bit range instead of failing; for text boxes
// whose value is clamped anyway.
std::int32_t LeadingInt32Saturated(std::string_view text);

// Booleans are stored as "True"/"False". Reading also accepts numeric text
// (zero is false); anything else is not a boolean.
std::string EncodeBoolean(bool value);
std::optional<bool> DecodeBoolean(std::string_view text);

std::string EncodeInteger(std::int64_t value);
// Integer values are read as their leading number, rounded; nullopt when the
// result does not fit 32 bits.
std::optional<std::int32_t> DecodeInteger(std::string_view text);

// ASCII case-insensitive comparison, as the store matches its names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToLowerAscii(std::string_view text);
// The text without the leading and trailing characters of `blanks`.
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " ");

}  // namespace kelvane
