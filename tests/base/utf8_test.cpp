#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvane {
namespace {

TEST(Utf8, DecodesWellFormedCharactersAndTakesMalformedBytesAlone) {
  const struct {
    std::string text;
    char32_t codePoint;
    std::size_t bytes;
    bool valid;
  } cases[] = {
      {"A", U'A', 1, true},
      {"\xC3\xA9x", U'\u00E9', 2, true},
      {"\xE2\x82\xAC", U'\u20AC', 3, true},
      {"\xF0\x9F\x98\x80", U'\U0001F600', 4, true},
      {"\xF4\x8F\xBF\xBF", U'\U0010FFFF', 4, true},
      {"\x80", 0x80, 1, false},              // a continuation without its lead
      {"\xC0\xAF", 0xC0, 1, false},          // overlong "/"
      {"\xE0\x80\xAF", 0xE0, 1, false},      // overlong in three bytes
      {"\xED\xA0\x80", 0xED, 1, false},      // a surrogate code point
      {"\xF4\x90\x80\x80", 0xF4, 1, false},  // past U+10FFFF
      {"\xE2\x82", 0xE2, 1, false},          // cut short
      {"\xE2\x28\xA1", 0xE2, 1, false},      // a second byte that does not continue
      {"\xFF", 0xFF, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    const Utf8Char decoded = DecodeUtf8(c.text);
    EXPECT_EQ(decoded.codePoint, c.codePoint);
    EXPECT_EQ(decoded.bytes, c.bytes);
    EXPECT_EQ(decoded.valid, c.valid);
  }
  EXPECT_EQ(DecodeUtf8("").bytes, 0u);
}

}  // namespace
}  // namespace kelvane
