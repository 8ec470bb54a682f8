#pragma once
// The tray popup menu.

#include <cstdint>
#include <span>


namespace kelvane {

enum class TrayMenuCommand { None = 0, Exit = 1, Enabled = 2, Show = 3, About = 4 };

struct TrayMenuItem {
  const char* caption;  // "-" for a separator
  TrayMenuCommand command;
};

// Top to bottom: "E&xit", a separator, "Enabled", "&Show", "&About".
std::span<const TrayMenuItem> TrayMenuItems();

// The command of a menu item id as the menu returns it; None for 0 (the
// menu was dismissed) and for ids that are no command.
TrayMenuCommand TrayMenuCommandFromId(std::uint32_t id);

}  // namespace kelvane
