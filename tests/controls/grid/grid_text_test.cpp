#include "controls/grid/grid_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(GridText, DatesReadInTheirUnambiguousFormsAndOrderByTime) {
  // Each text is later than the one before it.
  const char* ascending[] = {
      "0001-01-01",          "0001-01-01 00:00:01", "1899-12-30", "1999-12-31 23:59:59", "2000-02-29",
      "  2000-03-01T00:00 ", "2000/03/01 00:01",    "9999-12-31 23:59:59",
  };
  for (std::size_t i = 0; i + 1 < std::size(ascending); ++i) {
    SCOPED_TRACE(ascending[i]);
    EXPECT_NE(DateSortKey(ascending[i]), kNotADate);
    EXPECT_LT(DateSortKey(ascending[i]), DateSortKey(ascending[i + 1]));
  }
  EXPECT_EQ(DateSortKey("2000-03-01") - DateSortKey("2000-02-28"), 2 * 86400);
  EXPECT_EQ(DateSortKey("2024-05-06 07:08:09") - DateSortKey("2024-05-06"), 7 * 3600 + 8 * 60 + 9);
}

TEST(GridText, TextsThatAreNoDatesReadAsTheEarliest) {
  for (const char* text : {"", "yesterday", "2023-02-29", "2024-13-01", "2024-00-10", "0000-01-01", "24-01-01",
                           "2024-1-1", "2024-01/01", "2024-01-01 24:00", "2024-01-01 10:60", "2024-01-01 10:00:",
                           "2024-01-01x", "2024-01-01 1:00", "01.02.2024", "2024-01-01  10:00"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(DateSortKey(text), kNotADate);
  }
}

TEST(GridText, UpperCaseCoversOneToOneLetterPairs) {
  const struct {
    const char* text;
    std::u32string upper;
  } cases[] = {
      {"abz", U"ABZ"},          {"äöüÿ", U"ÄÖÜŸ"}, {"÷ß", U"÷ß"},       {"łńźı", U"ŁŃŹı"},
      {"αβγσς", U"ΑΒΓΣΣ"},      {"жёя", U"ЖЁЯ"},   {"ŉĸ", U"ŉĸ"},        {"日本", U"日本"},
      {"ABC Ä", U"ABC Ä"},      {"\xF0\x9F\x98\x80", U"\U0001F600"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(UpperCodePoints(c.text), c.upper);
  }
  // Searches rely on upper-casing keeping every character's UTF-8 length.
  const auto utf8Length = [](char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; };
  for (char32_t c = 0; c < 0x800; ++c) {
    ASSERT_EQ(utf8Length(UpperCodePoint(c)), utf8Length(c)) << static_cast<std::uint32_t>(c);
  }
}

TEST(GridText, BrokenUtf8BytesStandForThemselvesAndMatchNoCharacter) {
  const std::u32string overlong = UpperCodePoints("\xC0\x80");
  ASSERT_EQ(overlong.size(), 2u);
  EXPECT_GT(overlong[0], char32_t{0x10FFFF});
  EXPECT_NE(overlong[0], overlong[1]);
  EXPECT_EQ(UpperCodePoints("a\xE2\x82").size(), 3u);
  EXPECT_EQ(UpperCodePoints("\xED\xA0\x80").size(), 3u);  // an encoded surrogate
  EXPECT_EQ(FirstCharacterLength("\xE2\x82\xAC!"), 3u);
  EXPECT_EQ(FirstCharacterLength("\xE2\x82"), 1u);
  EXPECT_EQ(FirstCharacterLength(""), 0u);
}

}  // namespace
}  // namespace kelvane
