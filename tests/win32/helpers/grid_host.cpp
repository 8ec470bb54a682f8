// Shows the grid control as a user meets it, for the screenshots: one grid
// in each header style (ThemeStyle 0 to 3), one with striped rows and one
// with a colour scheme, multiple selection and a progress column, each under
// a label, in a frameless window titled "Kelvane grid" (the picture is its
// client area). It runs per-monitor DPI aware, so a prefix set to 144 DPI
// shows it at 150 %.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "base/system_win32.h"
#include "base/frame_win32.h"
#include "base/layout.h"
#include "base/window_base_win32.h"
#include "controls/grid/grid_ctl_win32.h"

namespace kelvane {
namespace {

// Hook failures would show a message box; the host has no one to show it to.
class QuietReporter final : public ErrorReporter {
 public:
  void Report(const HookError&) override {}
};

struct Sample {
  const wchar_t* label;
  void (*setUp)(GridControl&);
};

const char* const kTasks[][3] = {
    {"Empty the recycle bin", "12", "100"},
    {"Clean temporary files", "340", "80"},
    {"Defragment drive C:", "52000", "35"},
    {"Check disk for errors", "8", "0"},
    {"Spybot - Search & Destroy", "1250", "60"},
    {"Back up documents", "7300", "15"},
    {"Update virus definitions", "96", "100"},
};

void Style(GridControl& grid, std::int64_t style) { grid.SetProperty(GridProperty::ThemeStyle, style); }

const std::array<Sample, 6> kSamples{{
    {L"ThemeStyle 0: classic buttons", [](GridControl& g) { Style(g, 0); }},
    {L"ThemeStyle 1: flat buttons", [](GridControl& g) { Style(g, 1); }},
    {L"ThemeStyle 2: visual style", [](GridControl& g) { Style(g, 2); }},
    {L"ThemeStyle 3: gradient", [](GridControl& g) { Style(g, 3); }},
    {L"Striped rows",
     [](GridControl& g) {
       g.SetProperty(GridProperty::Striped, true);
       g.SetProperty(GridProperty::GridLines, false);
     }},
    {L"ThemeColor 2, MultiSelect, progress",
     [](GridControl& g) {
       g.SetProperty(GridProperty::ThemeColor, std::int64_t{2});
       g.SetProperty(GridProperty::MultiSelect, true);
       g.Model().SetColType(2, ColumnType::Progress);
     }},
}};

constexpr int kColumns = 2;
constexpr int kMargin = 10;
constexpr int kLabelHeight = 18;
constexpr int kGridWidth = 330;
constexpr int kGridHeight = 132;

class HostWindow final : public WindowBase {
 public:
  bool Create() {
    const int dpi = DpiOf(nullptr);
    const int rows = static_cast<int>(kSamples.size() + kColumns - 1) / kColumns;
    RECT frame{0, 0, ScaleToDpi(kMargin + kColumns * (kGridWidth + kMargin), dpi),
               ScaleToDpi(kMargin + rows * (kLabelHeight + kGridHeight + kMargin), dpi)};
    return CreateOf(L"KelvaneGridHost", 0, WS_POPUP | WS_CLIPCHILDREN, L"Kelvane grid", 20, 20,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr);
  }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    switch (message) {
      case WM_CREATE:
        Build();
        return 0;
      case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return Default(message, wParam, lParam);
    }
  }

  void Build() {
    const int dpi = DpiOf(hwnd());
    fonts_ = UiFonts::ForDpi(dpi);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal.get()), FALSE);
    for (std::size_t i = 0; i < kSamples.size(); ++i) {
      const int x = kMargin + static_cast<int>(i % kColumns) * (kGridWidth + kMargin);
      const int y = kMargin + static_cast<int>(i / kColumns) * (kLabelHeight + kGridHeight + kMargin);
      const Rect label = ScaleToDpi(Rect{x, y, kGridWidth, kLabelHeight}, dpi);
      const HWND text = CreateWindowExW(0, L"STATIC", kSamples[i].label, WS_CHILD | WS_VISIBLE, label.left,
                                        label.top, label.width, label.height, hwnd(), nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
      SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal.get()), FALSE);
      const Rect area = ScaleToDpi(Rect{x, y + kLabelHeight, kGridWidth, kGridHeight}, dpi);
      auto grid = std::make_unique<GridCtl>(nullptr, reporter_);
      const RECT r{area.left, area.top, area.right(), area.bottom()};
      if (!grid->Create(hwnd(), 100 + static_cast<int>(i), r)) continue;
      Fill(*grid, kSamples[i]);
      grids_[i] = std::move(grid);
    }
  }

  static void Fill(GridCtl& ctl, const Sample& sample) {
    GridControl& grid = ctl.Control();
    GridModel& model = grid.Model();
    model.SetRedraw(false);
    grid.SetProperty(GridProperty::CheckBoxes, true);
    grid.SetProperty(GridProperty::ColumnSort, true);
    model.AddColumn("Task", 190, 4);
    model.AddColumn("Size", 60, 6, ColumnType::Number);
    model.AddColumn("Done", 60, 6, ColumnType::Number);
    sample.setUp(grid);
    for (const auto& task : kTasks) {
      const std::int32_t row = model.AddItem(std::string(task[0]) + '\t' + task[1] + '\t' + task[2]);
      if (model.ColType(2) == ColumnType::Progress) {
        model.SetCellProgressValue(row, 2, static_cast<std::int16_t>(std::stoi(task[2])));
      }
    }
    model.SetItemChecked(0, true);
    model.SetItemChecked(2, true);
    model.SetItemChecked(4, true);
    model.SetCellFontBold(3, 0, true);
    model.ColSort(1, true);
    model.SetItemSelected(2, true);
    if (model.MultiSelect()) model.SetItemSelected(3, true);
    grid.SetRow(2);
    model.SetRedraw(true);
  }

  QuietReporter reporter_;
  UiFonts fonts_;
  std::array<std::unique_ptr<GridCtl>, kSamples.size()> grids_;
};

void BecomeDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto setContext = user32 == nullptr ? nullptr
                                            : reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
                                                  GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) SetProcessDPIAware();
}

}  // namespace
}  // namespace kelvane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  kelvane::BecomeDpiAware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  kelvane::HostWindow host;
  if (!host.Create()) return 1;
  ShowWindow(host.hwnd(), SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(host.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
