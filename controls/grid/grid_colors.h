#pragma once
// The grid's colours: the schemes ThemeColor chooses, the header looks of
// the drawn header styles, and the translation of OLE colours to RGB.

#include <cstdint>
#include <functional>
#include <optional>

#include "controls/grid/grid_color_pairs.h"

namespace kelvane {

// An RGB value laid out as Windows' COLORREF: red in the low byte.
using RgbColor = std::uint32_t;

constexpr RgbColor Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

// System colour indexes as OLE colours (high bit set).
inline constexpr OleColor kSystemButtonFace = 0x8000000F;
inline constexpr OleColor kSystemButtonShadow = 0x80000010;
inline constexpr OleColor kSystemHighlight = 0x8000000D;
inline constexpr OleColor kSystemHighlightText = 0x8000000E;
inline constexpr OleColor kSystemButtonText = 0x80000012;
// The highest system colour index Windows defines (COLOR_MENUBAR).
inline constexpr std::uint32_t kLastSystemColorIndex = 30;

// Whether an OLE colour names an RGB value or an existing system colour.
bool IsValidOleColor(std::int64_t value);

// The RGB value of an OLE colour; system colours are looked up through
// `systemColor` (an index such as 5 for the window background). Nothing when
// the colour cannot be translated, and then nothing is drawn with it.
std::optional<RgbColor> TranslateOleColor(OleColor color,
                                          const std::function<std::optional<RgbColor>(int)>& systemColor);

// The six colours a ThemeColor scheme sets.
struct ColorScheme {
  OleColor back;
  OleColor fore;
  OleColor backSel;
  OleColor foreSel;
  OleColor focusRect;
  OleColor grid;
};

// Scheme 0 (and any unknown number) leaves the colours alone.
std::optional<ColorScheme> ThemeColorScheme(std::int32_t themeColor);

// A header cell is drawn in one of three looks.
enum class HeaderLook : std::uint8_t { Normal = 1, Hot = 2, Pressed = 3 };

// DrawFrameControl button flags for header styles 0 (classic push button)
// and 1 (flat push button).
std::uint32_t HeaderButtonFlags(std::int32_t themeStyle, HeaderLook look);

// Header style 3: a vertical gradient between two lines, a separator near the
// right edge and a white highlight under the top line.
struct GradientHeaderColors {
  RgbColor top;
  RgbColor bottom;
  RgbColor edge;       // the top and bottom lines
  RgbColor separator;  // near the right edge
  RgbColor highlight;
};
GradientHeaderColors GradientHeader(HeaderLook look);

// The drawn stand-in for the visual style's header item: a face shaded from
// the button face colour, with a dark bottom line and a separator.
struct DrawnHeaderColors {
  RgbColor face;
  RgbColor light;   // highlight under the top edge and beside the separator
  RgbColor shadow;  // the bottom line and the separator
};
DrawnHeaderColors DrawnHeader(RgbColor buttonFace, HeaderLook look);

}  // namespace kelvane
