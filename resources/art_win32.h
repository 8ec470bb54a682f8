#pragma once
#include <windows.h>

#include "base/handles_win32.h"
#include "base/layout.h"
#include "base/system_library_win32.h"
#include "resources/raster_art.h"

namespace kelvane {

// An icon drawn at exactly `size` pixels, with its alpha channel.
UniqueIcon CreateArtIcon(ArtKind kind, int size);
// Blends pictures onto device contexts. The blending call lives in
// msimg32.dll, which is loaded with the first picture and kept with the
// painter; without it the picture is left out.
class ArtPainter {
 public:
  void Draw(HDC dc, ArtKind kind, const Rect& rect);

 private:
  SystemLibrary msimg32_{L"msimg32.dll"};
  SystemEntry<decltype(::AlphaBlend)> alphaBlend_{msimg32_, "AlphaBlend"};
};

}  // namespace kelvane
