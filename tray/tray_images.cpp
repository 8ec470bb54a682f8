#include "tray/tray_images.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kelvane {
namespace {

struct Point {
  double x;
  double y;
};

struct Color {
  double r;
  double g;
  double b;
};

constexpr Color Rgb(std::uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

constexpr Color kMoonFill = Rgb(0xDCE6F5);
constexpr Color kMoonEdge = Rgb(0x2B3A55);
constexpr Color kClockFill = Rgb(0xF5A623);
constexpr Color kClockEdge = Rgb(0x6B3F00);
constexpr Color kClockHands = Rgb(0x3B2300);
constexpr Color kBadgeFill = Rgb(0xD64541);
constexpr Color kWhite = Rgb(0xFFFFFF);

// Signed distance from p to a shape, in image widths; negative inside.
using Shape = std::function<double(Point)>;

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

Shape Circle(Point centre, double radius) {
  return [=](Point p) { return Distance(p, centre) - radius; };
}

Shape Minus(Shape a, Shape b) {
  return [=](Point p) { return std::max(a(p), -b(p)); };
}

Shape Grown(Shape shape, double by) {
  return [=](Point p) { return shape(p) - by; };
}

// A stroke with round ends from a to b.
Shape Stroke(Point a, Point b, double width) {
  return [=](Point p) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return Distance(p, {a.x + t * dx, a.y + t * dy}) - width / 2;
  };
}

// Premultiplied colour with coverage-based anti-aliasing: a pixel is
// covered by the part of it that lies inside the shape, estimated from the
// distance of its centre to the edge.
class Canvas {
 public:
  explicit Canvas(int size) : size_(size), pixels_(static_cast<std::size_t>(size * size)) {}

  double Pixel() const { return 1.0 / size_; }

  void Fill(const Shape& shape, Color color) {
    for (int y = 0; y < size_; ++y) {
      for (int x = 0; x < size_; ++x) {
        const Point centre{(x + 0.5) / size_, (y + 0.5) / size_};
        const double coverage = std::clamp(0.5 - shape(centre) * size_, 0.0, 1.0);
        if (coverage <= 0) continue;
        Rgba& dst = pixels_[static_cast<std::size_t>(y * size_ + x)];
        dst.r = color.r * coverage + dst.r * (1 - coverage);
        dst.g = color.g * coverage + dst.g * (1 - coverage);
        dst.b = color.b * coverage + dst.b * (1 - coverage);
        dst.a = coverage + dst.a * (1 - coverage);
      }
    }
  }

  // An outlined shape: the edge colour, then the fill inset by the outline.
  void Outlined(const Shape& shape, Color fill, Color edge) {
    Fill(shape, edge);
    Fill(Grown(shape, -Outline()), fill);
  }

  // One pixel at 16 pixels, growing with the size.
  double Outline() const { return std::max(1.0, size_ / 16.0) * Pixel(); }

  Pixmap Finish() const {
    Pixmap out{size_, {}};
    out.argb.reserve(pixels_.size());
    for (const Rgba& p : pixels_) {
      const auto channel = [&](double premultiplied) {
        const double straight = p.a > 0 ? premultiplied / p.a : 0.0;
        return static_cast<std::uint32_t>(std::lround(std::clamp(straight, 0.0, 1.0) * 255));
      };
      const auto alpha = static_cast<std::uint32_t>(std::lround(std::clamp(p.a, 0.0, 1.0) * 255));
      out.argb.push_back(alpha << 24 | channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b));
    }
    return out;
  }

 private:
  struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
  };
  int size_;
  std::vector<Rgba> pixels_;
};

void DrawMoon(Canvas& canvas) {
  const Shape crescent = Minus(Circle({0.5, 0.5}, 0.42), Circle({0.70, 0.33}, 0.33));
  canvas.Outlined(crescent, kMoonFill, kMoonEdge);
}

void DrawClock(Canvas& canvas) {
  canvas.Outlined(Circle({0.5, 0.5}, 0.44), kClockFill, kClockEdge);
  const double hand = std::max(0.09, 1.5 * canvas.Pixel());
  canvas.Fill(Stroke({0.5, 0.5}, {0.5, 0.2}, hand), kClockHands);
  canvas.Fill(Stroke({0.5, 0.5}, {0.72, 0.5}, hand), kClockHands);
}

// Marks windows hidden by a boss key: a red badge with a bar, in the corner.
void DrawHiddenBadge(Canvas& canvas) {
  const Point centre{0.75, 0.75};
  canvas.Fill(Circle(centre, 0.25), kWhite);
  canvas.Fill(Circle(centre, 0.25 - canvas.Outline()), kBadgeFill);
  canvas.Fill(Stroke({0.64, 0.75}, {0.86, 0.75}, std::max(0.09, 1.5 * canvas.Pixel())), kWhite);
}

}  // namespace

Pixmap DrawTrayImage(TrayImage image, int size) {
  Canvas canvas(std::max(size, 1));
  switch (image) {
    case TrayImage::Idle:
      DrawMoon(canvas);
      break;
    case TrayImage::Armed:
      DrawClock(canvas);
      break;
    case TrayImage::IdleHidden:
      DrawMoon(canvas);
      DrawHiddenBadge(canvas);
      break;
  }
  return canvas.Finish();
}

}  // namespace kelvane
