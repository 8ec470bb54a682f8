#include "tray/tray_menu.h"

#include <algorithm>

namespace kelvane {

std::span<const TrayMenuItem> TrayMenuItems() {
  static constexpr TrayMenuItem kItems[] = {
      {"E&xit", TrayMenuCommand::Exit},       {"-", TrayMenuCommand::None},
      {"Enabled", TrayMenuCommand::Enabled},  {"&Show", TrayMenuCommand::Show},
      {"&About", TrayMenuCommand::About},
  };
  return kItems;
}

TrayMenuCommand TrayMenuCommandFromId(std::uint32_t id) {
  const auto items = TrayMenuItems();
  const bool known = std::any_of(items.begin(), items.end(), [id](const TrayMenuItem& item) {
    return item.command != TrayMenuCommand::None && static_cast<std::uint32_t>(item.command) == id;
  });
  return known ? static_cast<TrayMenuCommand>(id) : TrayMenuCommand::None;
}

}  // namespace kelvane
