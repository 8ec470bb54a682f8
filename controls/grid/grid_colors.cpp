#include "controls/grid/grid_colors.h"

#include "controls/grid/grid_model.h"

namespace kelvane {
namespace {

constexpr OleColor kSystemFlag = 0x80000000;
constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

constexpr std::uint32_t kButtonPush = 0x10;
constexpr std::uint32_t kButtonFlat = 0x4000;
constexpr std::uint32_t kButtonHot = 0x1000;
constexpr std::uint32_t kButtonPushed = 0x200;

std::uint32_t Channel(RgbColor color, int shift) { return (color >> shift) & 0xFF; }

// `percent` of the way from `color` to `target`, per channel.
RgbColor Blend(RgbColor color, RgbColor target, std::uint32_t percent) {
  RgbColor result = 0;
  for (const int shift : {0, 8, 16}) {
    const std::uint32_t from = Channel(color, shift);
    const std::uint32_t to = Channel(target, shift);
    const std::uint32_t mixed = (from * (100 - percent) + to * percent + 50) / 100;
    result |= mixed << shift;
  }
  return result;
}

}  // namespace

bool IsValidOleColor(std::int64_t value) {
  if (value >= 0 && value <= kRgbMask) return true;
  return value >= kSystemFlag && value <= kSystemFlag + kLastSystemColorIndex;
}

std::optional<RgbColor> TranslateOleColor(OleColor color,
                                          const std::function<std::optional<RgbColor>(int)>& systemColor) {
  if (!IsValidOleColor(color)) return std::nullopt;
  if ((color & kSystemFlag) == 0) return color;
  return systemColor(static_cast<int>(color & ~kSystemFlag));
}

std::optional<ColorScheme> ThemeColorScheme(std::int32_t themeColor) {
  switch (themeColor) {
    case 1:
      return ColorScheme{kSystemWindow, kSystemWindowText, kSystemHighlight, kSystemHighlightText,
                         Rgb(255, 255, 0), Rgb(192, 192, 192)};
    case 2:
      return ColorScheme{kSystemWindow, kSystemWindowText, Rgb(201, 216, 241), Rgb(59, 97, 156),
                         Rgb(59, 97, 156), Rgb(235, 235, 235)};
    case 3:
      return ColorScheme{kSystemWindow, kSystemWindowText, Rgb(181, 197, 143), Rgb(247, 249, 225),
                         Rgb(63, 93, 56), Rgb(192, 255, 192)};
    default:
      return std::nullopt;
  }
}

std::uint32_t HeaderButtonFlags(std::int32_t themeStyle, HeaderLook look) {
  switch (look) {
    case HeaderLook::Hot: return kButtonPush | kButtonHot;
    case HeaderLook::Pressed: return kButtonPush | kButtonPushed;
    default: return themeStyle == 1 ? kButtonPush | kButtonFlat : kButtonPush;
  }
}

GradientHeaderColors GradientHeader(HeaderLook look) {
  GradientHeaderColors colors{Rgb(203, 225, 252), Rgb(125, 165, 224), Rgb(59, 97, 156), Rgb(106, 140, 203),
                              Rgb(255, 255, 255)};
  if (look == HeaderLook::Hot) {
    colors.top = Rgb(255, 255, 220);
    colors.bottom = Rgb(247, 192, 91);
  } else if (look == HeaderLook::Pressed) {
    colors.top = Rgb(232, 127, 8);
    colors.bottom = Rgb(247, 218, 124);
  }
  return colors;
}

DrawnHeaderColors DrawnHeader(RgbColor buttonFace, HeaderLook look) {
  const RgbColor white = Rgb(255, 255, 255);
  const RgbColor black = 0;
  RgbColor face = buttonFace;
  if (look == HeaderLook::Hot) face = Blend(buttonFace, white, 45);
  if (look == HeaderLook::Pressed) face = Blend(buttonFace, black, 12);
  return {face, Blend(buttonFace, white, 70), Blend(buttonFace, black, 30)};
}

}  // namespace kelvane
