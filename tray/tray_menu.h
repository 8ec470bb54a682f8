#pragma once
// The tray popup menu and what the main window does on the tray icon's
// mouse-down event.

#include <cstdint>
#include <span>

#include "core/tray_seam.h"

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

// What the reactions to the tray icon need from the main window.
class TrayMenuHost {
 public:
  virtual ~TrayMenuHost() = default;
  // Closes the about box; nothing when none is open.
  virtual void CloseAboutBox() = 0;
  // Makes the main window visible without changing the foreground.
  virtual void ShowMainWindow() = 0;
  virtual void BringMainWindowToFront() = 0;
  // Brings the main window to the foreground, so that the menu closes when
  // the user clicks elsewhere, and opens the popup at the mouse.
  virtual TrayMenuCommand OpenTrayMenu() = 0;
  // Presses the enable/disable button as a click would.
  virtual void PressEnableButton() = 0;
  virtual void ShowAboutBox() = 0;
  // The quit command, which asks before ending the program.
  virtual void AskToQuit() = 0;
};

// Left: close the about box, show the main window in front. Right: the
// popup menu and its command. Middle: nothing.
void OnTrayMouseDown(TrayButton button, TrayMenuHost& host);
void RunTrayMenuCommand(TrayMenuCommand command, TrayMenuHost& host);

}  // namespace kelvane
