#include <gtest/gtest.h>

#include <limits>

#include "base/value_codec.h"
#include "controls/grid/grid_format.h"

namespace kelvane {
namespace {

// The program reads numbers with the system's C library; every plain decimal
// text must read to the same double as the portable build reads it.
TEST(NumberReader, PlainDecimalTextsReadToTheNearestDouble) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"0.1", 0.1},
      {"-1.5e3kg", -1500},
      {"0.30000000000000004", 0.30000000000000004},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"9007199254740993", 9007199254740992.0},  // halfway: to the even neighbour
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
      {"1e400", kMax},
      {"-1e400", -kMax},
      {"1e-400", 0},
      {"  .5e+1x", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LeadingNumber(c.text), c.expected);
  }
}

TEST(NumberReader, IntegersAndGridNumbersReadAsInThePortableBuild) {
  EXPECT_EQ(DecodeInteger("2.5"), 2);
  EXPECT_EQ(DecodeInteger("3.5"), 4);
  EXPECT_EQ(DecodeInteger("2147483647.4"), 2147483647);
  EXPECT_EQ(DecodeInteger("2147483648"), std::nullopt);
  EXPECT_EQ(FormatCellText("1,234.5", "Fixed"), "1234.50");
  EXPECT_EQ(FormatCellText("12.5%", "Percent"), "12.50%");
}

}  // namespace
}  // namespace kelvane
