#pragma once
// Carries out a grid's paint plan with GDI into an off-screen bitmap and
// copies that to the window in one step, so scrolling and column drags
// never flicker.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"
#include "controls/grid/grid_colors.h"
#include "controls/grid/grid_paint.h"
#include "controls/grid/grid_properties.h"

namespace kelvane {

using UniqueRegion = UniqueOf<HRGN, &DeleteGdiObject>;

// The RGB value of an OLE colour on this system; nothing for a colour
// Windows does not know.
std::optional<COLORREF> SystemRgb(OleColor color);

// The grid's font in its four styles (bold, italic, underline and their
// mixes), made at the window's DPI when first used.
class GridFonts {
 public:
  void Set(const FontDescription& description, int dpi);
  // The plain font; the message font until Set is called.
  HFONT Plain() { return Styled(0); }
  // `style`: kCellBold, kCellItalic and kCellUnderline bits.
  HFONT Styled(std::uint8_t style);
  const FontDescription& Description() const { return description_; }

 private:
  FontDescription description_;
  int dpi_ = 96;
  std::array<UniqueFont, 8> fonts_;
};

enum class ThemeClass { Header, Button };

// The window's visual style: its theme handles, opened when first needed,
// and the parts already drawn, kept as bitmaps. Drawing a part through the
// theme costs as much as painting all the cells (under Wine nearly a
// millisecond a part), and a grid shows the same few parts again and again.
// Everything is dropped when the style or the DPI changes. The theme calls
// live in uxtheme.dll, loaded from the system folder when first needed.
class GridThemes {
 public:
  GridThemes() = default;
  ~GridThemes() { Reset(); }
  GridThemes(const GridThemes&) = delete;
  GridThemes& operator=(const GridThemes&) = delete;

  void SetWindow(HWND window) {
    Reset();
    window_ = window;
  }
  // Draws the part over what `dc` shows at `rect`; false without visual
  // styles or when the theme cannot draw it.
  bool DrawPart(HDC dc, ThemeClass theme, int part, int state, const RECT& rect);
  void Reset();

 private:
  struct Key {
    ThemeClass theme;
    int part;
    int state;
    int width;
    int height;
    // What the part is drawn over, where it leaves the background showing.
    COLORREF background;
    friend auto operator<=>(const Key&, const Key&) = default;
  };
  HTHEME Open(ThemeClass theme);

  // Declared first: the handles are closed through it.
  SystemLibrary uxtheme_{L"uxtheme.dll"};
  SystemEntry<decltype(::IsThemeActive)> isThemeActive_{uxtheme_, "IsThemeActive"};
  SystemEntry<decltype(::OpenThemeData)> openThemeData_{uxtheme_, "OpenThemeData"};
  SystemEntry<decltype(::CloseThemeData)> closeThemeData_{uxtheme_, "CloseThemeData"};
  SystemEntry<decltype(::DrawThemeBackground)> drawThemeBackground_{uxtheme_, "DrawThemeBackground"};
  HWND window_ = nullptr;
  bool tried_ = false;
  HTHEME header_ = nullptr;
  HTHEME button_ = nullptr;
  std::map<Key, UniqueBitmap> parts_;
};

class GridPainter {
 public:
  // Draws `steps` for a client area of `width` x `height` and copies the
  // result to `target`. Without steps it shows the last picture again.
  void Paint(HDC target, int width, int height, const std::vector<PaintStep>* steps, GridFonts& fonts,
             GridThemes& themes, HIMAGELIST images);

 private:
  bool EnsureBitmap(HDC target, int width, int height);
  void Gradient(HDC dc, const Rect& rect, COLORREF top, COLORREF bottom);
  void Draw(HDC dc, const PaintStep& step, GridFonts& fonts, GridThemes& themes, HIMAGELIST images);
  void DrawText(HDC dc, const TextStep& text, GridFonts& fonts);
  void DrawHeader(HDC dc, const HeaderStep& header, GridThemes& themes);
  void DrawCheckBox(HDC dc, const CheckBoxStep& box, GridThemes& themes);

  // The gradient call lives in msimg32.dll, loaded with the first gradient.
  SystemLibrary msimg32_{L"msimg32.dll"};
  SystemEntry<decltype(::GradientFill)> gradientFill_{msimg32_, "GradientFill"};
  UniqueBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
  UniqueRegion clip_;
  std::wstring text_;
};

}  // namespace kelvane
