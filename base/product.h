#pragma once
// The product's name, spelled once: window titles, the settings store's
// application name, tray texts and message-box captions all come from here.

#include <string_view>

namespace kelvane {

inline constexpr std::string_view kProductName = "Kelvane";
// The Windows API takes the name as UTF-16; the check below keeps the two equal.
inline constexpr std::wstring_view kProductNameWide = L"Kelvane";
// The main window's title; the leading blank is what the boss keys' window
// list and the end-to-end tests have always found it by.
inline constexpr std::string_view kMainWindowTitle = " Kelvane";
inline constexpr std::wstring_view kMainWindowTitleWide = L" Kelvane";

constexpr bool SameAsciiText(std::string_view narrow, std::wstring_view wide) {
  if (narrow.size() != wide.size()) return false;
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    if (static_cast<wchar_t>(narrow[i]) != wide[i]) return false;
  }
  return true;
}
static_assert(SameAsciiText(kProductName, kProductNameWide));
static_assert(SameAsciiText(kMainWindowTitle, kMainWindowTitleWide));
static_assert(kMainWindowTitle.substr(1) == kProductName);

}  // namespace kelvane
