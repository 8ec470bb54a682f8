#include "base/number_box_win32.h"

#include <commctrl.h>

#include <optional>

#include "base/handles_win32.h"
#include "base/numeric_spin.h"

namespace kelvane {
namespace {

constexpr UINT_PTR kSubclassId = 0x4E42;

std::optional<StepKey> StepKeyOf(WPARAM key) {
  switch (key) {
    case VK_UP: return StepKey::Up;
    case VK_DOWN: return StepKey::Down;
    case VK_PRIOR: return StepKey::PageUp;
    case VK_NEXT: return StepKey::PageDown;
    default: return std::nullopt;
  }
}

int LineHeight(HWND edit) {
  const WindowDc dc(edit);
  if (dc.get() == nullptr) return 0;
  const auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
  const SelectionGuard select(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  return GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

// A single-line edit control draws its line at the top of its client area,
// so the client area is made one line tall and put in the middle of the box.
void CentreClientArea(HWND edit, RECT& client) {
  const int line = LineHeight(edit);
  const int spare = static_cast<int>(client.bottom - client.top) - line;
  if (line <= 0 || spare <= 0) return;
  client.top += spare / 2;
  client.bottom = client.top + line;
}

// The bands above and below the client area belong to the frame; they get
// the background the control paints its text on.
void PaintBands(HWND edit) {
  RECT window{};
  RECT client{};
  if (!GetWindowRect(edit, &window) || !GetClientRect(edit, &client)) return;
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  // The border is as wide at the top as at the sides.
  const LONG border = client.left;
  const NonClientDc dc(edit);
  if (dc.get() == nullptr) return;
  const bool editable = IsWindowEnabled(edit) && (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) == 0;
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(edit), editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(edit)));
  if (brush == nullptr) brush = GetSysColorBrush(editable ? COLOR_WINDOW : COLOR_BTNFACE);
  const RECT above{border, border, width - border, client.top};
  const RECT below{border, client.bottom, width - border, height - border};
  if (above.bottom > above.top) FillRect(dc.get(), &above, brush);
  if (below.bottom > below.top) FillRect(dc.get(), &below, brush);
}

LRESULT CALLBACK NumberBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
  switch (message) {
    case WM_KEYDOWN:
      if (const auto key = StepKeyOf(wParam)) {
        SendMessageW(GetParent(edit), kNumberBoxStep, static_cast<WPARAM>(GetDlgCtrlID(edit)), StepOf(*key));
        return 0;
      }
      break;
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RECT& client = wParam != FALSE ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                     : *reinterpret_cast<RECT*>(lParam);
      CentreClientArea(edit, client);
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      PaintBands(edit);
      return result;
    }
    case WM_NCHITTEST: {
      // A click on the bands puts the caret in the box, as a click on its text would.
      const LRESULT hit = DefSubclassProc(edit, message, wParam, lParam);
      return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
    }
    case WM_SETFONT: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      // Another font has another line height: the client area is worked out again.
      SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return result;
    }
    case WM_ENABLE: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(edit, NumberBoxProc, kSubclassId); break;
    default: break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

bool MakeNumberBox(HWND edit) noexcept {
  if (edit == nullptr || !SetWindowSubclass(edit, NumberBoxProc, kSubclassId, 0)) return false;
  SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace kelvane
