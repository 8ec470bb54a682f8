#include "controls/grid/grid_text.h"

#include <chrono>

namespace kelvane {
namespace {

constexpr char32_t kStrayByteBase = 0x110000;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the sequence a lead byte starts, 0 when it cannot lead one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

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

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
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
  const auto lead = static_cast<unsigned char>(text_[pos_]);
  const std::size_t length = SequenceLength(lead);
  bool valid = length != 0 && pos_ + length <= text_.size();
  char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
  for (std::size_t i = 1; valid && i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text_[pos_ + i]);
    valid = IsContinuation(byte);
    c = (c << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values past the Unicode range.
  if (valid && length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
  if (valid && length == 4 && (c < 0x10000 || c > 0x10FFFF)) valid = false;
  if (!valid) {
    ++pos_;
    return kStrayByteBase + lead;
  }
  pos_ += length;
  return c;
}

std::u32string UpperCodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (CodePointReader reader(text); !reader.AtEnd();) out.push_back(UpperCodePoint(reader.Next()));
  return out;
}

std::size_t FirstCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  const std::size_t length = SequenceLength(static_cast<unsigned char>(text[0]));
  if (length == 0 || length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[i]))) return 1;
  }
  return length;
}

std::int64_t DateSortKey(std::string_view text) {
  text = TrimmedBlanks(text);
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
