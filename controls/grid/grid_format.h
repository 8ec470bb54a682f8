#pragma once
// Column formats: a column's format string turns the numbers in its cells
// into the form the owner asked for before they are drawn.

#include <string>
#include <string_view>

namespace kelvane {

// Formats `text` when it is a number (grouping commas, blanks around and a
// trailing "%" allowed) and `format` is a numeric format: "0", "#", "." and
// "," placeholders, "%" (multiplies by 100), literal characters around them
// (quoted or after a backslash), or one of the names "General Number",
// "Fixed", "Standard" and "Percent". Formatting a formatted text again gives
// the same text. Any other text or format leaves the text as it is.
std::string FormatCellText(std::string_view text, std::string_view format);

}  // namespace kelvane
