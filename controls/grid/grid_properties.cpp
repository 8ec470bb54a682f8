#include "controls/grid/grid_properties.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

#include "base/value_codec.h"
#include "controls/grid/grid_colors.h"

namespace kelvane {
namespace {

constexpr std::int64_t kLongMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int32_t>::max();
// Font sizes in points that a font dialog can produce.
constexpr double kMaxFontPoints = 1638;
// The platform's scale modes run from 0 (user) to 7 (centimetres).
constexpr std::int64_t kLastScaleMode = 7;
constexpr std::int64_t kAllEditTriggers = kEditOnEnter | kEditOnF2 | kEditOnClick | kEditOnDoubleClick;
constexpr std::int64_t kMaxGridLineWidth = 16;
constexpr std::int64_t kMaxRowHeight = 4096;

using P = GridProperty;
using K = PropertyKind;

constexpr StoredProperty Color(P id, const char* name, OleColor color) {
  return {id, name, name, K::Color, std::int64_t{color}};
}
constexpr StoredProperty Boolean(P id, const char* name, bool value) {
  return {id, name, name, K::Boolean, value ? 1 : 0};
}
constexpr StoredProperty Long(P id, const char* name, std::int64_t value, std::int64_t min, std::int64_t max) {
  return {id, name, name, K::Long, value, min, max};
}

const std::array<StoredProperty, 44>& Table() {
  static constexpr std::array<StoredProperty, 44> table{{
      {P::Font, "Font", "Font", K::Font},
      Color(P::BackColor, "BackColor", 0x80000005),
      Color(P::BackColorBkg, "BackColorBkg", 0x808080),
      Color(P::BackColorEdit, "BackColorEdit", 0xC0FFFF),
      Color(P::BackColorFixed, "BackColorFixed", 0x8000000F),
      Color(P::BackColorSel, "BackColorSel", 0x8000000D),
      Color(P::ForeColor, "ForeColor", 0x80000008),
      Color(P::ForeColorEdit, "ForeColorEdit", 0x80000008),
      Color(P::ForeColorFixed, "ForeColorFixed", 0x80000012),
      Color(P::ForeColorSel, "ForeColorSel", 0x8000000E),
      Color(P::ForeColorTotals, "ForeColorTotals", 0x0000FF),
      Color(P::GridColor, "GridColor", 0xC0C0C0),
      Color(P::ProgressBarColor, "ProgressBarColor", 0x8080FF),
      Long(P::BorderStyle, "BorderStyle", 1, 0, 1),
      Boolean(P::DisplayEllipsis, "DisplayEllipsis", true),
      Long(P::FocusRectMode, "FocusRectMode", 1, 0, 2),
      Color(P::FocusRectColor, "FocusRectColor", 0x00FFFF),
      Long(P::FocusRectStyle, "FocusRectStyle", 1, 0, 1),
      Boolean(P::GridLines, "GridLines", true),
      Long(P::GridLineWidth, "GridLineWidth", 1, 1, kMaxGridLineWidth),
      Long(P::ThemeColor, "ThemeColor", 0, 0, 3),
      Long(P::ThemeStyle, "ThemeStyle", 2, 0, 3),
      Long(P::AllowUserResizing, "AllowUserResizing", 0, kLongMin, kLongMax),
      {P::CheckBoxes, "Checkboxes", "CheckBoxes", K::Boolean, false},
      Boolean(P::ColumnHeaders, "ColumnHeaders", true),
      Boolean(P::ColumnSort, "ColumnSort", false),
      Boolean(P::Editable, "Editable", false),
      Long(P::EditTrigger, "EditTrigger", kEditOnEnter, 0, kAllEditTriggers),
      Boolean(P::FullRowSelect, "FullRowSelect", true),
      Boolean(P::HotHeaderTracking, "HotHeaderTracking", true),
      Boolean(P::MultiSelect, "MultiSelect", false),
      Boolean(P::Redraw, "Redraw", true),
      Boolean(P::ScrollTrack, "ScrollTrack", true),
      Long(P::CacheIncrement, "CacheIncrement", 10, kLongMin, kLongMax),
      Boolean(P::Enabled, "Enabled", true),
      {P::FormatString, "FormatString", "FormatString", K::Text},
      Boolean(P::Locked, "Locked", false),
      Long(P::RowHeightMin, "RowHeightMin", 0, 0, kMaxRowHeight),
      Long(P::ScaleUnits, "ScaleUnits", 3, 0, kLastScaleMode),
      Long(P::SearchColumn, "SearchColumn", 0, 0, kLongMax),
      Boolean(P::IgnoreEmpty, "IgnoreEmpty", false),
      Boolean(P::Striped, "Striped", false),
      Color(P::SBackColor1, "SBackColor1", 0xFFFFFF),
      Color(P::SBackColor2, "SBackColor2", 0xF5F5F5),
  }};
  return table;
}

}  // namespace

PropertyValue MemoryPropertyBag::ReadProperty(std::string_view name, const PropertyValue& defaultValue) {
  const auto it = values_.find(ToLowerAscii(name));
  return it == values_.end() ? defaultValue : it->second;
}

void MemoryPropertyBag::WriteProperty(std::string_view name, const PropertyValue& value,
                                      const PropertyValue& defaultValue) {
  if (value == defaultValue) {
    values_.erase(ToLowerAscii(name));
  } else {
    values_[ToLowerAscii(name)] = value;
  }
}

void MemoryPropertyBag::Set(std::string_view name, PropertyValue value) { values_[ToLowerAscii(name)] = std::move(value); }

std::optional<PropertyValue> MemoryPropertyBag::Stored(std::string_view name) const {
  const auto it = values_.find(ToLowerAscii(name));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::span<const StoredProperty> StoredProperties() { return Table(); }

PropertyValue StoredProperty::DefaultValue() const {
  switch (kind) {
    case PropertyKind::Boolean: return defaultNumber != 0;
    case PropertyKind::Text: return std::string();
    case PropertyKind::Font: return FontDescription{};
    case PropertyKind::Long:
    case PropertyKind::Color: break;
  }
  return defaultNumber;
}

const StoredProperty& StoredPropertyOf(GridProperty id) {
  for (const StoredProperty& property : Table()) {
    if (property.id == id) return property;
  }
  throw std::out_of_range("not a stored grid property");
}

std::vector<GridProperty> PropertyReadOrder() {
  std::vector<GridProperty> order;
  for (const StoredProperty& property : Table()) {
    if (property.id == P::Font || property.id == P::FocusRectColor) continue;
    if (property.id == P::FocusRectMode) order.push_back(P::FocusRectColor);
    order.push_back(property.id);
  }
  order.push_back(P::Font);
  return order;
}

std::optional<PropertyValue> ValidPropertyValue(const StoredProperty& property, const PropertyValue& value) {
  switch (property.kind) {
    case K::Boolean:
      if (std::holds_alternative<bool>(value)) return value;
      return std::nullopt;
    case K::Long: {
      const auto* number = std::get_if<std::int64_t>(&value);
      if (number == nullptr || *number < property.min || *number > property.max) return std::nullopt;
      return value;
    }
    case K::Color: {
      const auto* number = std::get_if<std::int64_t>(&value);
      if (number == nullptr || !IsValidOleColor(*number)) return std::nullopt;
      return value;
    }
    case K::Text:
      if (std::holds_alternative<std::string>(value)) return value;
      return std::nullopt;
    case K::Font: {
      const auto* font = std::get_if<FontDescription>(&value);
      if (font == nullptr || font->name.empty() || !(font->points > 0 && font->points <= kMaxFontPoints)) {
        return std::nullopt;
      }
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace kelvane
