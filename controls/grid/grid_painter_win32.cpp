#include "controls/grid/grid_painter_win32.h"

#include <vsstyle.h>

#include <algorithm>
#include <cmath>

#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

// A cell shows a few hundred characters at most; measuring megabytes of
// text for its ellipsis would stall the paint.
constexpr std::size_t kMaxDrawnBytes = 4096;

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }
bool IsEmpty(const Rect& r) { return r.width <= 0 || r.height <= 0; }

void Fill(HDC dc, const Rect& rect, COLORREF color) {
  if (IsEmpty(rect)) return;
  const RECT r = ToRect(rect);
  SetDCBrushColor(dc, color);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Frame(HDC dc, const Rect& rect, COLORREF color) {
  if (IsEmpty(rect)) return;
  const RECT r = ToRect(rect);
  SetDCBrushColor(dc, color);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The UTF-16 form of at most kMaxDrawnBytes of `text`, cut between characters.
void WidenInto(std::wstring& out, std::string_view text) {
  if (text.size() > kMaxDrawnBytes) {
    std::size_t cut = kMaxDrawnBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text = text.substr(0, cut);
  }
  out.resize(text.size());
  const int length = text.empty() ? 0
                                  : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                        out.data(), static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace

std::optional<COLORREF> SystemRgb(OleColor color) {
  return TranslateOleColor(color, [](int index) -> std::optional<RgbColor> {
    // Windows has no brush for an index it does not define.
    if (GetSysColorBrush(index) == nullptr) return std::nullopt;
    return GetSysColor(index);
  });
}

// ---- Fonts ----

void GridFonts::Set(const FontDescription& description, int dpi) {
  description_ = description;
  dpi_ = dpi;
  for (UniqueFont& font : fonts_) font.reset();
}

HFONT GridFonts::Styled(std::uint8_t style) {
  const std::size_t index = ((style & kCellBold) ? 1u : 0u) | ((style & kCellItalic) ? 2u : 0u) |
                            ((style & kCellUnderline) ? 4u : 0u);
  UniqueFont& font = fonts_[index];
  if (font) return font.get();
  LOGFONTW lf{};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) lf = metrics.lfMessageFont;
  if (!description_.name.empty() && description_.points > 0) {
    const std::wstring face = Widen(description_.name);
    wcsncpy_s(lf.lfFaceName, face.c_str(), _TRUNCATE);
    lf.lfHeight = -static_cast<LONG>(std::lround(description_.points * dpi_ / 72.0));
    lf.lfWeight = description_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = description_.italic;
    lf.lfUnderline = description_.underline;
    lf.lfStrikeOut = description_.strikethrough;
  } else {
    // The message font is stored at the system's DPI.
    lf.lfHeight = -std::abs(MulDiv(lf.lfHeight, dpi_, 96));
  }
  lf.lfWidth = 0;
  if (index & 1u) lf.lfWeight = FW_BOLD;
  if (index & 2u) lf.lfItalic = TRUE;
  if (index & 4u) lf.lfUnderline = TRUE;
  font.reset(CreateFontIndirectW(&lf));
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// ---- Themes ----

HTHEME GridThemes::Open(ThemeClass theme) {
  if (!tried_) {
    tried_ = true;
    // Without visual styles (classic look, or a system that has none) both
    // stay empty and the grid draws its own header and check boxes.
    if (isThemeActive_.CallOr(FALSE)) {
      header_ = openThemeData_.CallOr(HTHEME{}, window_, L"Header");
      button_ = openThemeData_.CallOr(HTHEME{}, window_, L"Button");
    }
  }
  return theme == ThemeClass::Header ? header_ : button_;
}

bool GridThemes::DrawPart(HDC dc, ThemeClass theme, int part, int state, const RECT& rect) {
  const HTHEME handle = Open(theme);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (handle == nullptr || width <= 0 || height <= 0) return false;
  const Key key{theme, part, state, width, height, GetPixel(dc, rect.left, rect.top)};
  // A handful of sizes and looks; a window resized again and again starts over.
  constexpr std::size_t kMaxParts = 64;
  if (parts_.size() > kMaxParts) parts_.clear();
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return false;
  auto found = parts_.find(key);
  if (found == parts_.end()) {
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap) return false;
    const SelectionGuard select(source.get(), bitmap.get());
    SetDCBrushColor(source.get(), key.background);
    const RECT local{0, 0, width, height};
    FillRect(source.get(), &local, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (FAILED(drawThemeBackground_.CallOr(E_NOTIMPL, handle, source.get(), part, state, &local, nullptr))) {
      return false;
    }
    found = parts_.emplace(key, std::move(bitmap)).first;
  }
  const SelectionGuard select(source.get(), found->second.get());
  return BitBlt(dc, rect.left, rect.top, width, height, source.get(), 0, 0, SRCCOPY) != FALSE;
}

void GridThemes::Reset() {
  parts_.clear();
  for (HTHEME* handle : {&header_, &button_}) {
    if (*handle != nullptr) closeThemeData_.CallOr(S_OK, *handle);
    *handle = nullptr;
  }
  tried_ = false;
}

// ---- Painting ----

void GridPainter::Gradient(HDC dc, const Rect& rect, COLORREF top, COLORREF bottom) {
  if (IsEmpty(rect)) return;
  const auto channel = [](COLORREF c, int shift) { return static_cast<COLOR16>(((c >> shift) & 0xFF) << 8); };
  TRIVERTEX vertices[2] = {
      {rect.left, rect.top, channel(top, 0), channel(top, 8), channel(top, 16), 0},
      {rect.right(), rect.bottom(), channel(bottom, 0), channel(bottom, 8), channel(bottom, 16), 0},
  };
  GRADIENT_RECT mesh{0, 1};
  // Without msimg32 the header keeps its upper colour throughout.
  if (!gradientFill_.CallOr(FALSE, dc, vertices, 2UL, &mesh, 1UL, static_cast<ULONG>(GRADIENT_FILL_RECT_V))) {
    Fill(dc, rect, top);
  }
}

bool GridPainter::EnsureBitmap(HDC target, int width, int height) {
  if (bitmap_ && width == width_ && height == height_) return true;
  bitmap_.reset(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1)));
  width_ = width;
  height_ = height;
  return bitmap_ != nullptr;
}

void GridPainter::Paint(HDC target, int width, int height, const std::vector<PaintStep>* steps, GridFonts& fonts,
                        GridThemes& themes, HIMAGELIST images) {
  if (width <= 0 || height <= 0) return;
  const bool fresh = !bitmap_ || width != width_ || height != height_;
  if (!EnsureBitmap(target, width, height)) return;
  const UniqueMemoryDc memory(CreateCompatibleDC(target));
  if (!memory) return;
  const HDC dc = memory.get();
  const SelectionGuard bitmap(dc, bitmap_.get());
  const SelectionGuard font(dc, fonts.Plain());
  if (steps != nullptr) {
    if (!clip_) clip_.reset(CreateRectRgn(0, 0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    for (const PaintStep& step : *steps) Draw(dc, step, fonts, themes, images);
    SelectClipRgn(dc, nullptr);
  } else if (fresh) {
    // Nothing was ever drawn at this size; show the window's own colour.
    Fill(dc, {0, 0, width, height}, GetSysColor(COLOR_WINDOW));
  }
  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

void GridPainter::Draw(HDC dc, const PaintStep& step, GridFonts& fonts, GridThemes& themes, HIMAGELIST images) {
  if (const auto* fill = std::get_if<FillStep>(&step)) {
    if (const auto color = SystemRgb(fill->color)) Fill(dc, fill->rect, *color);
  } else if (const auto* header = std::get_if<HeaderStep>(&step)) {
    DrawHeader(dc, *header, themes);
  } else if (const auto* text = std::get_if<TextStep>(&step)) {
    DrawText(dc, *text, fonts);
  } else if (const auto* box = std::get_if<CheckBoxStep>(&step)) {
    DrawCheckBox(dc, *box, themes);
  } else if (const auto* progress = std::get_if<ProgressStep>(&step)) {
    if (const auto color = SystemRgb(progress->color)) Fill(dc, progress->bar.fill, *color);
    Frame(dc, progress->bar.frame, GetSysColor(COLOR_BTNSHADOW));
  } else if (const auto* image = std::get_if<ImageStep>(&step)) {
    if (images != nullptr) ImageList_Draw(images, image->index, dc, image->x, image->y, ILD_TRANSPARENT);
  } else if (const auto* line = std::get_if<LineStep>(&step)) {
    // The grid draws only horizontal and vertical lines: rectangles of the
    // line's width.
    const auto color = SystemRgb(line->color);
    if (!color) return;
    if (line->y1 == line->y2) {
      Fill(dc, {line->x1, line->y1, line->x2 - line->x1, line->width}, *color);
    } else {
      Fill(dc, {line->x1, line->y1, line->width, line->y2 - line->y1}, *color);
    }
  } else if (const auto* focus = std::get_if<FocusStep>(&step)) {
    if (IsEmpty(focus->rect)) return;
    if (focus->style == 0) {
      const RECT r = ToRect(focus->rect);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      DrawFocusRect(dc, &r);
    } else if (const auto color = SystemRgb(focus->color)) {
      Frame(dc, focus->rect, *color);
    }
  } else if (const auto* clip = std::get_if<ClipStep>(&step)) {
    if (!clip->rect || !clip_) {
      SelectClipRgn(dc, nullptr);
    } else {
      const Rect& r = *clip->rect;
      SetRectRgn(clip_.get(), r.left, r.top, r.right(), r.bottom());
      SelectClipRgn(dc, clip_.get());
    }
  }
}

void GridPainter::DrawText(HDC dc, const TextStep& text, GridFonts& fonts) {
  const auto color = SystemRgb(text.color);
  if (!color || IsEmpty(text.rect)) return;
  WidenInto(text_, text.text);
  if (text_.empty()) return;
  const SelectionGuard font(dc, text.fontStyle == 0 ? nullptr : fonts.Styled(text.fontStyle));
  SetTextColor(dc, *color);
  RECT r = ToRect(text.rect);
  ::DrawTextW(dc, text_.data(), static_cast<int>(text_.size()), &r, text.flags);
}

void GridPainter::DrawHeader(HDC dc, const HeaderStep& header, GridThemes& themes) {
  const Rect& rect = header.rect;
  if (IsEmpty(rect)) return;
  RECT r = ToRect(rect);
  switch (header.style) {
    case 0:
    case 1:
      DrawFrameControl(dc, &r, DFC_BUTTON, HeaderButtonFlags(header.style, header.look));
      return;
    case 3: {
      const GradientHeaderColors c = GradientHeader(header.look);
      Gradient(dc, rect, c.top, c.bottom);
      Fill(dc, {rect.left, rect.top, rect.width, 1}, c.edge);
      Fill(dc, {rect.left, rect.top + 1, rect.width, 1}, c.highlight);
      Fill(dc, {rect.left, rect.bottom() - 1, rect.width, 1}, c.edge);
      Fill(dc, {rect.right() - 2, rect.top + 3, 1, std::max(0, rect.height - 6)}, c.separator);
      return;
    }
    default:
      break;
  }
  if (themes.DrawPart(dc, ThemeClass::Header, HP_HEADERITEM, static_cast<int>(header.look), r)) return;
  const DrawnHeaderColors c = DrawnHeader(GetSysColor(COLOR_BTNFACE), header.look);
  Fill(dc, rect, c.face);
  Fill(dc, {rect.left, rect.top, rect.width, 1}, c.light);
  Fill(dc, {rect.left, rect.bottom() - 1, rect.width, 1}, c.shadow);
  Fill(dc, {rect.right() - 2, rect.top + 3, 1, std::max(0, rect.height - 7)}, c.shadow);
  Fill(dc, {rect.right() - 1, rect.top + 3, 1, std::max(0, rect.height - 7)}, c.light);
}

void GridPainter::DrawCheckBox(HDC dc, const CheckBoxStep& box, GridThemes& themes) {
  if (IsEmpty(box.rect)) return;
  RECT r = ToRect(box.rect);
  const int state = box.checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
  if (themes.DrawPart(dc, ThemeClass::Button, BP_CHECKBOX, state, r)) return;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (box.checked ? DFCS_CHECKED : 0));
}

}  // namespace kelvane
