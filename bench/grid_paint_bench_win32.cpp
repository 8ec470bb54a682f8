// GridCtl's painting against the Windows list view in virtual (owner-data)
// report mode, both showing the same three columns of the same rows in a
// 20-row view, in one process. Prints each figure beside its target and
// exits with 1 when a target is missed.
//
//   scripts/build.sh windows
//   scripts/wine-run.sh build/windows/grid_paint_bench.exe [--without-list-view]
//
// Wine's list view spends about half a second on every page-down at a
// million rows, so the comparison with it takes two minutes; the option
// leaves it out.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/grid/grid_ctl_win32.h"

namespace kelvane {
namespace {

constexpr std::int32_t kManyRows = 1'000'000;
constexpr std::int32_t kFewRows = 100;
constexpr int kViewRows = 20;
constexpr int kPageDowns = 200;
constexpr int kRepaints = 1000;
constexpr int kCycles = 10'000;
constexpr int kRuns = 7;
constexpr int kColumnWidths[] = {200, 100, 100};

class QuietReporter final : public ErrorReporter {
 public:
  void Report(const HookError&) override {}
};

struct Rows {
  std::vector<std::string> names, sizes, kinds;
};

Rows MakeRows(std::int32_t count) {
  Rows rows;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(4, 14), letter('a', 'z'), number(0, 9'999'999), kind(0, 3);
  const char* const kinds[] = {"text", "image", "archive", "program"};
  for (std::int32_t i = 0; i < count; ++i) {
    std::string name(static_cast<std::size_t>(length(random)), ' ');
    for (char& c : name) c = static_cast<char>(letter(random));
    rows.names.push_back(std::move(name));
    rows.sizes.push_back(std::to_string(number(random)));
    rows.kinds.push_back(kinds[kind(random)]);
  }
  return rows;
}

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Wine's GetGuiResources answers 0. Its handle tables take a handle without
// its generation (high word 0) for any live object in that slot, so the
// live objects can be counted by trying every slot.
DWORD CountObjects(DWORD kind) {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), kind);
  if (counted != 0) return counted;
  DWORD live = 0;
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
    if (kind == GR_GDIOBJECTS) {
      live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0 ? 1 : 0;
    } else {
      live += IsWindow(reinterpret_cast<HWND>(slot)) || IsMenu(reinterpret_cast<HMENU>(slot)) ? 1 : 0;
    }
  }
  return live;
}

