// The native floor that scripts/bench.sh measures Kelvane against: the
// least a Windows program with Kelvane's main window can cost. One window of
// the common controls 6 with the same kind and number of controls (static
// labels, drop-down lists, radio buttons, number boxes with spins, check
// boxes, push buttons and a tooltip) and a tray icon, and nothing else: no
// settings, no timers, no drawn frame.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>

namespace {

constexpr const wchar_t* kFloorClass = L"KelvaneFloor";
constexpr UINT kTrayCallback = WM_APP + 1;

enum class Kind { Other, Edit, Spin };

struct Control {
  Kind kind;
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  int x, y, width, height;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_TABSTOP | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT | UDS_SETBUDDYINT;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

const std::array<Control, 21> kControls{{
    {Kind::Other, WC_STATICW, L"Action", kChild | SS_CENTERIMAGE, 0, 10, 10, 60, 22},
    {Kind::Other, WC_COMBOBOXW, L"", kCombo | WS_GROUP, 0, 80, 10, 160, 200},
    {Kind::Other, WC_BUTTONW, L"In", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 10, 40, 40, 22},
    {Kind::Edit, WC_EDITW, L"1", kEdit, WS_EX_CLIENTEDGE, 60, 40, 50, 22},
    {Kind::Spin, UPDOWN_CLASSW, L"", kSpin, 0, 110, 40, 16, 22},
    {Kind::Other, WC_COMBOBOXW, L"", kCombo, 0, 130, 40, 110, 200},
    {Kind::Other, WC_BUTTONW, L"At", kChild | BS_AUTORADIOBUTTON, 0, 10, 70, 40, 22},
    {Kind::Edit, WC_EDITW, L"1", kEdit, WS_EX_CLIENTEDGE, 60, 70, 40, 22},
    {Kind::Spin, UPDOWN_CLASSW, L"", kSpin, 0, 100, 70, 16, 22},
    {Kind::Edit, WC_EDITW, L"00", kEdit, WS_EX_CLIENTEDGE, 120, 70, 40, 22},
    {Kind::Spin, UPDOWN_CLASSW, L"", kSpin, 0, 160, 70, 16, 22},
    {Kind::Other, WC_COMBOBOXW, L"", kCombo, 0, 180, 70, 60, 200},
    {Kind::Other, WC_BUTTONW, L"Prompt before Action with snooze option", kCheck | WS_GROUP, 0, 10, 100, 260, 22},
    {Kind::Other, WC_BUTTONW, L"Blink before Action", kCheck, 0, 10, 125, 150, 22},
    {Kind::Edit, WC_EDITW, L"30", kEdit, WS_EX_CLIENTEDGE, 160, 125, 50, 22},
    {Kind::Spin, UPDOWN_CLASSW, L"", kSpin, 0, 210, 125, 16, 22},
    {Kind::Other, WC_STATICW, L"Seconds", kChild | SS_CENTERIMAGE, 0, 230, 125, 60, 22},
    {Kind::Other, WC_BUTTONW, L"Force terminate", kCheck, 0, 10, 150, 150, 22},
    {Kind::Other, WC_BUTTONW, L"&Enable", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 0, 10, 180, 90, 26},
    {Kind::Other, WC_BUTTONW, L"&Options", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 110, 180, 90, 26},
    {Kind::Other, WC_STATICW, L"Disabled", kChild | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 10, 215, 280, 22},
}};

// The lists hold as many entries as Kelvane's: actions, units, half days.
const std::array<const wchar_t*, 7> kActions{L"Shutdown", L"Restart", L"Log off", L"Suspend", L"Hibernate",
                                             L"Lock", L"Power off"};
const std::array<const wchar_t*, 3> kUnits{L"Hours", L"Minutes", L"Seconds"};
const std::array<const wchar_t*, 2> kHalfDays{L"AM", L"PM"};

void Fill(HWND combo, const wchar_t* const* items, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void CreateControls(HWND window, HINSTANCE instance) {
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND edit = nullptr;
  int id = 100;
  for (const Control& c : kControls) {
    const HWND child = CreateWindowExW(c.exStyle, c.windowClass, c.text, c.style, c.x, c.y, c.width, c.height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == Kind::Edit) edit = child;
    if (c.kind == Kind::Spin) SendMessageW(child, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  }
  Fill(GetDlgItem(window, 101), kActions.data(), kActions.size());
  Fill(GetDlgItem(window, 105), kUnits.data(), kUnits.size());
  Fill(GetDlgItem(window, 111), kHalfDays.data(), kHalfDays.size());

  const HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                       instance, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, 120));
  tool.lpszText = const_cast<wchar_t*>(L"Disabled");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

NOTIFYICONDATAW TrayData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  lstrcpynW(data.szTip, L"Floor", ARRAYSIZE(data.szTip));
  return data;
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE: {
      CreateControls(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
      NOTIFYICONDATAW data = TrayData(window);
      Shell_NotifyIconW(NIM_ADD, &data);
      return 0;
    }
    case WM_DESTROY: {
      NOTIFYICONDATAW data = TrayData(window);
      Shell_NotifyIconW(NIM_DELETE, &data);
      PostQuitMessage(0);
      return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                     ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFloorClass;
  if (!RegisterClassExW(&wc)) return 1;
  const HWND window = CreateWindowExW(0, kFloorClass, L"Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 310, 290, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
