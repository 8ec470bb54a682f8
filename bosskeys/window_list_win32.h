#pragma once
// The desktop's top-level windows, as window hiding sees them.
#include "bosskeys/window_hiding.h"

namespace kelvane {

class Win32WindowList : public WindowList {
 public:
  std::vector<TopLevelWindow> EnumerateWindows() override;
  bool SetShowState(WindowId window, int showCommand) override;
  void InvalidateDesktop() override;
};

}  // namespace kelvane
