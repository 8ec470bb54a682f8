#pragma once
// UTF-8 in the core, UTF-16 at the Windows API.
#include <string>
#include <string_view>

namespace kelvane {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace kelvane
