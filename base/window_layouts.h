#pragma once
// Where the controls of the main window and the prompt sit, in 96-DPI units
// scaled to the monitor's DPI.

#include "base/control_ids.h"
#include "base/layout.h"

namespace kelvane {

WindowLayout<MainControl> MainWindowLayout(int dpi);
WindowLayout<PromptControl> PromptLayout(int dpi);
WindowLayout<OptionsControl> OptionsLayout(int dpi);

}  // namespace kelvane
