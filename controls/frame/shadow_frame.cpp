#include "controls/frame/shadow_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "base/layout.h"

namespace kelvane {
namespace {

int InterpolateChannel(int from, int to, int steps, int step) {
  if (step >= steps) return to;
  // C++ division truncates towards zero, so a fade down moves by the same
  // whole amount per step as a fade up.
  return from + (to - from) / steps * step;
}

std::uint8_t ToByte(int channel) { return static_cast<std::uint8_t>(std::clamp(channel, 0, 255)); }

// A panel's outline: a rectangle whose corners, when `radius` is above 0, are
// quarter circles of that radius. A pixel belongs to it when its centre does.
struct Outline {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  double radius = 0;

  bool Contains(int x, int y) const {
    if (x < left || y < top || x >= left + width || y >= top + height) return false;
    if (radius <= 0) return true;
    const double px = x - left + 0.5;
    const double py = y - top + 0.5;
    const double dx = px < radius ? radius - px : std::max(0.0, px - (width - radius));
    const double dy = py < radius ? radius - py : std::max(0.0, py - (height - radius));
    return dx * dx + dy * dy <= radius * radius;
  }

  Outline Inset(int by) const {
    return {left + by, top + by, width - 2 * by, height - 2 * by, std::max(0.0, radius - by)};
  }
};

// Shadow shape k is the panel's outline moved k pixels right and down, filled
// with step k of the fade from the shadow colour to the background; nearer
// shapes lie over farther ones. So each pixel shows the nearest shape that
// covers it: next to the panel the darkest visible step, at the outer edge
// (k = depth) the background itself.
void PaintShadow(PixelBuffer& image, const Outline& panel, int depth, Colour shadow, Colour background) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (panel.Contains(x, y)) continue;  // the panel covers it
      const int nearest = std::max({0, x - panel.width + 1, y - panel.height + 1});
      const int farthest = std::min({x, y, depth});
      for (int k = nearest; k <= farthest; ++k) {
        if (panel.Contains(x - k, y - k)) {
          image.Set(x, y, InterpolateColour(shadow, background, depth, k));
          break;
        }
      }
    }
  }
}

void PaintPanel(PixelBuffer& image, const Outline& panel, int border, Colour fill, Colour borderColour) {
  const Outline inner = panel.Inset(border);
  for (int y = panel.top; y < panel.top + panel.height; ++y) {
    for (int x = panel.left; x < panel.left + panel.width; ++x) {
      if (panel.Contains(x, y)) image.Set(x, y, inner.Contains(x, y) ? fill : borderColour);
    }
  }
}

// Softens the stairs of the rounded border: in the four corner squares, each
// border-coloured pixel takes the average of its four neighbours as they were
// before any of them changed. The squares reach from the corner to about where
// the arc turns through 45 degrees: beyond that the arc runs nearly straight,
// and averaging a straight run would only pale it against the full-coloured
// edge it joins.
void SmoothCorners(PixelBuffer& image, const Outline& panel, int border, Colour borderColour) {
  const PixelBuffer before = image;
  const int stairs = static_cast<int>(std::ceil(panel.radius * (1 - std::sqrt(0.5)))) + border;
  const int size = std::min({stairs, panel.width, panel.height});
  const auto neighbour = [&before](int x, int y) {
    return before.At(std::clamp(x, 0, before.width() - 1), std::clamp(y, 0, before.height() - 1));
  };
  const std::array<int, 2> lefts{panel.left, panel.left + panel.width - size};
  const std::array<int, 2> tops{panel.top, panel.top + panel.height - size};
  for (const int top : tops) {
    for (const int left : lefts) {
      for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
          if (before.At(x, y) != borderColour) continue;
          const std::array<Colour, 4> around{neighbour(x, y - 1), neighbour(x + 1, y), neighbour(x, y + 1),
                                          neighbour(x - 1, y)};
          int r = 0, g = 0, b = 0;
          for (const Colour& c : around) {
            r += c.r;
            g += c.g;
            b += c.b;
          }
          image.Set(x, y, {ToByte(r / 4), ToByte(g / 4), ToByte(b / 4)});
        }
      }
    }
  }
}

}  // namespace

