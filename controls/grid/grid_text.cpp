#include "controls/grid/grid_text.h"

#include <chrono>

#include "base/utf8.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

constexpr char32_t kStrayByteBase = 0x110000;

// Latin Extended-A pairs a capital and its small letter on neighbouring code
// points; which of the two is the capital changes along the block.
char32_t UpperLatinExtendedA(char32_t c) {
  const bool capitalEven = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool capitalOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (capitalEven && c % 2 == 1) return c - 1;
  if (capitalOdd && c % 2 == 0) return c - 1;
  return c;
}

bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return true;
}

bool Expect(std::string_view text, std::size_t& pos, char wanted) {
  if (pos >= text.size() || text[pos] != wanted) return false;
  ++pos;
  return true;
}

// Seconds into the day of "HH:MM" or "HH:MM:SS" filling the rest of the text.
bool ReadTimeOfDay(std::string_view text, std::size_t pos, std::int64_t& seconds) {
  int hour = 0, minute = 0, second = 0;
  if (!ReadDigits(text, pos, 2, hour) || !Expect(text, pos, ':') || !ReadDigits(text, pos, 2, minute)) return false;
  if (pos < text.size() && (!Expect(text, pos, ':') || !ReadDigits(text, pos, 2, second))) return false;
  if (pos != text.size() || hour > 23 || minute > 59 || second > 59) return false;
  seconds = hour * 3600 + minute * 60 + second;
  return true;
}

}  // namespace

char32_t UpperCodePoint(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Dotless i keeps its case: its capital is the I whose small letter is i.
  if (c == 0x131) return c;
  if (c >= 0x100 && c <= 0x17F) return UpperLatinExtendedA(c);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t CodePointReader::Next() {
  const Utf8Char c = DecodeUtf8(text_.substr(pos_));
  pos_ += c.bytes;
  return c.valid ? c.codePoint : kStrayByteBase + c.codePoint;
}

std::u32string UpperCodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (CodePointReader reader(text); !reader.AtEnd();) out.push_back(UpperCodePoint(reader.Next()));
  return out;
}

std::size_t FirstCharacterLength(std::string_view text) { return DecodeUtf8(text).bytes; }

std::int64_t DateSortKey(std::string_view text) {
  text = TrimBlanks(text);
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!ReadDigits(text, pos, 4, year) || pos >= text.size()) return kNotADate;
  const char separator = text[pos];
  if (separator != '-' && separator != '/') return kNotADate;
  ++pos;
  if (!ReadDigits(text, pos, 2, month) || !Expect(text, pos, separator) || !ReadDigits(text, pos, 2, day)) {
    return kNotADate;
  }
  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (year == 0 || !date.ok()) return kNotADate;
  std::int64_t seconds = 0;
  if (pos < text.size()) {
    if (text[pos] != ' ' && text[pos] != 'T') return kNotADate;
    if (!ReadTimeOfDay(text, pos + 1, seconds)) return kNotADate;
  }
  constexpr std::chrono::sys_days kFirstDay{std::chrono::year{1} / 1 / 1};
  const std::int64_t days = (std::chrono::sys_days{date} - kFirstDay).count();
  return days * 86400 + seconds;
}

}  // namespace kelvane
