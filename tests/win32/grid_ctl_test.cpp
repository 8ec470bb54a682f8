// The grid control in a real window, driven by real mouse and keyboard input
// (xdotool), with every check made on the model afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "controls/grid/grid_ctl_win32.h"
#include "controls/grid/grid_recorders.h"
#include "fakes/fake_hook_system.h"
#include "win32/grid_real_input.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::ColumnTexts;
using testing::PumpUntil;
using testing::RealInput;
using testing::RecordingEvents;
using testing::RecordingReporter;
using testing::RegisterTestWindowClass;
using Texts = std::vector<std::string>;

constexpr int kWidth = 420;
constexpr int kHeight = 240;
// A text box under the grid, somewhere else for the focus to go.
constexpr int kOtherHeight = 24;

class GridWine : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestWindowClass(L"KelvaneGridTestHost", DefWindowProcW);
    host_.reset(CreateWindowExW(0, L"KelvaneGridTestHost", L"Kelvane grid test", WS_POPUP | WS_VISIBLE, 60, 60,
                                kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(host_.get(), nullptr);
    grid_ = std::make_unique<GridCtl>(&events, reporter);
    ASSERT_TRUE(grid_->Create(host_.get(), 1, RECT{0, 0, kWidth, kHeight - kOtherHeight}));
    other_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, kHeight - kOtherHeight, kWidth,
                             kOtherHeight, host_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    GridModel& model = Model();
    model.AddColumn("Name", 150, 4);
    model.AddColumn("Size", 100, 6, ColumnType::Number);
    model.AddColumn("Kind", 100, 4);
    SetForegroundWindow(host_.get());
    SetFocus(grid_->hwnd());
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == grid_->hwnd() && Control().HasFocus(); }));
  }
  void TearDown() override {
    grid_.reset();
    host_.reset();
    EXPECT_TRUE(reporter.reports.empty()) << reporter.reports.front();
  }

  GridControl& Control() { return grid_->Control(); }
  GridModel& Model() { return grid_->Model(); }
  void Rows(std::initializer_list<const char*> rows) {
    for (const char* row : rows) Model().AddItem(row);
  }

  // Screen points of the grid's parts, from its own layout.
  POINT Screen(int x, int y) {
    POINT p{x, y};
    ClientToScreen(grid_->hwnd(), &p);
    return p;
  }
  const ColumnSpan& Span(std::int32_t col) {
    spans_ = ShownColumns(Model(), Control().LeftCol(), Control().Dpi());
    return *FindSpan(spans_, col);
  }
  POINT HeaderPoint(std::int32_t col) { return Screen(Span(col).left + Span(col).width / 2, Control().Metrics().headerHeight / 2); }
  POINT CellPoint(std::int32_t row, std::int32_t col, int x = -1) {
    const int left = x >= 0 ? Span(col).left + x : Span(col).left + Span(col).width / 2;
    return Screen(left, Control().RowTop(row) + Control().Metrics().rowHeight / 2);
  }
  // Waits for the grid to show what `done` expects; input arrives through
  // the message queue some time after xdotool returns.
  bool Until(const std::function<bool()>& done) { return PumpUntil(done, std::chrono::seconds(5)); }

  RecordingEvents events;
  RecordingReporter reporter;
  RealInput input;
  UniqueWindow host_;
  std::unique_ptr<GridCtl> grid_;
  HWND other_ = nullptr;
  std::vector<ColumnSpan> spans_;
};

TEST_F(GridWine, HeaderClicksSortAscendingThenDescendingAndCtrlAddsTheSubSort) {
  Control().SetProperty(GridProperty::ColumnSort, true);
  Rows({"pear\t3", "apple\t9", "pear\t1", "fig\t5", "apple\t2"});
  ASSERT_TRUE(input.ClickAt(HeaderPoint(0)));
  ASSERT_TRUE(Until([&] { return events.Count("SortComplete") == 1; }));
  EXPECT_EQ(ColumnTexts(Model(), 0), (Texts{"apple", "apple", "fig", "pear", "pear"}));
  ASSERT_TRUE(input.ClickAt(HeaderPoint(0)));
  ASSERT_TRUE(Until([&] { return events.Count("SortComplete") == 2; }));
  EXPECT_EQ(ColumnTexts(Model(), 0), (Texts{"pear", "pear", "fig", "apple", "apple"}));

  ASSERT_TRUE(input.ClickAt(HeaderPoint(1), 1, "ctrl"));
  ASSERT_TRUE(Until([&] { return events.Count("SortComplete") == 3; }));
  EXPECT_EQ(ColumnTexts(Model(), 0), (Texts{"pear", "pear", "fig", "apple", "apple"}));
  EXPECT_EQ(ColumnTexts(Model(), 1), (Texts{"1", "3", "5", "2", "9"}));
  EXPECT_TRUE(events.Starting("ColumnClick").empty());
}