// The window that holds the controls and answers the list view's questions.
class Bench {
 public:
  explicit Bench(const Rows& rows) : rows_(rows) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Bench::Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelvaneGridBench";
    RegisterClassExW(&wc);
    host_ = CreateWindowExW(0, L"KelvaneGridBench", L"Kelvane grid bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~Bench() { DestroyWindow(host_); }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  // A grid at x with `count` of the rows, sized to show kViewRows rows.
  std::unique_ptr<GridCtl> MakeGrid(int x, std::int32_t count) {
    auto grid = std::make_unique<GridCtl>(nullptr, reporter_);
    grid->Create(host_, 10 + x, RECT{x, 0, x + 430, 400});
    GridModel& model = grid->Model();
    model.SetRedraw(false);
    model.AddColumn("Name", kColumnWidths[0], 4);
    model.AddColumn("Size", kColumnWidths[1], 6, ColumnType::Number);
    model.AddColumn("Kind", kColumnWidths[2], 4);
    std::string line;
    for (std::int32_t i = 0; i < count; ++i) {
      line = rows_.names[i] + '\t' + rows_.sizes[i] + '\t' + rows_.kinds[i];
      model.AddItem(line);
    }
    model.SetRedraw(true);
    const GridMetrics& m = grid->Control().Metrics();
    RECT frame{0, 0, 430, m.headerHeight + kViewRows * m.rowHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(grid->hwnd(), GWL_STYLE)), FALSE, 0);
    SetWindowPos(grid->hwnd(), nullptr, x, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    UpdateWindow(grid->hwnd());
    return grid;
  }

  // A virtual report-mode list view at x over all the rows.
  HWND MakeListView(int x, HFONT font) {
    // Full-row highlight, as the grid has it. (Single selection would be
    // fairer still, but makes Wine's list view four times slower again.)
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA, x, 0, 430, 400, host_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const wchar_t* headings[] = {L"Name", L"Size", L"Kind"};
    for (int i = 0; i < 3; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
      column.cx = kColumnWidths[i];
      column.pszText = const_cast<wchar_t*>(headings[i]);
      SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.names.size()), LVSICF_NOINVALIDATEALL);
    RECT item{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    RECT header{};
    GetWindowRect(ListView_GetHeader(list_), &header);
    RECT frame{0, 0, 430, (header.bottom - header.top) + kViewRows * (item.bottom - item.top)};
    AdjustWindowRectEx(&frame, WS_BORDER, FALSE, 0);
    SetWindowPos(list_, nullptr, x, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    UpdateWindow(list_);
    return list_;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Bench*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NOTIFY) {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
      if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT) != 0) {
        const std::size_t row = static_cast<std::size_t>(info->item.iItem);
        const std::string& text = info->item.iSubItem == 0   ? self->rows_.names[row]
                                  : info->item.iSubItem == 1 ? self->rows_.sizes[row]
                                                             : self->rows_.kinds[row];
        // The same conversion the grid makes for every cell it draws.
        const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                               info->item.pszText, info->item.cchTextMax - 1);
        info->item.pszText[std::max(length, 0)] = L'\0';
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  const Rows& rows_;
  QuietReporter reporter_;
  HWND host_ = nullptr;
  HWND list_ = nullptr;
};

// The font the grids take when their parent has none: the message font.
UniqueFont MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

double PageDowns(HWND control) {
  SendMessageW(control, WM_KEYDOWN, VK_HOME, 0);
  UpdateWindow(control);
  return Milliseconds([control] {
    for (int i = 0; i < kPageDowns; ++i) {
      SendMessageW(control, WM_KEYDOWN, VK_NEXT, 0);
      UpdateWindow(control);
    }
  });
}

double Repaints(HWND control) {
  return Milliseconds([control] {
    for (int i = 0; i < kRepaints; ++i) {
      InvalidateRect(control, nullptr, FALSE);
      UpdateWindow(control);
    }
  });
}

int Report(const char* what, double value, const char* target, bool met) {
  std::printf("%-62s %10.3f   %-10s %s\n", what, value, target, met ? "met" : "MISSED");
  return met ? 0 : 1;
}

int Run(bool withListView) {
  // Each figure shows as soon as it is known.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  std::printf("building %d rows...\n", kManyRows);
  const Rows rows = MakeRows(kManyRows);
  Bench bench(rows);
  const std::unique_ptr<GridCtl> big = bench.MakeGrid(0, kManyRows);
  // In the same place, shown in turn, so that only the row count differs.
  const std::unique_ptr<GridCtl> small = bench.MakeGrid(0, kFewRows);
  ShowWindow(small->hwnd(), SW_HIDE);
  Pump();

  int missed = 0;
  std::printf("\n%-62s %10s   %-10s\n", "measure", "value", "target");

  // 1. A full repaint of the 20-row view costs the same at 100 and at 1,000,000 rows.
  {
    double many = 1e300, few = 1e300;
    for (GridCtl* grid : {big.get(), small.get()}) SendMessageW(grid->hwnd(), WM_KEYDOWN, VK_HOME, 0);
    const auto shown = [&](GridCtl& grid, GridCtl& other) {
      ShowWindow(other.hwnd(), SW_HIDE);
      ShowWindow(grid.hwnd(), SW_SHOW);
      UpdateWindow(grid.hwnd());
      return Repaints(grid.hwnd());
    };
    for (int run = 0; run < kRuns; ++run) {
      many = std::min(many, shown(*big, *small));
      few = std::min(few, shown(*small, *big));
    }
    ShowWindow(small->hwnd(), SW_HIDE);
    ShowWindow(big->hwnd(), SW_SHOW);
    double plan = 1e300;
    for (int run = 0; run < kRuns; ++run) {
      plan = std::min(plan, Milliseconds([&] {
        for (int i = 0; i < kRepaints; ++i) big->Control().PlanPaint();
      }));
    }
    std::printf("  of which planning what to draw: %.1f ms\n", plan);
    std::printf("  %d full repaints: %.1f ms at %d rows, %.1f ms at %d rows\n", kRepaints, many, kManyRows, few,
                kFewRows);
    missed += Report("full repaint, 1,000,000 rows / 100 rows", many / few, "0.9 - 1.1",
                     many / few >= 0.9 && many / few <= 1.1);
  }

  // 2. A header click sorts a million rows; the repaint after it is small beside the sort.
  {
    GridControl& control = big->Control();
    control.SetProperty(GridProperty::ColumnSort, true);
    const LPARAM header = MAKELPARAM(kColumnWidths[0] / 2, control.Metrics().headerHeight / 2);
    // The first capture of the mouse in a process costs Wine a round trip to
    // the X server, once; a first click takes it out of the measure.
    SendMessageW(big->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, header);
    SendMessageW(big->hwnd(), WM_LBUTTONUP, 0, header);
    UpdateWindow(big->hwnd());
    double sort = 0, paint = 0;
    for (int run = 0; run < 3; ++run) {
      sort += Milliseconds([&] {
        SendMessageW(big->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, header);
        SendMessageW(big->hwnd(), WM_LBUTTONUP, 0, header);
      });
      paint += Milliseconds([&] { UpdateWindow(big->hwnd()); });
    }
    std::printf("  header-click sort: %.1f ms, the repaint after it %.2f ms (mean of 3)\n", sort / 3, paint / 3);
    missed += Report("repaint after a header-click sort / the sort", paint / sort, "< 0.05", paint / sort < 0.05);
    control.SetProperty(GridProperty::ColumnSort, false);
  }

  // 3. Page-downs at a million rows against the list view. It runs after
  // the two above: the list view leaves the process slower to paint for a
  // while, whichever control paints.
  if (withListView) {
    const UniqueFont font = MessageFont();
    const HWND list = bench.MakeListView(440, font.get());
    Pump();
    // Wine's list view spends about half a second on each page-down at
    // this size, so it runs once; the grid takes the best of its runs.
    double grid = 1e300, gridPaint = 1e300, viewPaint = 1e300;
    const double view = PageDowns(list);
    for (int run = 0; run < kRuns; ++run) {
      grid = std::min(grid, PageDowns(big->hwnd()));
      gridPaint = std::min(gridPaint, Repaints(big->hwnd()));
      viewPaint = std::min(viewPaint, Repaints(list));
    }
    std::printf("  %d page-downs with UpdateWindow: grid %.1f ms, list view %.1f ms\n", kPageDowns, grid, view);
    std::printf("  %d full repaints: grid %.1f ms, list view %.1f ms\n", kRepaints, gridPaint, viewPaint);
    missed += Report("page-downs at 1,000,000 rows, grid / list view", grid / view, "<= 1.5", grid / view <= 1.5);
    DestroyWindow(list);
    Pump();
  }

  // 4. Repaints, scrolls and edit open/close cycles leave no GDI or USER objects behind.
  {
    GridControl& control = big->Control();
    control.SetProperty(GridProperty::Editable, true);
    const auto cycle = [&] {
      InvalidateRect(big->hwnd(), nullptr, FALSE);
      UpdateWindow(big->hwnd());
      SendMessageW(big->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
      UpdateWindow(big->hwnd());
      SendMessageW(big->hwnd(), WM_VSCROLL, SB_LINEUP, 0);
      control.EditCell(control.TopRow() + 1, 0);
      control.UpdateCell();
      Pump();
    };
    cycle();
    const DWORD gdiFirst = CountObjects(GR_GDIOBJECTS), userFirst = CountObjects(GR_USEROBJECTS);
    const double ms = Milliseconds([&] {
      for (int i = 1; i < kCycles; ++i) cycle();
    });
    const DWORD gdiLast = CountObjects(GR_GDIOBJECTS), userLast = CountObjects(GR_USEROBJECTS);
    std::printf("  %d cycles in %.0f ms: GDI objects %lu then %lu, USER objects %lu then %lu\n", kCycles, ms,
                static_cast<unsigned long>(gdiFirst), static_cast<unsigned long>(gdiLast),
                static_cast<unsigned long>(userFirst), static_cast<unsigned long>(userLast));
    missed += Report("GDI objects after 10,000 cycles - after the first", static_cast<double>(gdiLast) - gdiFirst,
                     "0", gdiLast == gdiFirst);
    missed += Report("USER objects after 10,000 cycles - after the first", static_cast<double>(userLast) - userFirst,
                     "0", userLast == userFirst);
  }
  return missed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
  return kelvane::Run(!(argc > 1 && std::string(argv[1]) == "--without-list-view"));
}
