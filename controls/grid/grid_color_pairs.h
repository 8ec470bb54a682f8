#pragma once
// The colour pairs (back colour, fore colour) shared by all cells of a grid.
// Cells hold an index into the table; each entry counts the cells that use
// it, and an entry no cell uses any more is reused before the table grows.

#include <cstdint>
#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

namespace kelvane {

// An OLE colour: plain RGB, or a system colour index with the high bit set.
using OleColor = std::uint32_t;

struct ColorPair {
  OleColor back = 0;
  OleColor fore = 0;
  friend bool operator==(const ColorPair&, const ColorPair&) = default;
};

class ColorPairTable {
 public:
  static constexpr std::int32_t kNone = -1;
  // The table grows by this many entries when every entry is in use.
  static constexpr std::int32_t kGrowth = 10;

  ColorPairTable() { Clear(); }

  // Moves one cell from the entry `current` (kNone for none) to the entry
  // holding `wanted`, and returns the index the cell keeps.
  std::int32_t Assign(std::int32_t current, ColorPair wanted) { return AssignMany(current, wanted, 1); }
  // The same for `cells` cells that share the entry `current`.
  std::int32_t AssignMany(std::int32_t current, ColorPair wanted, std::int32_t cells);
  // A cell that used `index` is gone.
  void Release(std::int32_t index, std::int32_t cells = 1);
  // Back to a single unused entry.
  void Clear();

  std::int32_t Size() const { return static_cast<std::int32_t>(entries_.size()); }
  ColorPair Pair(std::int32_t index) const { return entries_.at(static_cast<std::size_t>(index)).pair; }
  std::int32_t ReferenceCount(std::int32_t index) const {
    return entries_.at(static_cast<std::size_t>(index)).references;
  }

 private:
  struct Entry {
    ColorPair pair;
    std::int32_t references = 0;
  };
  static std::uint64_t KeyOf(ColorPair pair) { return (std::uint64_t{pair.back} << 32) | pair.fore; }
  std::int32_t TakeFreeEntry();

  std::vector<Entry> entries_;
  // Entries in use by their pair, so that a lookup does not scan the table.
  std::unordered_map<std::uint64_t, std::int32_t> inUse_;
  // Unused entries, lowest index first.
  std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> free_;
};

}  // namespace kelvane
