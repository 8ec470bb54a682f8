#include "base/value_codec.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kelvane {
namespace {

TEST(ValueCodec, LeadingNumberReadsUpToTheFirstForeignCharacter) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"12abc", 12},   {"  42", 42},     {"-7x", -7},    {"2.5", 2.5},    {"", 0},
      {"abc", 0},      {"1e3", 1000},    {"12e", 12},    {"3.", 3},       {".5", 0.5},
      {"+8", 8},       {"- 8", 0},       {"٣", 0},       {"7\xC2\xA4", 7}, {"1,5", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected);
  }
}

TEST(ValueCodec, RoundsHalvesToEven) {
  const struct {
    double in;
    double out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(RoundHalfEven(c.in), c.out);
  }
}

TEST(ValueCodec, IntegersOutsideThirtyTwoBitsDoNotDecode) {
  EXPECT_EQ(DecodeInteger("2147483647"), 2147483647);
  EXPECT_EQ(DecodeInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(DecodeInteger("2147483648"), std::nullopt);
  EXPECT_EQ(DecodeInteger("1e300"), std::nullopt);
  EXPECT_EQ(DecodeInteger("12 apples"), 12);
  EXPECT_EQ(DecodeInteger("nonsense"), 0);
  EXPECT_EQ(LeadingInt32Saturated("99999999999"), 2147483647);
}

TEST(ValueCodec, BooleansRoundTripAndAcceptNumbers) {
  for (bool b : {true, false}) EXPECT_EQ(DecodeBoolean(EncodeBoolean(b)), b);
  EXPECT_EQ(DecodeBoolean("true"), true);
  EXPECT_EQ(DecodeBoolean("FALSE"), false);
  EXPECT_EQ(DecodeBoolean("-1"), true);
  EXPECT_EQ(DecodeBoolean("0"), false);
  EXPECT_EQ(DecodeBoolean("2.5"), true);
  EXPECT_EQ(DecodeBoolean(""), std::nullopt);
  EXPECT_EQ(DecodeBoolean("1x"), std::nullopt);
  EXPECT_EQ(DecodeBoolean("Ja"), std::nullopt);
}

TEST(ValueCodec, NamesCompareWithoutCase) {
  EXPECT_TRUE(EqualsIgnoreCase("TASK", "Task"));
  EXPECT_FALSE(EqualsIgnoreCase("Task", "Tasks"));
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
}

// Stored values come from outside the program: megabytes of digits or of
// anything else read as a clear value or a clear failure.
TEST(ValueCodec, MegabyteTextsReadAsAValueOrAFailure) {
  const std::string digits(4 << 20, '7');
  EXPECT_EQ(LeadingNumber(digits), std::numeric_limits<double>::max()) << "beyond the doubles, the largest";
  EXPECT_FALSE(DecodeInteger(digits).has_value());
  EXPECT_EQ(LeadingInt32Saturated(digits), std::numeric_limits<std::int32_t>::max());
  EXPECT_FALSE(DecodeBoolean(std::string(4 << 20, 'x')).has_value());
  EXPECT_EQ(LeadingNumber("0." + digits), 0.7777777777777778);
  EXPECT_EQ(DecodeInteger(std::string(4 << 20, ' ') + "12"), 12);
}
}  // namespace
}  // namespace kelvane
