#pragma once
// ShadowFrame, the decorative frame behind a group of controls: a filled
// panel with a border, square or with rounded corners, and a soft shadow
// towards the lower right that fades into the background. Everything it shows
// is computed here into a pixel buffer; its window only copies the buffer to
// the screen.

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvane {

struct Colour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// Step `step` of `steps` on the way from `from` to `to`: each channel moves by
// the whole part of its distance divided by `steps`, once per step. The last
// step lands on `to` itself, which the whole parts alone would miss.
Colour InterpolateColour(Colour from, Colour to, int steps, int step);

// Pixels in rows from the top, each row from the left.
class PixelBuffer {
 public:
  PixelBuffer(int width, int height, Colour fill);
  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const;
  void Set(int x, int y, Colour colour);
  // One 0x00RRGGBB word per pixel: the layout of a 32-bit top-down bitmap.
  const std::vector<std::uint32_t>& Words() const { return words_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> words_;
};

// The window that shows a frame.
class FrameView {
 public:
  virtual ~FrameView() = default;
  virtual void Repaint() = 0;
};

// Values outside FrameStyle's two draw nothing but the background.
enum class FrameStyle : std::int32_t { Rounded = 0, Square = 1 };

class ShadowFrame {
 public:
  static constexpr int kMaxCornerDepth = 50;
  static constexpr int kMinShadowDepth = 2;
  // A depth above kShadowDepthJumpsAbove becomes kMaxShadowDepth, not the
  // limit itself.
  static constexpr int kShadowDepthJumpsAbove = 40;
  static constexpr int kMaxShadowDepth = 50;
  static constexpr int kMaxShadowOpacity = 100;

  // The view may be null; it is asked to repaint after every change.
  explicit ShadowFrame(FrameView* view = nullptr) : view_(view) {}
  void SetView(FrameView* view) { view_ = view; }

  FrameStyle Style() const { return style_; }
  void SetStyle(FrameStyle style);
  // Width and height of the rounded corners' ellipse, in pixels at 96 DPI.
  int CornerDepth() const { return cornerDepth_; }
  void SetCornerDepth(int depth);
  // Without a colour of their own, the fill and the back colour are the
  // container's background.
  const std::optional<Colour>& FillColour() const { return fillColour_; }
  void SetFillColour(std::optional<Colour> colour);
  Colour BorderColour() const { return borderColour_; }
  void SetBorderColour(Colour colour);
  const std::optional<Colour>& BackColour() const { return backColour_; }
  void SetBackColour(std::optional<Colour> colour);
  // 0: the control's background is the container's; otherwise BackColour.
  std::int32_t BackColourIs() const { return backColourIs_; }
  void SetBackColourIs(std::int32_t value);
  bool ShowShadow() const { return showShadow_; }
  void SetShowShadow(bool show);
  // Size of the shadow, in pixels at 96 DPI.
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int depth);
  // Darkness of the shadow in percent: 100 is black, 0 the background.
  int ShadowOpacity() const { return shadowOpacity_; }
  void SetShadowOpacity(int opacity);

  void Refresh() const;

  // The control's picture at `width` x `height` pixels on a container whose
  // background is `container`, on a monitor of `dpi`.
  PixelBuffer Render(int width, int height, Colour container, int dpi) const;

 private:
  void Changed() const;

  FrameView* view_;
  FrameStyle style_ = FrameStyle::Square;
  std::int16_t cornerDepth_ = 10;
  std::optional<Colour> fillColour_;
  Colour borderColour_{};
  std::optional<Colour> backColour_;
  std::int32_t backColourIs_ = 0;
  bool showShadow_ = true;
  std::int16_t shadowDepth_ = 5;
  std::int16_t shadowOpacity_ = 50;
};

}  // namespace kelvane