TEST_F(GridWine, DraggingAColumnEdgeResizesTheColumn) {
  Control().SetProperty(GridProperty::AllowUserResizing, std::int64_t{1});
  Rows({"a\t1", "b\t2"});
  // Grabbed a pixel inside the edge, the column ends where the pointer lets go.
  const int edge = Span(0).right() - 1;
  const int y = Control().Metrics().headerHeight / 2;
  ASSERT_TRUE(input.Drag(Screen(edge, y), Screen(edge + 60, y)));
  // The drag ends with the button.
  ASSERT_TRUE(Until([&] { return Model().ColWidthPixels(0) == edge + 60 && Control().ResizingColumn() == kNoIndex; }))
      << Model().ColWidthPixels(0);
  EXPECT_FALSE(events.Starting("ColumnSizeChanged").empty());
  EXPECT_EQ(Span(1).left, edge + 60);
}

TEST_F(GridWine, RowCheckBoxTakesTheClickAtFourteenPixelsButNotAtFifteen) {
  Control().SetProperty(GridProperty::CheckBoxes, true);
  Rows({"a", "b", "c"});
  ASSERT_TRUE(input.ClickAt(CellPoint(1, 0, 14)));
  ASSERT_TRUE(Until([&] { return Model().ItemChecked(1); }));
  EXPECT_EQ(events.Starting("ItemChecked"), (Texts{"ItemChecked:1"}));
  ASSERT_TRUE(input.ClickAt(CellPoint(2, 0, 15)));
  ASSERT_TRUE(Until([&] { return Control().Row() == 2; }));
  EXPECT_FALSE(Model().ItemChecked(2));
  EXPECT_TRUE(Model().ItemSelected(2));
}

TEST_F(GridWine, NavigationKeysMoveTheCurrentRow) {
  Model().SetRedraw(false);
  for (int i = 0; i < 60; ++i) Model().AddItem("row " + std::to_string(i) + "\t" + std::to_string(i));
  Model().SetRedraw(true);
  const std::int32_t page = FullyVisibleRows(Control().View(), Control().Metrics());
  struct Step {
    const char* keys;
    std::int32_t row;
    std::int32_t col;
  };
  const Step steps[] = {
      {"Down Down Down", 3, kNoIndex},
      {"Up", 2, kNoIndex},
      {"Next", 2 + page, kNoIndex},
      {"End", 2 + page, 2},
      {"Home", 2 + page, 0},
      {"ctrl+End", 59, 0},
      {"Prior", 59 - page, 0},
      {"ctrl+Home", 0, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.keys);
    ASSERT_TRUE(input.Keys(step.keys));
    EXPECT_TRUE(Until([&] { return Control().Row() == step.row && Control().Col() == step.col; }))
        << "row " << Control().Row() << " col " << Control().Col();
    EXPECT_GE(Control().Row(), Control().TopRow());
    EXPECT_LT(Control().Row(), Control().TopRow() + page);
  }
}

TEST_F(GridWine, TwoLettersTypedQuicklyFindTheRow) {
  Rows({"alpha", "beta", "bravo", "charlie", "delta"});
  ASSERT_TRUE(input.Type("br"));
  ASSERT_TRUE(Until([&] { return Control().Row() == 2; })) << Control().Row();
  EXPECT_EQ(Control().TypeAheadText(), "br");
}

TEST_F(GridWine, EnterEditsTheCellEnterCommitsEscapeCancels) {
  Control().SetProperty(GridProperty::Editable, true);
  Rows({"first\t1", "second\t2"});
  ASSERT_TRUE(input.ClickAt(CellPoint(1, 0)));
  ASSERT_TRUE(Until([&] { return Control().Row() == 1 && Control().Col() == 0; }));

  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return Control().Editing() && GetFocus() == grid_->EditBox(); }));
  EXPECT_TRUE(IsWindowVisible(grid_->EditBox()));
  ASSERT_TRUE(input.Type("renamed"));
  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return !Control().Editing(); }));
  EXPECT_EQ(Model().CellText(1, 0), "renamed");
  EXPECT_EQ(events.Starting("RequestUpdate"), (Texts{"RequestUpdate:1:0:renamed"}));
  EXPECT_FALSE(IsWindowVisible(grid_->EditBox()));
  EXPECT_EQ(GetFocus(), grid_->hwnd()) << "the focus comes back to the grid";

  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return Control().Editing(); }));
  ASSERT_TRUE(input.Type("dropped"));
  ASSERT_TRUE(input.Keys("Escape"));
  ASSERT_TRUE(Until([&] { return !Control().Editing(); }));
  EXPECT_EQ(Model().CellText(1, 0), "renamed");
}

