#pragma once
// The child controls of a window, described by a table and placed by the
// window's layout.
#include <windows.h>

#include <span>

#include "base/layout.h"

namespace kelvane {

template <typename Id>
struct ChildControl {
  Id id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
};

inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

template <typename Id>
void CreateChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                         HFONT font) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ChildControl<Id>& control : controls) {
    const Rect r = layout.at(control.id);
    const HWND child = CreateWindowExW(0, control.className, control.text, control.style, r.left, r.top, r.width,
                                       r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                       instance, nullptr);
    if (child != nullptr && font != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

// Moves the controls to a new layout and font, as after a change of DPI.
template <typename Id>
void PlaceChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                        HFONT font) {
  for (const ChildControl<Id>& control : controls) {
    const Rect r = layout.at(control.id);
    const HWND child = GetDlgItem(parent, static_cast<int>(control.id));
    SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

}  // namespace kelvane
