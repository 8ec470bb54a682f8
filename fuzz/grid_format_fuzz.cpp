// The grid's FormatString (column headings with alignment marks) and column
// formats applied to any cell text: nothing breaks, a heading list makes one
// column per field, and formatting a formatted text changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "controls/grid/grid_format.h"
#include "controls/grid/grid_model.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);
  const std::string format = input.ConsumeRandomLengthString(256);
  const std::string headings = input.ConsumeRandomLengthString(1024);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string once = FormatCellText(text, format);
  Require(FormatCellText(once, format) == once, "formatting a formatted text again gives the same text");

  GridModel grid;
  grid.SetFormatString(headings);
  Require(grid.FormatString() == headings, "the FormatString reads back as set");
  if (!headings.empty()) {
    const auto fields = std::count(headings.begin(), headings.end(), '|') + 1;
    Require(grid.Cols() + 1 >= fields, "one column for each heading");
    const std::string_view first(headings.data(), std::min(headings.find('|'), headings.size()));
    const bool marked = !first.empty() && (first.front() == '^' || first.front() == '<' || first.front() == '>');
    Require(grid.ColHeading(0) == (marked ? first.substr(1) : first), "a heading without its alignment mark");
  }
  grid.AddItem(text);
  grid.SetColFormat(0, format);
  return 0;
}
