#pragma once
// Reading UTF-8 one character at a time, for the code that has to count,
// cut or compare characters rather than bytes.

#include <cstddef>
#include <string_view>

namespace kelvane {

struct Utf8Char {
  char32_t codePoint = 0;
  std::size_t bytes = 0;
  // False for a byte that does not begin a well-formed sequence (a stray
  // continuation, an overlong form, a surrogate, a value past U+10FFFF or a
  // sequence cut short); such a byte counts alone, and `codePoint` is the
  // byte's value.
  bool valid = false;
};

// The character at the start of `text`; zero bytes for an empty text.
Utf8Char DecodeUtf8(std::string_view text);

}  // namespace kelvane
