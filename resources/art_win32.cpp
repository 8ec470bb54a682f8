#include "resources/art_win32.h"

#include <cstring>

namespace kelvane {
namespace {

UniqueBitmap CreateDib(const Canvas& canvas, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = canvas.width();
  info.bmiHeader.biHeight = -canvas.height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
  if (bitmap && *bits != nullptr) {
    const auto pixels = canvas.PremultipliedBgra();
    std::memcpy(*bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  }
  return bitmap;
}

}  // namespace

UniqueIcon CreateArtIcon(ArtKind kind, int size) {
  void* bits = nullptr;
  UniqueBitmap color = CreateDib(kelvane::DrawArt(kind, size), &bits);
  if (!color) return nullptr;
  // The mask is ignored for 32-bit icons with alpha but must exist.
  UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.get();
  info.hbmMask = mask.get();
  return UniqueIcon(CreateIconIndirect(&info));
}

void ArtPainter::Draw(HDC dc, ArtKind kind, const Rect& rect) {
  if (!alphaBlend_.Available()) return;
  void* bits = nullptr;
  UniqueBitmap bitmap = CreateDib(kelvane::DrawArt(kind, rect.width), &bits);
  if (!bitmap) return;
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  const SelectionGuard select(memory.get(), bitmap.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  alphaBlend_.CallOr(FALSE, dc, rect.left, rect.top, rect.width, rect.width, memory.get(), 0, 0, rect.width, rect.width,
                     blend);
}

}  // namespace kelvane
