#pragma once
// Readings of cell text that sorting and searching need beyond the bytes:
// upper-cased code points for searches that ignore case, and dates.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kelvane {

// The upper-case form of a code point for the scripts whose case pairs are
// one-to-one: Latin (ASCII, Latin-1, Latin Extended-A), basic Greek and
// basic Cyrillic. Others are returned unchanged. A character and its
// upper-case form have the same UTF-8 length, so texts that differ in length
// never match ignoring case.
char32_t UpperCodePoint(char32_t c);

// Decodes UTF-8 one code point at a time. A byte that does not start a valid
// sequence stands for itself, mapped above the Unicode range so that it
// never equals a real character.
class CodePointReader {
 public:
  explicit CodePointReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char32_t Next();

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The text's code points, upper-cased.
std::u32string UpperCodePoints(std::string_view text);

// The byte length of the first character of a UTF-8 text (0 when empty).
std::size_t FirstCharacterLength(std::string_view text);

// A date column's sort key: seconds since 0001-01-01 00:00:00 for the texts
// "YYYY-MM-DD" and "YYYY/MM/DD", optionally followed by a blank or "T" and
// "HH:MM" or "HH:MM:SS", blanks around allowed. Any other text, and dates
// that do not exist, sort as the earliest date.
inline constexpr std::int64_t kNotADate = std::numeric_limits<std::int64_t>::min();
std::int64_t DateSortKey(std::string_view text);

}  // namespace kelvane
