#include "base/utf8.h"

namespace kelvane {

Utf8Char DecodeUtf8(std::string_view text) {
  if (text.empty()) return {};
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};
  const Utf8Char stray{lead, 1, false};
  std::size_t length = 0;
  char32_t c = 0;
  // The second byte's range rules out overlong forms, surrogates and values
  // past the Unicode range before anything is decoded.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return stray;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return stray;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return stray;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  return {c, length, true};
}

}  // namespace kelvane
