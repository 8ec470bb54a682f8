#include "bosskeys/window_list_win32.h"

#include <windows.h>

#include "base/system_win32.h"
#include "base/window_id_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

// Nothing here sends a message to another program's window: its title, style
// and placement are read from what the system keeps for it, so a program that
// has stopped reading its messages does not hold the enumeration up.
TopLevelWindow Describe(HWND window) {
  TopLevelWindow described;
  described.handle = ToWindowId(window);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  described.ownProcess = process == GetCurrentProcessId();
  described.processId = process;
  // 256 is the longest class name RegisterClass accepts.
  wchar_t className[257] = {};
  const int classLength = GetClassNameW(window, className, 257);
  described.className = Narrow(std::wstring_view(className, classLength > 0 ? static_cast<std::size_t>(classLength) : 0));
  described.title = Narrow(WindowText(window));
  described.visible = IsWindowVisible(window) != FALSE;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  // A window that is gone by now keeps show command 0 and is not hidden.
  if (GetWindowPlacement(window, &placement)) described.showCommand = static_cast<int>(placement.showCmd);
  return described;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) noexcept {
  try {
    reinterpret_cast<std::vector<TopLevelWindow>*>(list)->push_back(Describe(window));
    return TRUE;
  } catch (...) {
    // Out of memory: stop with the windows collected so far.
    return FALSE;
  }
}

}  // namespace

std::vector<TopLevelWindow> Win32WindowList::EnumerateWindows() {
  std::vector<TopLevelWindow> windows;
  // A stop by Collect also reports failure; what was collected is used.
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool Win32WindowList::SetShowState(WindowId window, int showCommand) {
  // ShowWindow would wait until the window's thread has handled the request:
  // for as long as that program does not read its messages.
  return ShowWindowAsync(ToHwnd(window), showCommand) != FALSE;
}

void Win32WindowList::InvalidateDesktop() {
  // Only marks the windows for repainting, which each window's thread does
  // in its own time; a refusal leaves stale pixels at worst.
  RedrawWindow(GetDesktopWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace kelvane
