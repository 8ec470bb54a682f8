// Sorting permutes the display order only. Each sort reads every row's key
// once into a flat array and sorts that stably (merge sort for texts, radix
// sort for numbers and dates, a partition for check boxes), so equal keys keep
// their order, repeated header clicks are predictable and no key
// distribution makes it quadratic.

#include <algorithm>
#include <array>
#include <bit>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/grid/grid_model.h"
#include "controls/grid/grid_text.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

// A text key carries its first eight bytes as one big-endian number, so that
// most comparisons never leave the key array for the cell's characters.
struct TextItem {
  std::uint64_t prefix;
  const char* data;
  std::uint32_t size;
  std::int32_t storage;
};

constexpr std::size_t kPrefixBytes = 8;

std::uint64_t PrefixOf(std::string_view text) {
  std::uint64_t prefix = 0;
  const std::size_t count = std::min(text.size(), kPrefixBytes);
  for (std::size_t i = 0; i < count; ++i) {
    prefix |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * (kPrefixBytes - 1 - i));
  }
  return prefix;
}

// Binary order of the texts, as std::string compares them.
bool TextLess(const TextItem& a, const TextItem& b) {
  if (a.prefix != b.prefix) return a.prefix < b.prefix;
  // Equal prefixes of short texts differ at most in trailing zero bytes.
  if (a.size <= kPrefixBytes && b.size <= kPrefixBytes) return a.size < b.size;
  return std::string_view(a.data, a.size) < std::string_view(b.data, b.size);
}

template <class ReadText>
void SortByText(std::span<std::int32_t> range, bool ascending, ReadText readText) {
  std::vector<TextItem> items;
  items.reserve(range.size());
  for (const std::int32_t storage : range) {
    const std::string& text = readText(storage);
    items.push_back({PrefixOf(text), text.data(), static_cast<std::uint32_t>(text.size()), storage});
  }
  if (ascending) {
    std::stable_sort(items.begin(), items.end(), TextLess);
  } else {
    std::stable_sort(items.begin(), items.end(), [](const TextItem& a, const TextItem& b) { return TextLess(b, a); });
  }
  std::transform(items.begin(), items.end(), range.begin(), [](const TextItem& item) { return item.storage; });
}

// A number or date key mapped to an unsigned integer of the same order.
struct KeyedRow {
  std::uint64_t key;
  std::int32_t storage;
};

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;

std::uint64_t OrderedKey(double value) {
  if (value == 0) value = 0;  // -0 and +0 are equal keys
  const auto bits = std::bit_cast<std::uint64_t>(value);
  return (bits & kSignBit) != 0 ? ~bits : bits | kSignBit;
}

std::uint64_t OrderedKey(std::int64_t value) { return static_cast<std::uint64_t>(value) ^ kSignBit; }

// Least-significant-digit radix sort, one byte per pass; stable, and a byte
// that is the same in every key costs no pass.
void RadixSort(std::vector<KeyedRow>& rows) {
  if (rows.size() < 2) return;
  constexpr int kBytes = 8;
  std::array<std::array<std::size_t, 256>, kBytes> counts{};
  for (const KeyedRow& row : rows) {
    for (int byte = 0; byte < kBytes; ++byte) ++counts[byte][(row.key >> (8 * byte)) & 0xFF];
  }
  std::vector<KeyedRow> sorted(rows.size());
  for (int byte = 0; byte < kBytes; ++byte) {
    std::array<std::size_t, 256>& next = counts[byte];
    if (next[(rows.front().key >> (8 * byte)) & 0xFF] == rows.size()) continue;
    std::size_t offset = 0;
    for (std::size_t& count : next) offset += std::exchange(count, offset);
    for (const KeyedRow& row : rows) sorted[next[(row.key >> (8 * byte)) & 0xFF]++] = row;
    rows.swap(sorted);
  }
}

template <class ReadKey>
void SortByOrderedKey(std::span<std::int32_t> range, bool ascending, ReadKey readKey) {
  std::vector<KeyedRow> rows;
  rows.reserve(range.size());
  // Complemented keys sort descending and still keep equal keys in order.
  const std::uint64_t flip = ascending ? 0 : ~std::uint64_t{0};
  for (const std::int32_t storage : range) rows.push_back({readKey(storage) ^ flip, storage});
  RadixSort(rows);
  std::transform(rows.begin(), rows.end(), range.begin(), [](const KeyedRow& row) { return row.storage; });
}

// Checked rows sort before unchecked ones when ascending; a stable partition
// does that in linear time.
template <class IsChecked>
void PartitionByChecked(std::span<std::int32_t> range, bool checkedFirst, IsChecked isChecked) {
  std::vector<std::int32_t> second;
  second.reserve(range.size());
  std::size_t kept = 0;
  for (const std::int32_t storage : range) {
    if (isChecked(storage) == checkedFirst) {
      range[kept++] = storage;
    } else {
      second.push_back(storage);
    }
  }
  std::copy(second.begin(), second.end(), range.begin() + static_cast<std::ptrdiff_t>(kept));
}