Colour InterpolateColour(Colour from, Colour to, int steps, int step) {
  if (steps <= 0) return to;
  return {ToByte(InterpolateChannel(from.r, to.r, steps, step)), ToByte(InterpolateChannel(from.g, to.g, steps, step)),
          ToByte(InterpolateChannel(from.b, to.b, steps, step))};
}

PixelBuffer::PixelBuffer(int width, int height, Colour fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      words_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
             (std::uint32_t{fill.r} << 16) | (std::uint32_t{fill.g} << 8) | fill.b) {}

Colour PixelBuffer::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the buffer");
  const std::uint32_t word = words_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                    static_cast<std::size_t>(x)];
  return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)};
}

void PixelBuffer::Set(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the buffer");
  words_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
}

void ShadowFrame::Changed() const {
  if (view_ != nullptr) view_->Repaint();
}

void ShadowFrame::Refresh() const { Changed(); }

void ShadowFrame::SetStyle(FrameStyle style) {
  style_ = style;
  Changed();
}

void ShadowFrame::SetCornerDepth(int depth) {
  cornerDepth_ = static_cast<std::int16_t>(std::clamp(depth, 0, kMaxCornerDepth));
  Changed();
}

void ShadowFrame::SetFillColour(std::optional<Colour> colour) {
  fillColour_ = colour;
  Changed();
}

void ShadowFrame::SetBorderColour(Colour colour) {
  borderColour_ = colour;
  Changed();
}

void ShadowFrame::SetBackColour(std::optional<Colour> colour) {
  backColour_ = colour;
  Changed();
}

void ShadowFrame::SetBackColourIs(std::int32_t value) {
  backColourIs_ = value;
  Changed();
}

void ShadowFrame::SetShowShadow(bool show) {
  showShadow_ = show;
  Changed();
}

void ShadowFrame::SetShadowDepth(int depth) {
  if (depth < kMinShadowDepth) depth = kMinShadowDepth;
  if (depth > kShadowDepthJumpsAbove) depth = kMaxShadowDepth;
  shadowDepth_ = static_cast<std::int16_t>(depth);
  Changed();
}

void ShadowFrame::SetShadowOpacity(int opacity) {
  shadowOpacity_ = static_cast<std::int16_t>(std::clamp(opacity, 0, kMaxShadowOpacity));
  Changed();
}

PixelBuffer ShadowFrame::Render(int width, int height, Colour container, int dpi) const {
  const Colour background = backColourIs_ != 0 ? backColour_.value_or(container) : container;
  PixelBuffer image(width, height, background);
  const bool rounded = style_ == FrameStyle::Rounded;
  if (!rounded && style_ != FrameStyle::Square) return image;

  const int depth = showShadow_ ? ScaleToDpi(shadowDepth_, dpi) : 0;
  Outline panel{0, 0, image.width() - depth, image.height() - depth, 0};
  if (panel.width <= 0 || panel.height <= 0) return image;
  if (rounded) {
    // A corner ellipse wider than the panel is as round as the panel allows.
    const int corner = std::min({ScaleToDpi(cornerDepth_, dpi), panel.width, panel.height});
    panel.radius = corner / 2.0;
  }
  const int border = std::max(1, ScaleToDpi(1, dpi));

  if (depth > 0) {
    const Colour shadow = InterpolateColour({0, 0, 0}, background, kMaxShadowOpacity, kMaxShadowOpacity - shadowOpacity_);
    PaintShadow(image, panel, depth, shadow, background);
  }
  PaintPanel(image, panel, border, fillColour_.value_or(container), borderColour_);
  if (rounded && panel.radius > 0) SmoothCorners(image, panel, border, borderColour_);
  return image;
}

}  // namespace kelvane
