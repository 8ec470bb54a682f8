#pragma once
// Edit controls that hold a number, as Windows users know them from
// up-down boxes: the number sits in the middle of the box, however tall the
// row makes it, and Up, Down, Page Up and Page Down step it.
#include <windows.h>

namespace kelvane {

// Sent to a number box's parent when a step key is pressed in the box:
// wParam is the box's control id, lParam the step (positive upward).
inline constexpr UINT kNumberBoxStep = WM_APP + 0x4E;

// Makes `edit` a number box for as long as it lives; false when the
// control cannot be subclassed, which leaves it a plain edit control.
bool MakeNumberBox(HWND edit) noexcept;

}  // namespace kelvane
