#pragma once
// The grid's design-time properties: their values, the names and order in
// which a container stores them, the ranges a stored value must lie in, and
// the property bag through which they are read and written.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "controls/grid/grid_color_pairs.h"

namespace kelvane {

struct FontDescription {
  std::string name;
  double points = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// Longs and colours are integers; a colour is its OLE value (0 to
// 0xFFFFFFFF).
using PropertyValue = std::variant<bool, std::int64_t, std::string, FontDescription>;

// Where a container keeps a control's properties.
class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored value, or `defaultValue` when nothing is stored under `name`.
  virtual PropertyValue ReadProperty(std::string_view name, const PropertyValue& defaultValue) = 0;
  // A bag may leave out a value equal to its default.
  virtual void WriteProperty(std::string_view name, const PropertyValue& value, const PropertyValue& defaultValue) = 0;
};

// A bag in memory that keeps only values that differ from their default;
// names are matched ignoring ASCII case. The options dialog sets its grid up
// through one.
class MemoryPropertyBag final : public PropertyBag {
 public:
  PropertyValue ReadProperty(std::string_view name, const PropertyValue& defaultValue) override;
  void WriteProperty(std::string_view name, const PropertyValue& value, const PropertyValue& defaultValue) override;
  void Set(std::string_view name, PropertyValue value);
  std::optional<PropertyValue> Stored(std::string_view name) const;
  std::size_t size() const { return values_.size(); }

 private:
  std::map<std::string, PropertyValue> values_;
};

// The properties that live beside the model; defaults are those of a newly
// placed control.
struct GridProperties {
  std::int32_t allowUserResizing = 0;
  OleColor backColorBkg = 0x808080;
  OleColor backColorEdit = 0xC0FFFF;
  OleColor backColorFixed = 0x8000000F;
  OleColor backColorSel = 0x8000000D;
  std::int32_t borderStyle = 1;
  bool displayEllipsis = true;
  bool editable = false;
  std::int32_t editTrigger = 2;
  OleColor focusRectColor = 0x00FFFF;
  std::int32_t focusRectMode = 1;
  std::int32_t focusRectStyle = 1;
  FontDescription font;
  OleColor foreColorEdit = 0x80000008;
  OleColor foreColorFixed = 0x80000012;
  OleColor foreColorSel = 0x8000000E;
  OleColor foreColorTotals = 0x0000FF;
  bool fullRowSelect = true;
  OleColor gridColor = 0xC0C0C0;
  bool gridLines = true;
  std::int32_t gridLineWidth = 1;
  bool hotHeaderTracking = true;
  bool ignoreEmpty = false;
  OleColor progressBarColor = 0x8080FF;
  OleColor stripeColor1 = 0xFFFFFF;
  OleColor stripeColor2 = 0xF5F5F5;
  bool scrollTrack = true;
  bool striped = false;
  std::int32_t themeColor = 0;
  std::int32_t themeStyle = 2;
  bool columnHeaders = true;
  bool enabled = true;
  bool locked = false;
};

// EditTrigger bits.
inline constexpr std::int32_t kEditOnEnter = 2;
inline constexpr std::int32_t kEditOnF2 = 4;
inline constexpr std::int32_t kEditOnClick = 8;
inline constexpr std::int32_t kEditOnDoubleClick = 16;

// Every stored property, in the order in which they are written.
enum class GridProperty {
  Font,
  BackColor,
  BackColorBkg,
  BackColorEdit,
  BackColorFixed,
  BackColorSel,
  ForeColor,
  ForeColorEdit,
  ForeColorFixed,
  ForeColorSel,
  ForeColorTotals,
  GridColor,
  ProgressBarColor,
  BorderStyle,
  DisplayEllipsis,
  FocusRectMode,
  FocusRectColor,
  FocusRectStyle,
  GridLines,
  GridLineWidth,
  ThemeColor,
  ThemeStyle,
  AllowUserResizing,
  CheckBoxes,
  ColumnHeaders,
  ColumnSort,
  Editable,
  EditTrigger,
  FullRowSelect,
  HotHeaderTracking,
  MultiSelect,
  Redraw,
  ScrollTrack,
  CacheIncrement,
  Enabled,
  FormatString,
  Locked,
  RowHeightMin,
  ScaleUnits,
  SearchColumn,
  IgnoreEmpty,
  Striped,
  SBackColor1,
  SBackColor2,
};

enum class PropertyKind { Boolean, Long, Color, Text, Font };

struct StoredProperty {
  GridProperty id;
  // The name in the container's store.
  const char* storedName;
  // The name a setter reports as changed.
  const char* publicName;
  PropertyKind kind;
  // The default of a Boolean (0 or 1), Long or Color; a Text's is empty and
  // a Font's is FontDescription{}. A number, so that the table is constant
  // data rather than objects built when the program starts.
  std::int64_t defaultNumber = 0;
  std::int64_t min = 0;
  std::int64_t max = 0;

  PropertyValue DefaultValue() const;
};

// In writing order.
std::span<const StoredProperty> StoredProperties();
const StoredProperty& StoredPropertyOf(GridProperty id);
// Writing order, except that "FocusRectColor" comes before "FocusRectMode"
// and "Font" comes last.
std::vector<GridProperty> PropertyReadOrder();

// The value in the property's own type and range, or nothing when it is of
// another type or out of range.
std::optional<PropertyValue> ValidPropertyValue(const StoredProperty& property, const PropertyValue& value);

}  // namespace kelvane
