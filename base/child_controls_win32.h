#pragma once
// The child controls of a window, described by a table and placed by the
// window's layout.
#include <windows.h>

#include <commctrl.h>

#include <span>

#include "base/handles_win32.h"
#include "base/layout.h"

namespace kelvane {

template <typename Id>
struct ChildControl {
  Id id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle = 0;
};

inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

// The height of a drop-down list's box in `font`: the list sizes its box to
// its font, and the other boxes of a row take that height.
inline int DropDownBoxHeight(HWND parent, HFONT font) {
  const UniqueWindow probe(CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 50, 200, parent,
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!probe) return 0;
  SendMessageW(probe.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  RECT box{};
  return GetWindowRect(probe.get(), &box) ? static_cast<int>(box.bottom - box.top) : 0;
}

template <typename Id>
void CreateChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                         HFONT font) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ChildControl<Id>& control : controls) {
    const LayoutSlot<Id> slot = layout.slotOf(control.id);
    const Rect& r = slot.rect;
    const HWND child = CreateWindowExW(control.exStyle, control.className, control.text, control.style, r.left, r.top, r.width,
                                       r.height + slot.listHeight, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    if (child != nullptr && font != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

// Moves the controls to a new layout and font, as after a change of DPI.
template <typename Id>
void PlaceChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                        HFONT font) {
  for (const ChildControl<Id>& control : controls) {
    const LayoutSlot<Id> slot = layout.slotOf(control.id);
    const Rect& r = slot.rect;
    const HWND child = GetDlgItem(parent, static_cast<int>(control.id));
    SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height + slot.listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

}  // namespace kelvane
