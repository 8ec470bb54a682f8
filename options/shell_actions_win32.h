#pragma once
#include "options/options_form.h"

namespace kelvane {

// The shell's "open" on the desktop window, and processes started with a
// normal, focused window.
class Win32ShellActions : public ShellActions {
 public:
  void OpenDocument(const std::string& path) override;
  void StartProcess(const std::string& commandLine) override;
};

}  // namespace kelvane
