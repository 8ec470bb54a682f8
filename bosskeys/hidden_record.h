#pragma once
// The windows the boss key has hidden, as a record kept outside the program,
// so that they can be shown again after the program died while they were
// hidden (a crash, a kill from the task manager, an installer that closed it).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/window_id.h"

namespace kelvane {

// Show commands, as a window's placement reports them and as a show request takes them.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinNoActive = 7;

struct HiddenWindow {
  WindowId handle = 0;
  int showCommand = kShowHide;  // the placement's show command when it was hidden
  // Who the window belonged to: a handle that names another window by the
  // time the record is read is told apart by these.
  std::uint32_t processId = 0;
  std::string className;

  bool operator==(const HiddenWindow&) const = default;
};

// One line per window: handle, show command and process id in decimal, then
// the class name to the end of the line, with '%', CR and LF written as %XX.
std::string EncodeHiddenWindows(const std::vector<HiddenWindow>& windows);

// The windows of a record that may hold anything: a line that is not exactly
// what the encoder writes (a placement show command, a handle and a process
// id that are not zero and fit, a class name that fits a window class) is
// skipped.
std::vector<HiddenWindow> DecodeHiddenWindows(std::string_view text);

// Where the record is kept; the text read back is not to be trusted.
class HiddenWindowsRecord {
 public:
  virtual ~HiddenWindowsRecord() = default;
  // Empty when there is no record.
  virtual std::string Read() = 0;
  virtual void Write(const std::string& text) = 0;
  virtual void Clear() = 0;
};

}  // namespace kelvane