TEST_F(GridWine, ClickingAnotherControlCommitsTheEditAndKeepsTheFocusThere) {
  Control().SetProperty(GridProperty::Editable, true);
  Rows({"first", "second"});
  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return GetFocus() == grid_->EditBox(); }));
  ASSERT_TRUE(input.Type("typed"));
  RECT box{};
  GetWindowRect(other_, &box);
  ASSERT_TRUE(input.ClickAt({box.left + 20, (box.top + box.bottom) / 2}));
  ASSERT_TRUE(Until([&] { return !Control().Editing() && GetFocus() == other_; }));
  EXPECT_EQ(Model().CellText(0, 0), "typed");
  EXPECT_FALSE(Control().HasFocus());
}

TEST_F(GridWine, ABoundControlEditsInPlaceOfTheEditBox) {
  Control().SetProperty(GridProperty::Editable, true);
  Rows({"first\tone", "second\ttwo"});
  // A control of the dialog, hidden until the grid needs it.
  const UniqueWindow outside(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER, 0, 0, 80, 20, host_.get(), nullptr,
                                             GetModuleHandleW(nullptr), nullptr));
  grid_->BindControl(1, outside.get(), 1);
  ASSERT_TRUE(input.ClickAt(CellPoint(1, 1)));
  ASSERT_TRUE(Until([&] { return Control().Row() == 1 && Control().Col() == 1; }));
  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return GetFocus() == outside.get(); }));
  EXPECT_EQ(GetParent(outside.get()), grid_->hwnd()) << "moved into the grid";
  EXPECT_TRUE(IsWindowVisible(outside.get()));
  EXPECT_FALSE(IsWindowVisible(grid_->EditBox()));
  ASSERT_TRUE(input.Type("bound"));
  ASSERT_TRUE(input.Keys("Return"));
  ASSERT_TRUE(Until([&] { return !Control().Editing(); }));
  EXPECT_EQ(Model().CellText(1, 1), "bound");
  EXPECT_FALSE(IsWindowVisible(outside.get()));
}

TEST_F(GridWine, AnyTextPaintsAndTheGridKeepsWorking) {
  Rows({"\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7\tArabic", "\xF0\x9F\x98\x80 \xF0\x9F\x91\x8D\temoji",
        "e\xCC\x81\xCC\x82\xCC\x83\tcombining", "\tempty", "\xFF\xFE broken UTF-8\t"});
  Model().AddItem(std::string(1 << 20, 'x') + "\tlong");
  Model().AddColumn("", 0);  // no width at all
  const int before = events.Count("AfterDrawGrid");
  InvalidateRect(grid_->hwnd(), nullptr, FALSE);
  UpdateWindow(grid_->hwnd());
  EXPECT_EQ(events.Count("AfterDrawGrid"), before + 1);
  ASSERT_TRUE(input.Keys("ctrl+End"));
  ASSERT_TRUE(Until([&] { return Control().Row() == 5; }));
}

TEST_F(GridWine, TheWheelScrollsALinePerNotch) {
  Model().SetRedraw(false);
  for (int i = 0; i < 60; ++i) Model().AddItem("row " + std::to_string(i));
  Model().SetRedraw(true);
  ASSERT_TRUE(input.ClickAt(CellPoint(1, 1), 5));
  ASSERT_TRUE(Until([&] { return Control().TopRow() == 1; })) << Control().TopRow();
  ASSERT_TRUE(input.Xdotool("click --repeat 3 --delay 30 5"));
  ASSERT_TRUE(Until([&] { return Control().TopRow() == 4; })) << Control().TopRow();
  ASSERT_TRUE(input.ClickAt(CellPoint(Control().TopRow(), 1), 4));
  ASSERT_TRUE(Until([&] { return Control().TopRow() == 3; })) << Control().TopRow();
  EXPECT_EQ(events.Count("Scroll"), 5);
}

// At design time the grid shows itself and nothing more: its window is not
// hooked, so it neither scrolls nor tracks the focus.
TEST(GridDesignWine, ADesignTimeGridIsNotHooked) {
  RegisterTestWindowClass(L"KelvaneGridTestHost", DefWindowProcW);
  const UniqueWindow host(CreateWindowExW(0, L"KelvaneGridTestHost", L"Kelvane grid design", WS_POPUP | WS_VISIBLE,
                                          60, 60, 300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  RecordingReporter reporter;
  GridCtl grid(nullptr, reporter);
  ASSERT_TRUE(grid.Create(host.get(), 1, RECT{0, 0, 300, 120}, LoadMode::Design));
  for (int i = 0; i < 40; ++i) grid.Model().AddItem("row");
  SetFocus(grid.hwnd());
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.Control().TopRow(), 0);
  EXPECT_FALSE(grid.Control().HasFocus());
  EXPECT_FALSE(grid.Control().RunTime());

  MemoryPropertyBag bag;
  grid.ReadProperties(bag, LoadMode::Run);
  SetFocus(nullptr);
  SetFocus(grid.hwnd());
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.Control().TopRow(), 1) << "hooked once it runs";
  EXPECT_TRUE(grid.Control().HasFocus());
  EXPECT_TRUE(reporter.reports.empty());
}

}  // namespace
}  // namespace kelvane
