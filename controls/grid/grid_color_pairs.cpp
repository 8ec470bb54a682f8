#include "controls/grid/grid_color_pairs.h"

namespace kelvane {

std::int32_t ColorPairTable::AssignMany(std::int32_t current, ColorPair wanted, std::int32_t cells) {
  std::int32_t chosen;
  if (const auto found = inUse_.find(KeyOf(wanted)); found != inUse_.end()) {
    chosen = found->second;
  } else {
    chosen = TakeFreeEntry();
    entries_[static_cast<std::size_t>(chosen)].pair = wanted;
    inUse_.emplace(KeyOf(wanted), chosen);
  }
  if (chosen != current) {
    entries_[static_cast<std::size_t>(chosen)].references += cells;
    if (current != kNone) Release(current, cells);
  }
  return chosen;
}

void ColorPairTable::Release(std::int32_t index, std::int32_t cells) {
  Entry& entry = entries_.at(static_cast<std::size_t>(index));
  entry.references -= cells;
  if (entry.references == 0) {
    inUse_.erase(KeyOf(entry.pair));
    free_.push(index);
  }
}

void ColorPairTable::Clear() {
  entries_.assign(1, Entry{});
  inUse_.clear();
  free_ = {};
  free_.push(0);
}

std::int32_t ColorPairTable::TakeFreeEntry() {
  if (free_.empty()) {
    const auto first = static_cast<std::int32_t>(entries_.size());
    entries_.resize(entries_.size() + kGrowth);
    for (std::int32_t i = 0; i < kGrowth; ++i) free_.push(first + i);
  }
  const std::int32_t index = free_.top();
  free_.pop();
  return index;
}

}  // namespace kelvane
