#include "controls/grid/grid_properties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/grid/grid_colors.h"
#include "controls/grid/grid_control.h"
#include "controls/grid/grid_fake_surface.h"

namespace kelvane {
namespace {

using testing::FakeSurface;

const FontDescription kContainerFont{"MS Shell Dlg", 8.25};

// Remembers the names in the order they were asked for.
class RecordingBag : public PropertyBag {
 public:
  MemoryPropertyBag stored;
  std::vector<std::string> reads;
  std::vector<std::string> writes;
  PropertyValue ReadProperty(std::string_view name, const PropertyValue& defaultValue) override {
    reads.emplace_back(name);
    return stored.ReadProperty(name, defaultValue);
  }
  void WriteProperty(std::string_view name, const PropertyValue& value, const PropertyValue& defaultValue) override {
    writes.emplace_back(name);
    stored.WriteProperty(name, value, defaultValue);
  }
};

// A value of the property's kind that differs from its default.
PropertyValue OtherValue(const StoredProperty& p) {
  switch (p.kind) {
    case PropertyKind::Boolean: return !std::get<bool>(p.DefaultValue());
    case PropertyKind::Long: return std::get<std::int64_t>(p.DefaultValue()) == p.max ? p.min : p.max;
    case PropertyKind::Color: return std::int64_t{0x123456};
    case PropertyKind::Text: return std::string("^One|>Two");
    case PropertyKind::Font: return FontDescription{"Segoe UI", 12, true, true, false, true};
  }
  return false;
}

bool IsSchemeColor(GridProperty id) {
  using P = GridProperty;
  return id == P::BackColor || id == P::ForeColor || id == P::BackColorSel || id == P::ForeColorSel ||
         id == P::FocusRectColor || id == P::GridColor;
}

TEST(GridProperties, ReadOrderDiffersFromWriteOrderOnlyWhereItMust) {
  FakeSurface surface;
  GridControl grid(surface);
  RecordingBag bag;
  grid.WriteProperties(bag);
  grid.ReadProperties(bag, kContainerFont, LoadMode::Run);
  ASSERT_EQ(bag.writes.size(), 44u);
  EXPECT_EQ(bag.writes.front(), "Font");
  EXPECT_EQ(bag.reads.back(), "Font");
  std::vector<std::string> expected = bag.writes;
  expected.erase(expected.begin());
  const auto mode = std::find(expected.begin(), expected.end(), "FocusRectMode");
  const auto color = std::find(expected.begin(), expected.end(), "FocusRectColor");
  ASSERT_EQ(color, mode + 1);
  std::iter_swap(mode, color);
  expected.push_back("Font");
  EXPECT_EQ(bag.reads, expected);
  EXPECT_NE(std::find(expected.begin(), expected.end(), "Checkboxes"), expected.end());
}

TEST(GridProperties, EveryPropertySurvivesASaveAndLoadAndTheSchemeWins) {
  FakeSurface surfaceA, surfaceB;
  GridControl saved(surfaceA), loaded(surfaceB);
  saved.InitProperties(kContainerFont, LoadMode::Run);
  for (const StoredProperty& p : StoredProperties()) {
    SCOPED_TRACE(p.storedName);
    ASSERT_TRUE(saved.SetProperty(p.id, OtherValue(p)));
  }
  ASSERT_TRUE(saved.SetProperty(GridProperty::ThemeColor, std::int64_t{2}));
  ASSERT_TRUE(saved.SetProperty(GridProperty::BackColorSel, std::int64_t{0x00FF00}));
  MemoryPropertyBag bag;
  saved.WriteProperties(bag);
  EXPECT_EQ(bag.size(), 42u) << "the scheme put BackColor and ForeColor back to their defaults";

  loaded.ReadProperties(bag, kContainerFont, LoadMode::Run);
  const ColorScheme scheme = *ThemeColorScheme(2);
  for (const StoredProperty& p : StoredProperties()) {
    SCOPED_TRACE(p.storedName);
    if (IsSchemeColor(p.id)) continue;
    EXPECT_EQ(loaded.Property(p.id), saved.Property(p.id));
  }
  EXPECT_EQ(loaded.Properties().backColorSel, scheme.backSel) << "the stored selection colour gives way";
  EXPECT_EQ(loaded.Model().BackColor(), scheme.back);
  EXPECT_EQ(loaded.Properties().gridColor, scheme.grid);
  EXPECT_EQ(surfaceB.font, (FontDescription{"Segoe UI", 12, true, true, false, true}));
  EXPECT_FALSE(surfaceB.border);
  EXPECT_EQ(surfaceB.background, 0x123456u);
}

TEST(GridProperties, StoredValuesOfTheWrongTypeOrOutOfRangeReadAsDefaults) {
  MemoryPropertyBag bag;
  bag.Set("BorderStyle", std::string("1"));
  bag.Set("ThemeStyle", std::int64_t{4});
  bag.Set("FocusRectMode", std::int64_t{-1});
  bag.Set("BackColor", std::int64_t{0x80000000 + 31});
  bag.Set("GridColor", std::int64_t{0x1000000});
  bag.Set("EditTrigger", std::int64_t{64});
  bag.Set("GridLines", std::int64_t{0});
  bag.Set("ScaleUnits", std::int64_t{8});
  bag.Set("RowHeightMin", std::int64_t{-3});
  bag.Set("FormatString", true);
  bag.Set("Font", FontDescription{"", 10});
  bag.Set("SearchColumn", std::int64_t{1} << 40);
  bag.Set("Striped", true);  // the one good value
  FakeSurface surface;
  GridControl grid(surface);
  grid.ReadProperties(bag, kContainerFont, LoadMode::Run);
  for (const StoredProperty& p : StoredProperties()) {
    SCOPED_TRACE(p.storedName);
    if (p.id == GridProperty::Font) {
      EXPECT_EQ(grid.Property(p.id), PropertyValue(kContainerFont));
    } else if (p.id == GridProperty::Striped) {
      EXPECT_EQ(grid.Property(p.id), PropertyValue(true));
    } else {
      EXPECT_EQ(grid.Property(p.id), p.DefaultValue());
    }
  }
}

TEST(GridProperties, StoredFormatStringMakesColumnsInTheStoredScaleUnits) {
  MemoryPropertyBag bag;
  bag.Set("FormatString", std::string("^Run|<Name|>Size"));
  bag.Set("ScaleUnits", std::int64_t{1});  // twips: 1000 of them are 67 pixels
  FakeSurface surface;
  GridControl grid(surface);
  grid.ReadProperties(bag, kContainerFont, LoadMode::Run);
  ASSERT_EQ(grid.Model().Cols(), 2);
  EXPECT_EQ(grid.Model().ColHeading(1), "Name");
  EXPECT_EQ(grid.Model().ColAlignment(2), 6);
  EXPECT_EQ(grid.Model().ColWidthPixels(0), 67);
  EXPECT_EQ(grid.Model().ItemCount(), 0);
}

TEST(GridProperties, OnlyARunTimeLoadSetsTheWindowUp) {
  MemoryPropertyBag bag;
  FakeSurface surface;
  GridControl grid(surface);
  grid.ReadProperties(bag, kContainerFont, LoadMode::Design);
  EXPECT_EQ(surface.runTimeSetups, 0);
  EXPECT_FALSE(grid.RunTime());
  grid.ReadProperties(bag, kContainerFont, LoadMode::Run);
  grid.ReadProperties(bag, kContainerFont, LoadMode::Run);
  EXPECT_EQ(surface.runTimeSetups, 1);
}

TEST(GridProperties, SettersReportThePublicNameAndRefuseBadValues) {
  FakeSurface surface;
  GridControl grid(surface);
  grid.InitProperties(kContainerFont, LoadMode::Run);
  std::vector<std::string> changed;
  grid.OnPropertyChanged([&changed](std::string_view name) { changed.emplace_back(name); });
  EXPECT_TRUE(grid.SetProperty(GridProperty::CheckBoxes, true));
  EXPECT_FALSE(grid.SetProperty(GridProperty::ThemeStyle, std::int64_t{7}));
  EXPECT_FALSE(grid.SetProperty(GridProperty::Striped, std::int64_t{1}));
  EXPECT_EQ(grid.Properties().themeStyle, 2);
  EXPECT_EQ(changed, (std::vector<std::string>{"CheckBoxes"}));
}

TEST(GridProperties, ThemeColorOverwritesTheSixColoursExceptScheme0) {
  for (const std::int64_t scheme : {0, 1, 2, 3}) {
    SCOPED_TRACE(scheme);
    FakeSurface surface;
    GridControl grid(surface);
    grid.InitProperties(kContainerFont, LoadMode::Run);
    for (const GridProperty id : {GridProperty::BackColor, GridProperty::ForeColor, GridProperty::BackColorSel,
                                  GridProperty::ForeColorSel, GridProperty::FocusRectColor, GridProperty::GridColor}) {
      grid.SetProperty(id, std::int64_t{0x010203});
    }
    grid.SetProperty(GridProperty::ThemeColor, scheme);
    const std::optional<ColorScheme> expected = ThemeColorScheme(static_cast<std::int32_t>(scheme));
    EXPECT_EQ(grid.Model().BackColor(), expected ? expected->back : 0x010203u);
    EXPECT_EQ(grid.Properties().foreColorSel, expected ? expected->foreSel : 0x010203u);
    EXPECT_EQ(grid.Properties().focusRectColor, expected ? expected->focusRect : 0x010203u);
  }
}

TEST(GridColors, OleColorsTranslateThroughTheSystemColoursOrNotAtAll) {
  const auto system = [](int index) -> std::optional<RgbColor> {
    if (index == 5) return Rgb(255, 255, 255);
    return std::nullopt;
  };
  EXPECT_EQ(TranslateOleColor(0x123456, system), 0x123456u);
  EXPECT_EQ(TranslateOleColor(kSystemWindow, system), Rgb(255, 255, 255));
  EXPECT_EQ(TranslateOleColor(0x80000006, system), std::nullopt) << "the system knows no such colour";
  EXPECT_EQ(TranslateOleColor(0x80000000 + 31, system), std::nullopt);
  EXPECT_EQ(TranslateOleColor(0x01000000, system), std::nullopt);
}

}  // namespace
}  // namespace kelvane