// A bottom-up merge sort with its own loops, for comparisons the owner
// answers: whatever the answers, it ends after O(n log n) of them with a
// permutation of its input. The element taken from the right run is the one
// "being placed", the left one the row it may move before.
template <class PlacedBefore>
void MergeSortTrusting(std::span<std::int32_t> range, PlacedBefore placedBefore) {
  const std::size_t count = range.size();
  std::vector<std::int32_t> source(range.begin(), range.end());
  std::vector<std::int32_t> target(count);
  for (std::size_t width = 1; width < count; width *= 2) {
    for (std::size_t low = 0; low < count; low += 2 * width) {
      const std::size_t middle = std::min(low + width, count);
      const std::size_t high = std::min(low + 2 * width, count);
      std::size_t left = low, right = middle, out = low;
      while (left < middle && right < high) {
        target[out++] = placedBefore(source[right], source[left]) ? source[right++] : source[left++];
      }
      while (left < middle) target[out++] = source[left++];
      while (right < high) target[out++] = source[right++];
    }
    source.swap(target);
  }
  std::copy(source.begin(), source.end(), range.begin());
}

std::int32_t NextSortOrder(std::int32_t current, std::int32_t requested) {
  if (requested != kNoIndex) return requested;
  return current != 0 ? 0 : kSortAscending;
}

}  // namespace

void GridModel::SortDisplayRange(std::span<std::int32_t> range, std::int32_t col) {
  const std::span<const Cell> cells = ColumnCells(col);
  // Without a single cell in the column every key is the same.
  if (range.size() < 2 || cells.empty()) return;
  const Column& column = columns_[static_cast<std::size_t>(col)];
  const bool ascending = column.sortOrder == kSortAscending;
  const auto text = [cells](std::int32_t storage) -> const std::string& {
    return cells[static_cast<std::size_t>(storage)].text;
  };
  switch (column.type) {
    case ColumnType::Number:
      SortByOrderedKey(range, ascending, [&text](std::int32_t s) { return OrderedKey(LeadingNumber(text(s))); });
      return;
    case ColumnType::Date:
      SortByOrderedKey(range, ascending, [&text](std::int32_t s) { return OrderedKey(DateSortKey(text(s))); });
      return;
    case ColumnType::CheckBox:
      PartitionByChecked(range, ascending, [cells](std::int32_t s) {
        return (cells[static_cast<std::size_t>(s)].flags & kCellChecked) != 0;
      });
      return;
    case ColumnType::Custom:
      MergeSortTrusting(range, [this, &text, col, ascending](std::int32_t placed, std::int32_t other) {
        bool placeBefore = false;
        events_->CustomSort(ascending, col, text(placed), text(other), placeBefore);
        return placeBefore;
      });
      return;
    default:
      SortByText(range, ascending, text);
      return;
  }
}

// Rows whose sort-column texts are equal form runs; each run of two or more
// is ordered by the sub-sort column.
void GridModel::SubSortRuns() {
  if (subSortCol_ == kNoIndex) return;
  const std::span<const Cell> cells = ColumnCells(sortCol_);
  const auto textAt = [this, cells](std::size_t row) -> const std::string& {
    return cells[static_cast<std::size_t>(order_[row])].text;
  };
  const auto sameText = [&](std::size_t a, std::size_t b) { return cells.empty() || textAt(a) == textAt(b); };
  std::size_t runStart = 0;
  for (std::size_t row = 1; row <= order_.size(); ++row) {
    if (row < order_.size() && sameText(row, runStart)) continue;
    if (row - runStart > 1) SortDisplayRange(std::span(order_).subspan(runStart, row - runStart), subSortCol_);
    runStart = row;
  }
}

void GridModel::Sort(std::int32_t sortCol, std::int32_t sortOrder, std::int32_t subSortCol,
                     std::int32_t subSortOrder) {
  if (sortCol != kNoIndex) ColumnAt(sortCol);
  if (subSortCol != kNoIndex) ColumnAt(subSortCol);
  if (!view_->UpdateCell()) return;

  if (sortCol != kNoIndex) sortCol_ = sortCol;
  if (subSortCol != kNoIndex) subSortCol_ = subSortCol;
  if (sortCol_ == kNoIndex) std::swap(sortCol_, subSortCol_);
  if (subSortCol_ == sortCol_) subSortCol_ = kNoIndex;
  for (const auto& [col, requested] : {std::pair{sortCol_, sortOrder}, std::pair{subSortCol_, subSortOrder}}) {
    if (col == kNoIndex) continue;
    Column& column = columns_[static_cast<std::size_t>(col)];
    column.sortOrder = NextSortOrder(column.sortOrder, requested);
  }

  const std::int32_t current = row_ == kNoIndex ? kNoIndex : order_[static_cast<std::size_t>(row_)];
  if (sortCol_ != kNoIndex) {
    SortDisplayRange(order_, sortCol_);
    SubSortRuns();
  }
  // The current row stays on its content.
  if (current != kNoIndex) {
    row_ = static_cast<std::int32_t>(std::find(order_.begin(), order_.end(), current) - order_.begin());
  }
  DrawGrid(true);
  events_->SortComplete();
}

void GridModel::ColSort(std::int32_t col, bool ascending) {
  ColumnAt(col);
  // Header clicks are what a column sort imitates, so painting during it
  // shows the grid as a header-sorted one.
  struct RestoreColumnSort {
    bool& flag;
    bool saved;
    ~RestoreColumnSort() { flag = saved; }
  } restore{columnSort_, columnSort_};
  columnSort_ = true;
  const std::int32_t keepSubSortOrder =
      subSortCol_ == kNoIndex ? kNoIndex : columns_[static_cast<std::size_t>(subSortCol_)].sortOrder;
  Sort(col, ascending ? kSortAscending : 0, kNoIndex, keepSubSortOrder);
}

}  // namespace kelvane
