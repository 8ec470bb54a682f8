// The grid's persisted properties from a container holding anything under any
// name: every property reads as a value of its type within its range (its
// default otherwise), and what the control writes reads back and writes the
// same.
#include <fuzzer/FuzzedDataProvider.h>

#include "controls/grid/grid_fake_surface.h"
#include "controls/grid/grid_properties.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kelvane;

// A container whose stored values are made up from the input as they are
// asked for: any type, any value, or nothing stored.
class FuzzedBag final : public PropertyBag {
 public:
  explicit FuzzedBag(FuzzedDataProvider& input) : input_(input) {}
  PropertyValue ReadProperty(std::string_view, const PropertyValue& defaultValue) override {
    switch (input_.ConsumeIntegralInRange(0, 5)) {
      case 0: return input_.ConsumeBool();
      case 1: return input_.ConsumeIntegral<std::int64_t>();
      case 2: return std::int64_t{input_.ConsumeIntegralInRange<std::int64_t>(-2, 70000)};
      case 3: return input_.ConsumeRandomLengthString(512);
      case 4: {
        FontDescription font;
        font.name = input_.ConsumeRandomLengthString(64);
        font.points = input_.ConsumeFloatingPoint<double>();
        font.bold = input_.ConsumeBool();
        font.italic = input_.ConsumeBool();
        font.underline = input_.ConsumeBool();
        font.strikethrough = input_.ConsumeBool();
        return font;
      }
      default: return defaultValue;
    }
  }
  void WriteProperty(std::string_view, const PropertyValue&, const PropertyValue&) override {}

 private:
  FuzzedDataProvider& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);
  const FontDescription containerFont{"Tahoma", 8.25, false, false, false, false};
  const LoadMode mode = input.ConsumeBool() ? LoadMode::Run : LoadMode::Design;

  testing::FakeSurface surface;
  GridControl grid(surface);
  FuzzedBag stored(input);
  grid.ReadProperties(stored, containerFont, mode);
  for (const StoredProperty& property : StoredProperties()) {
    Require(ValidPropertyValue(property, grid.Property(property.id)).has_value(),
            "every property holds a value of its type in its range");
  }

  MemoryPropertyBag written;
  grid.WriteProperties(written);
  testing::FakeSurface otherSurface;
  GridControl reread(otherSurface);
  reread.ReadProperties(written, containerFont, mode);
  MemoryPropertyBag writtenAgain;
  reread.WriteProperties(writtenAgain);
  for (const StoredProperty& property : StoredProperties()) {
    Require(reread.Property(property.id) == grid.Property(property.id), "a written property reads back");
    Require(writtenAgain.Stored(property.storedName) == written.Stored(property.storedName),
            "what was read back writes the same");
  }
  return 0;
}
