// Writes kelvane.ico, the icon that Explorer, the Start menu and Apps &
// Features show for the program, from the same drawing as the program's own
// window icon (resources/raster_art.cpp). A build-machine tool: the Windows
// build compiles it with the host compiler and embeds its output in the exe.
//
// Each size is drawn at its exact pixel size, as the program draws its
// icons at run time. The smallest sizes (16 and 20, the tray's and small
// lists') are 32-bit bitmaps, which every shell path reads; the larger ones
// are PNG, which Windows reads from Vista on and which keeps the program
// small.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/raster_art.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void Put32BigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A DIB as icons store it: the header states twice the height (colour
// rows, then the mask's), rows bottom-up, straight (not premultiplied) alpha.
Bytes BitmapImage(const kelvane::Canvas& canvas) {
  const int size = canvas.width();
  const int maskStride = ((size + 31) / 32) * 4;
  Bytes out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const kelvane::Rgba p = canvas.At(x, y);
      out.insert(out.end(), {p.b, p.g, p.r, p.a});
    }
  }
  // The mask marks fully transparent pixels for readers that ignore alpha.
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(maskStride), 0);
    for (int x = 0; x < size; ++x) {
      if (canvas.At(x, y).a == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32BigEndian(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

bool PngImage(const kelvane::Canvas& canvas, Bytes& out) {
  const int size = canvas.width();
  Bytes raw;
  for (int y = 0; y < size; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < size; ++x) {
      const kelvane::Rgba p = canvas.At(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);

  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.assign(std::begin(signature), std::end(signature));
  Bytes header;
  Put32BigEndian(header, static_cast<std::uint32_t>(size));
  Put32BigEndian(header, static_cast<std::uint32_t>(size));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s output.ico\n", argv[0]);
    return 2;
  }
  const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
  std::vector<Bytes> images;
  for (const int size : sizes) {
    const kelvane::Canvas canvas = kelvane::DrawArt(kelvane::ArtKind::AppIcon, size);
    Bytes image;
    if (size <= 20) {
      image = BitmapImage(canvas);
    } else if (!PngImage(canvas, image)) {
      std::fprintf(stderr, "could not compress the %d-pixel image\n", size);
      return 1;
    }
    images.push_back(std::move(image));
  }

  Bytes file;
  Put16(file, 0);
  Put16(file, 1);  // an icon, not a cursor
  Put16(file, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    file.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));  // 0 stands for 256
    file.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const Bytes& image : images) file.insert(file.end(), image.begin(), image.end());

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
