#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "controls/grid/grid_model.h"
#include "controls/grid/grid_text.h"

namespace kelvane {
namespace {

// Where a text stands against the search text, both upper-cased: which comes
// first, or that the search text is a proper beginning of the text. Decodes
// only as far as needed.
enum class Standing { Less, Equal, Greater, Extends };

Standing UpperStandingOf(std::string_view text, std::u32string_view wanted) {
  CodePointReader reader(text);
  for (const char32_t w : wanted) {
    if (reader.AtEnd()) return Standing::Less;
    const char32_t c = UpperCodePoint(reader.Next());
    if (c != w) return c < w ? Standing::Less : Standing::Greater;
  }
  return reader.AtEnd() ? Standing::Equal : Standing::Extends;
}

bool SameFirstCharacter(std::string_view text, std::string_view wanted) {
  return text.substr(0, FirstCharacterLength(text)) == wanted.substr(0, FirstCharacterLength(wanted));
}

}  // namespace

std::int32_t GridModel::FindItem(std::string_view text, std::int32_t col, SearchMode mode, bool matchCase) const {
  if (col == kNoIndex) col = searchColumn_;
  if (text.empty() || col < 0) return kNoIndex;
  ColumnAt(col);
  // An empty text matches no search text in any mode.
  const std::span<const Cell> cells = ColumnCells(col);
  if (cells.empty()) return kNoIndex;

  // Each mode scans with its own predicate so the loop has no decisions left
  // but the match itself.
  const auto firstMatch = [&](auto matches) {
    for (std::size_t row = 0; row < order_.size(); ++row) {
      if (matches(std::string_view(cells[static_cast<std::size_t>(order_[row])].text))) {
        return static_cast<std::int32_t>(row);
      }
    }
    return kNoIndex;
  };
  const std::u32string upper = UpperCodePoints(text);
  const auto stand = [&upper](std::string_view cell) { return UpperStandingOf(cell, upper); };
  // Upper-casing keeps byte lengths, so a length check settles most rows
  // before any character is decoded.
  if (matchCase) {
    switch (mode) {
      case SearchMode::Equal: return firstMatch([text](std::string_view cell) { return cell == text; });
      case SearchMode::NotLess: return firstMatch([text](std::string_view cell) { return cell >= text; });
      case SearchMode::Prefix: return firstMatch([text](std::string_view cell) { return cell.starts_with(text); });
      case SearchMode::TypeAhead:
        return firstMatch([text](std::string_view cell) {
          return !cell.empty() && SameFirstCharacter(cell, text) && cell >= text;
        });
      default: break;  // Contains ignores case always; the others match nothing
    }
  }
  switch (mode) {
    case SearchMode::Equal:
      return firstMatch([&](std::string_view cell) {
        return cell.size() == text.size() && stand(cell) == Standing::Equal;
      });
    case SearchMode::NotLess: return firstMatch([&](std::string_view cell) { return stand(cell) != Standing::Less; });
    case SearchMode::Prefix:
      return firstMatch([&](std::string_view cell) {
        if (cell.size() < text.size()) return false;
        const Standing standing = stand(cell);
        return standing == Standing::Equal || standing == Standing::Extends;
      });
    case SearchMode::TypeAhead:
      return firstMatch([&](std::string_view cell) {
        return !cell.empty() && UpperCodePoint(CodePointReader(cell).Next()) == upper.front() &&
               stand(cell) != Standing::Less;
      });
    case SearchMode::Contains: {
      const std::boyer_moore_horspool_searcher searcher(upper.begin(), upper.end());
      std::u32string upperCell;
      return firstMatch([&](std::string_view cell) {
        upperCell.clear();
        for (CodePointReader reader(cell); !reader.AtEnd();) upperCell.push_back(UpperCodePoint(reader.Next()));
        return std::search(upperCell.begin(), upperCell.end(), searcher) != upperCell.end();
      });
    }
    default: return kNoIndex;
  }
}

}  // namespace kelvane
