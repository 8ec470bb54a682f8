#pragma once
// frmAdvOptions: the borderless modal dialog that "&Options" opens.
#include <windows.h>

#include "options/options_form.h"

namespace kelvane {

// Shows the dialog modally over `owner` and returns when it has closed; the
// caller then saves the settings.
void ShowOptionsDialog(HWND owner, HICON icon, const OptionsServices& services);

}  // namespace kelvane
