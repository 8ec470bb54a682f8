#pragma once
#include <windows.h>

#include "base/handles_win32.h"
#include "base/layout.h"
#include "resources/raster_art.h"

namespace kelvane {

// An icon drawn at exactly `size` pixels, with its alpha channel.
UniqueIcon CreateArtIcon(ArtKind kind, int size);
// Blends a picture onto a device context.
void DrawArt(HDC dc, ArtKind kind, const Rect& rect);

}  // namespace kelvane
