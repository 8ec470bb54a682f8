#pragma once
// A window handle as the portable code holds it: an opaque number.
#include <cstdint>

namespace kelvane {

using WindowId = std::uintptr_t;

}  // namespace kelvane
