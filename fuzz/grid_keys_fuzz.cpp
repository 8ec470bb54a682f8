// Cell text as the grid sorts and searches it: number and date keys of any
// text, sorting by them, and FindItem in every mode. Sorted columns come out
// in key order; a valid date's key is its distance from 0001-01-01 as the
// calendar of <chrono> counts it; FindItem finds the first match or nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdio>

#include "base/value_codec.h"
#include "controls/grid/grid_model.h"
#include "controls/grid/grid_text.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace std::chrono;

// A date written the two ways a date column reads, checked against <chrono>.
void CheckDateKey(FuzzedDataProvider& input) {
  using kelvane::fuzz::Require;
  const int y = input.ConsumeIntegralInRange(1, 9999);
  const unsigned m = input.ConsumeIntegralInRange(1u, 12u);
  const unsigned d = input.ConsumeIntegralInRange(1u, 31u);
  const int h = input.ConsumeIntegralInRange(0, 23);
  const int mi = input.ConsumeIntegralInRange(0, 59);
  const int s = input.ConsumeIntegralInRange(0, 59);
  const char separator = input.ConsumeBool() ? '-' : '/';
  char text[64];
  std::snprintf(text, sizeof text, "%04d%c%02u%c%02u%c%02d:%02d:%02d", y, separator, m, separator, d,
                input.ConsumeBool() ? ' ' : 'T', h, mi, s);
  const year_month_day date{year{y}, month{m}, day{d}};
  const std::int64_t key = kelvane::DateSortKey(text);
  if (!date.ok()) {
    Require(key == kelvane::kNotADate, "a day that does not exist is no date");
    return;
  }
  const auto seconds = (sys_days{date} - sys_days{year{1} / January / 1}) + hours{h} + minutes{mi} +
                       std::chrono::seconds{s};
  Require(key == duration_cast<std::chrono::seconds>(seconds).count(), "a date's key counts from 0001-01-01");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);
  CheckDateKey(input);
  const auto mode = static_cast<SearchMode>(input.ConsumeIntegralInRange(0, 5));
  const bool matchCase = input.ConsumeBool();
  const bool ascending = input.ConsumeBool();
  const std::string search = input.ConsumeRandomLengthString(64);

  GridModel grid;
  grid.AddColumn("text", 100, 4);
  grid.AddColumn("number", 100, 4, ColumnType::Number);
  grid.AddColumn("date", 100, 4, ColumnType::Date);
  while (input.remaining_bytes() > 0 && grid.RowCount() < 64) {
    const std::string cell = input.ConsumeRandomLengthString(48);
    const std::int32_t row = grid.AddItem();
    for (std::int32_t col = 0; col <= 2; ++col) grid.SetCellText(row, col, cell);
  }

  const std::int32_t found = grid.FindItem(search, 0, mode, matchCase);
  Require(found == kNoIndex || (found >= 0 && found < grid.RowCount()), "FindItem gives a row or none");
  if (mode == SearchMode::Equal && matchCase) {
    // An empty search text matches nothing, not even an empty cell.
    std::int32_t first = kNoIndex;
    for (std::int32_t row = search.empty() ? -1 : grid.RowCount() - 1; row >= 0; --row) {
      if (grid.CellText(row, 0) == search) first = row;
    }
    Require(found == first, "an exact search finds the first equal text");
  }
  if (mode == SearchMode::Nothing) Require(found == kNoIndex, "searching for nothing finds nothing");

  for (const std::int32_t col : {1, 2}) {
    grid.ColSort(col, ascending);
    for (std::int32_t row = 1; row < grid.RowCount(); ++row) {
      const std::string& before = grid.CellText(row - 1, col);
      const std::string& after = grid.CellText(row, col);
      if (col == 1) {
        const double a = LeadingNumber(before);
        const double b = LeadingNumber(after);
        Require(ascending ? a <= b : a >= b, "a number column sorts by its leading numbers");
      } else {
        const std::int64_t a = DateSortKey(before);
        const std::int64_t b = DateSortKey(after);
        Require(ascending ? a <= b : a >= b, "a date column sorts by its dates");
      }
    }
  }
  return 0;
}
