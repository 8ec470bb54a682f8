#pragma once
// A tiny anti-aliased rasteriser for the program's own pictures, so that
// icons and dialog pictures are drawn at the exact size a DPI asks for.

#include <cstdint>
#include <vector>

namespace kelvane {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Shapes in pixel coordinates (0,0 is the top-left corner of the first
  // pixel); edges are anti-aliased by supersampling.
  void FillCircle(double cx, double cy, double radius, Rgba color);
  void FillRoundRect(double left, double top, double right, double bottom, double radius, Rgba color);
  void StrokeLine(double x0, double y0, double x1, double y1, double width, Rgba color);
  // Cuts a circle out of everything drawn so far.
  void EraseCircle(double cx, double cy, double radius);

  // Premultiplied BGRA, rows top to bottom, as 32-bit DIBs and icons want.
  std::vector<std::uint32_t> PremultipliedBgra() const;
  Rgba At(int x, int y) const;

 private:
  template <typename Inside>
  void Cover(double left, double top, double right, double bottom, Rgba color, Inside inside, bool erase = false);

  int width_;
  int height_;
  std::vector<float> pixels_;  // straight RGBA, 0..1
};

enum class ArtKind { AppIcon, TrayIdle, TrayArmed, TrayHidden, PromptPicture };

// Draws one of the program's pictures at `size` x `size` pixels.
Canvas DrawArt(ArtKind kind, int size);

}  // namespace kelvane
