// The leading-number read, the Boolean and Integer codecs and the reading of
// stored text (UTF-8 a character at a time, names compared without case) on
// any bytes: each returns a value or a clear failure, and what they write
// reads back as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

#include "base/utf8.h"
#include "base/value_codec.h"
#include "fuzz/fuzz_support.h"

using kelvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto number = input.ConsumeIntegral<std::int64_t>();
  const bool flag = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const double read = kelvane::LeadingNumber(text);
  Require(!std::isnan(read), "a leading number is never NaN");
  if (!kelvane::StartsWithNumber(text)) Require(read == 0.0, "text without a number reads as 0");

  const auto int32 = kelvane::LeadingInt32(text);
  const std::int32_t saturated = kelvane::LeadingInt32Saturated(text);
  if (int32) Require(*int32 == saturated, "saturation changes only numbers out of range");
  if (!int32) {
    Require(saturated == std::numeric_limits<std::int32_t>::min() || saturated == std::numeric_limits<std::int32_t>::max(),
            "a number out of range saturates to an end of the range");
  }
  Require(kelvane::DecodeInteger(text) == int32, "an integer value reads as its leading number");
  if (const auto boolean = kelvane::DecodeBoolean(text); boolean && kelvane::StartsWithNumber(text)) {
    Require(*boolean == (read != 0.0), "a numeric Boolean is true unless zero");
  }

  // Writing and reading back.
  Require(kelvane::DecodeBoolean(kelvane::EncodeBoolean(flag)) == flag, "Boolean round trip");
  const auto decoded = kelvane::DecodeInteger(kelvane::EncodeInteger(number));
  if (number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max()) {
    Require(decoded == static_cast<std::int32_t>(number), "Integer round trip");
  } else {
    Require(!decoded.has_value(), "an Integer beyond 32 bits does not read");
  }

  // Names: lowering keeps the length, and a text equals its lowered form.
  const std::string lower = kelvane::ToLowerAscii(text);
  Require(lower.size() == text.size(), "lowering keeps the length");
  Require(kelvane::EqualsIgnoreCase(text, lower), "a name equals its lowered form");
  const std::string_view trimmed = kelvane::TrimBlanks(text);
  Require(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '), "trimmed of blanks");

  // Text: every step reads one to four bytes, and a well-formed character is
  // the shortest UTF-8 of its code point.
  for (std::string_view rest = text; !rest.empty();) {
    const kelvane::Utf8Char c = kelvane::DecodeUtf8(rest);
    Require(c.bytes >= 1 && c.bytes <= 4 && c.bytes <= rest.size(), "a character takes one to four bytes");
    if (c.valid) {
      const char32_t cp = c.codePoint;
      const std::size_t shortest = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
      Require(cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF), "a character is a Unicode scalar value");
      Require(c.bytes == shortest, "a character is read from its shortest form only");
    } else {
      Require(c.bytes == 1 && c.codePoint == static_cast<unsigned char>(rest.front()), "a bad byte stands alone");
    }
    rest.remove_prefix(c.bytes);
  }
  return 0;
}
