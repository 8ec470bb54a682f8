#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "controls/grid/grid_model.h"
#include "controls/grid/grid_text.h"

namespace kelvane {
namespace {

// Where a text stands against the search text: which comes first, or that
// the search text is a proper beginning of the text.
enum class Standing { Less, Equal, Greater, Extends };

Standing StandingOf(std::string_view text, std::string_view wanted) {
  const std::size_t common = std::min(text.size(), wanted.size());
  if (const int order = text.substr(0, common).compare(wanted.substr(0, common)); order != 0) {
    return order < 0 ? Standing::Less : Standing::Greater;
  }
  if (text.size() == wanted.size()) return Standing::Equal;
  return text.size() < wanted.size() ? Standing::Less : Standing::Extends;
}

// The same on upper-cased code points, decoding only as far as needed.
Standing UpperStandingOf(std::string_view text, std::u32string_view wanted) {
  CodePointReader reader(text);
  for (const char32_t w : wanted) {
    if (reader.AtEnd()) return Standing::Less;
    const char32_t c = UpperCodePoint(reader.Next());
    if (c != w) return c < w ? Standing::Less : Standing::Greater;
  }
  return reader.AtEnd() ? Standing::Equal : Standing::Extends;
}

// Decides for one cell text after another whether it matches; built once
// per search so that the search text is prepared only once.
class TextMatcher {
 public:
  TextMatcher(std::string_view wanted, SearchMode mode, bool matchCase)
      : wanted_(wanted),
        mode_(mode),
        matchCase_(matchCase && mode != SearchMode::Contains),
        upperWanted_(matchCase_ ? std::u32string{} : UpperCodePoints(wanted)),
        containsSearcher_(upperWanted_.begin(), upperWanted_.end()) {}

  // Upper-casing keeps byte lengths, so a length check settles most rows
  // before any character is decoded.
  bool Matches(std::string_view text) {
    switch (mode_) {
      case SearchMode::Equal:
        if (text.size() != wanted_.size()) return false;
        return matchCase_ ? text == wanted_ : Stand(text) == Standing::Equal;
      case SearchMode::NotLess: return Stand(text) != Standing::Less;
      case SearchMode::Prefix: {
        if (text.size() < wanted_.size()) return false;
        const Standing standing = Stand(text);
        return standing == Standing::Equal || standing == Standing::Extends;
      }
      case SearchMode::TypeAhead: return !text.empty() && SameFirstCharacter(text) && Stand(text) != Standing::Less;
      case SearchMode::Contains: {
        upperText_.clear();
        for (CodePointReader reader(text); !reader.AtEnd();) upperText_.push_back(UpperCodePoint(reader.Next()));
        return std::search(upperText_.begin(), upperText_.end(), containsSearcher_) != upperText_.end();
      }
      default: return false;
    }
  }

 private:
  Standing Stand(std::string_view text) const {
    return matchCase_ ? StandingOf(text, wanted_) : UpperStandingOf(text, upperWanted_);
  }

  bool SameFirstCharacter(std::string_view text) const {
    if (matchCase_) {
      const std::size_t length = FirstCharacterLength(wanted_);
      return text.substr(0, FirstCharacterLength(text)) == wanted_.substr(0, length);
    }
    return UpperCodePoint(CodePointReader(text).Next()) == upperWanted_.front();
  }

  std::string_view wanted_;
  SearchMode mode_;
  bool matchCase_;
  std::u32string upperWanted_;
  std::u32string upperText_;
  std::boyer_moore_horspool_searcher<std::u32string::const_iterator> containsSearcher_;
};

}  // namespace

std::int32_t GridModel::FindItem(std::string_view text, std::int32_t col, SearchMode mode, bool matchCase) const {
  if (col == kNoIndex) col = searchColumn_;
  if (text.empty() || col < 0) return kNoIndex;
  ColumnAt(col);
  // An empty text matches no search text in any mode.
  const std::span<const Cell> cells = ColumnCells(col);
  if (cells.empty()) return kNoIndex;
  TextMatcher matcher(text, mode, matchCase);
  for (std::size_t row = 0; row < order_.size(); ++row) {
    if (matcher.Matches(cells[static_cast<std::size_t>(order_[row])].text)) return static_cast<std::int32_t>(row);
  }
  return kNoIndex;
}

}  // namespace kelvane
