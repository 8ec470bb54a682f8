#include "controls/grid/grid_format.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(GridFormat, NumbersTakeTheColumnsFormatAndKeepItWhenFormattedAgain) {
  struct Case {
    const char* text;
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"1234.5", "#,##0.00", "1,234.50"},
      {"1234567", "#,##0", "1,234,567"},
      {"-1234.5", "Standard", "-1,234.50"},
      {"0.5", "#.##", ".5"},
      {"0.5", "0.00", "0.50"},
      {"7", "000", "007"},
      {"2.675", "Fixed", "2.67"},
      {"0.125", "Percent", "12.50%"},
      {"12.5%", "0.0%", "12.5%"},
      {"42", "\"$\"0", "$42"},
      {"42", "0 \\k\\B", "42 kB"},
      {"-0.001", "0.00", "0.00"},
      {" 3 ", "0.0", "3.0"},
      {"1e3", "0", "1000"},
      {"1,234.50", "General Number", "1234.5"},
      {"abc", "0.00", "abc"},
      {"", "0.00", ""},
      {"12 apples", "0", "12 apples"},
      {"12", "yes/no", "12"},
      {"12", "", "12"},
      // Literals that read as part of a number.
      {"1", "7#", "71"},
      {"50", "0\\%", "50%"},
      {"-5", "\"+\"0", "-+5"},
      {"5", "0\\e", "5e"},
      {"0", "#6", "6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << '"' << c.text << "\" as \"" << c.format << '"');
    const std::string once = FormatCellText(c.text, c.format);
    EXPECT_EQ(once, c.expected);
    // Painting stores the formatted text back, so the next paint formats it again.
    EXPECT_EQ(FormatCellText(once, c.format), once);
  }
}

TEST(GridFormat, AsManyDecimalsAsAskedOfTheLargestNumbers) {
  const std::string format = "0." + std::string(300, '0');
  const std::string once = FormatCellText("1e308", format);
  ASSERT_EQ(once.size(), 309u + 1u + 300u);
  EXPECT_EQ(once.substr(309), "." + std::string(300, '0'));
  EXPECT_EQ(FormatCellText(once, format), once);
}

}  // namespace
}  // namespace kelvane
