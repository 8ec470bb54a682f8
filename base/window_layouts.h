#pragma once
// Where the controls of the main window, the prompt and the about box sit, in 96-DPI units
// scaled to the monitor's DPI.

#include "base/control_ids.h"
#include "base/layout.h"

namespace kelvane {

// `boxHeight`: the height in pixels of a drop-down list in the window's font
// at `dpi`, which the rows of boxes take; 0 before it is known.
WindowLayout<MainControl> MainWindowLayout(int dpi, int boxHeight = 0);
WindowLayout<PromptControl> PromptLayout(int dpi, int boxHeight = 0);
WindowLayout<AboutControl> AboutLayout(int dpi);
WindowLayout<OptionsControl> OptionsLayout(int dpi);

}  // namespace kelvane
