#include "resources/raster_art.h"

#include <algorithm>
#include <cmath>

namespace kelvane {
namespace {

constexpr int kSamples = 4;

double DistanceToSegment(double px, double py, double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared == 0 ? 0 : ((px - x0) * dx + (py - y0) * dy) / lengthSquared;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = x0 + t * dx - px;
  const double ey = y0 + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height) * 4, 0.0f) {}

template <typename Inside>
void Canvas::Cover(double left, double top, double right, double bottom, Rgba color, Inside inside, bool erase) {
  const int x0 = std::max(0, static_cast<int>(std::floor(left)));
  const int y0 = std::max(0, static_cast<int>(std::floor(top)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(right)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(bottom)));
  const float sourceAlpha = static_cast<float>(color.a) / 255.0f;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
        }
      }
      if (hits == 0) continue;
      const float coverage = static_cast<float>(hits) / (kSamples * kSamples);
      float* p = &pixels_[static_cast<std::size_t>(y * width_ + x) * 4];
      if (erase) {
        p[3] *= 1.0f - coverage;
        continue;
      }
      const float a = sourceAlpha * coverage;
      const float outA = a + p[3] * (1.0f - a);
      const float src[3] = {color.r / 255.0f, color.g / 255.0f, color.b / 255.0f};
      for (int i = 0; i < 3; ++i) {
        p[i] = outA == 0 ? 0 : (src[i] * a + p[i] * p[3] * (1.0f - a)) / outA;
      }
      p[3] = outA;
    }
  }
}

void Canvas::FillCircle(double cx, double cy, double radius, Rgba color) {
  Cover(cx - radius, cy - radius, cx + radius, cy + radius, color,
        [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; });
}

void Canvas::EraseCircle(double cx, double cy, double radius) {
  Cover(cx - radius, cy - radius, cx + radius, cy + radius, {}, 
        [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; }, true);
}

void Canvas::FillRoundRect(double left, double top, double right, double bottom, double radius, Rgba color) {
  Cover(left, top, right, bottom, color, [=](double x, double y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    const double nx = std::clamp(x, left + radius, right - radius);
    const double ny = std::clamp(y, top + radius, bottom - radius);
    return (x - nx) * (x - nx) + (y - ny) * (y - ny) <= radius * radius;
  });
}

void Canvas::StrokeLine(double x0, double y0, double x1, double y1, double width, Rgba color) {
  const double half = width / 2;
  Cover(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half, std::max(y0, y1) + half, color,
        [=](double x, double y) { return DistanceToSegment(x, y, x0, y0, x1, y1) <= half; });
}

std::vector<std::uint32_t> Canvas::PremultipliedBgra() const {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width_ * height_));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const float* p = &pixels_[i * 4];
    const auto channel = [&](float v) { return static_cast<std::uint32_t>(std::lround(v * p[3] * 255.0f)); };
    const auto alpha = static_cast<std::uint32_t>(std::lround(p[3] * 255.0f));
    out[i] = (alpha << 24) | (channel(p[0]) << 16) | (channel(p[1]) << 8) | channel(p[2]);
  }
  return out;
}

Rgba Canvas::At(int x, int y) const {
  const float* p = &pixels_[static_cast<std::size_t>(y * width_ + x) * 4];
  const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(v * 255.0f)); };
  return {byte(p[0]), byte(p[1]), byte(p[2]), byte(p[3])};
}

Canvas DrawArt(ArtKind kind, int size) {
  Canvas canvas(size, size);
  const double s = size;
  const Rgba night{0x23, 0x39, 0x5B, 255};
  const Rgba moon{0xF6, 0xD3, 0x65, 255};
  const Rgba white{255, 255, 255, 255};
  const Rgba armed{0xE0, 0x5A, 0x2B, 255};
  switch (kind) {
    case ArtKind::AppIcon:
    case ArtKind::TrayIdle:
    case ArtKind::TrayHidden:
      canvas.FillRoundRect(s * 0.03, s * 0.03, s * 0.97, s * 0.97, s * 0.22, night);
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.30, moon);
      canvas.FillCircle(s * 0.64, s * 0.38, s * 0.25, night);
      if (kind == ArtKind::TrayHidden) {
        // A badge in the lower right corner: windows are hidden.
        canvas.FillCircle(s * 0.76, s * 0.76, s * 0.235, white);
        canvas.FillRoundRect(s * 0.64, s * 0.72, s * 0.88, s * 0.80, s * 0.03, night);
      }
      break;
    case ArtKind::TrayArmed:
      canvas.FillRoundRect(s * 0.03, s * 0.03, s * 0.97, s * 0.97, s * 0.22, armed);
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.32, white);
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.24, armed);
      canvas.StrokeLine(s * 0.5, s * 0.5, s * 0.5, s * 0.32, std::max(1.0, s * 0.09), white);
      canvas.StrokeLine(s * 0.5, s * 0.5, s * 0.64, s * 0.58, std::max(1.0, s * 0.09), white);
      break;
    case ArtKind::PromptPicture:
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.48, night);
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.40, white);
      for (int hour = 0; hour < 12; ++hour) {
        const double angle = hour * 3.14159265358979 / 6;
        canvas.StrokeLine(s * 0.5 + std::sin(angle) * s * 0.33, s * 0.5 - std::cos(angle) * s * 0.33,
                          s * 0.5 + std::sin(angle) * s * 0.37, s * 0.5 - std::cos(angle) * s * 0.37, s * 0.03, night);
      }
      canvas.StrokeLine(s * 0.5, s * 0.5, s * 0.5, s * 0.22, s * 0.05, night);
      canvas.StrokeLine(s * 0.5, s * 0.5, s * 0.70, s * 0.56, s * 0.06, armed);
      canvas.FillCircle(s * 0.5, s * 0.5, s * 0.05, night);
      break;
  }
  return canvas;
}

}  // namespace kelvane
