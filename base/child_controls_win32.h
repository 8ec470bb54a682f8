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
HWND CreateChildControl(HWND parent, const ChildControl<Id>& control, const LayoutSlot<Id>& slot, HFONT font) {
  const Rect& r = slot.rect;
  const HWND child = CreateWindowExW(control.exStyle, control.className, control.text, control.style, r.left, r.top,
                                     r.width, r.height + slot.listHeight, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), GetModuleHandleW(nullptr),
                                     nullptr);
  if (child != nullptr && font != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

template <typename Id>
void MoveChildControl(HWND child, const LayoutSlot<Id>& slot) {
  const Rect& r = slot.rect;
  SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height + slot.listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

template <typename Id>
void CreateChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                         HFONT font) {
  for (const ChildControl<Id>& control : controls) CreateChildControl(parent, control, layout.slotOf(control.id), font);
}

// Creates the controls in the table's order, in `font`, where the layout
// that `layoutFor(boxHeight)` returns puts them, and returns that layout;
// `made` receives the controls' handles in the table's order (null for one
// that could not be made).
// The box height is known only once a drop-down list exists in the font, so
// `measured`, a drop-down list, is measured as soon as it is made and the
// few controls made before it move to the measured layout. Unlike a probe
// list and a second pass over every control, this makes each control once,
// and sets its font once, without a redraw: under Wine each of those costs
// calls to the window server before the window can show.
template <typename Id, typename LayoutFor>
WindowLayout<Id> CreateMeasuredChildControls(HWND parent, std::span<const ChildControl<Id>> controls, Id measured,
                                             HFONT font, LayoutFor layoutFor, std::span<HWND> made) {
  WindowLayout<Id> layout = layoutFor(0);
  bool placed = false;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const LayoutSlot<Id> slot = layout.slotOf(controls[i].id);
    const HWND child = CreateChildControl(parent, controls[i], slot, font);
    if (i < made.size()) made[i] = child;
    RECT box{};
    if (child == nullptr || !GetWindowRect(child, &box)) continue;
    if (placed || controls[i].id != measured) {
      // Some controls size themselves when made (an up-down control
      // without a buddy narrows itself); a move puts them back, as the
      // move after a probe did.
      if (slot.listHeight == 0 && (box.right - box.left != slot.rect.width || box.bottom - box.top != slot.rect.height)) {
        MoveChildControl(child, slot);
      }
      continue;
    }
    placed = true;
    layout = layoutFor(static_cast<int>(box.bottom - box.top));
    for (std::size_t before = 0; before <= i; ++before) {
      MoveChildControl(GetDlgItem(parent, static_cast<int>(controls[before].id)), layout.slotOf(controls[before].id));
    }
  }
  return layout;
}

// Moves the controls to a new layout and font, as after a change of DPI.
template <typename Id>
void PlaceChildControls(HWND parent, std::span<const ChildControl<Id>> controls, const WindowLayout<Id>& layout,
                        HFONT font) {
  for (const ChildControl<Id>& control : controls) {
    const HWND child = GetDlgItem(parent, static_cast<int>(control.id));
    MoveChildControl(child, layout.slotOf(control.id));
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

}  // namespace kelvane
