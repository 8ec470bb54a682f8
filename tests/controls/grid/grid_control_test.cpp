#include "controls/grid/grid_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/grid/grid_fake_surface.h"
#include "controls/grid/grid_recorders.h"

namespace kelvane {
namespace {

using testing::ColumnTexts;
using testing::FakeSurface;
using testing::RecordingEvents;
using Texts = std::vector<std::string>;

constexpr Modifiers kNone{};
constexpr Modifiers kShift{true, false, false};
constexpr Modifiers kCtrl{false, true, false};
constexpr std::int32_t kLeftHeld = 1;

// Three columns of 100 pixels; a header of 17 pixels and rows of 16, so
// row r of the view lies at y = 17 + 16 r; ten rows fit.
class GridControlTest : public ::testing::Test {
 protected:
  GridControlTest() {
    grid.InitProperties(FontDescription{"Tahoma", 8}, LoadMode::Run);
    grid.SetClientSize(400, 17 + 16 * 10);
    for (const char* heading : {"name", "size", "kind"}) grid.Model().AddColumn(heading, 100, 4);
  }
  void Rows(std::initializer_list<const char*> rows) {
    for (const char* row : rows) grid.Model().AddItem(row);
  }
  void ManyRows(int count) {
    grid.Model().SetRedraw(false);
    for (int i = 0; i < count; ++i) grid.Model().AddItem("row" + std::to_string(i));
    grid.Model().SetRedraw(true);
  }
  static Point Cell(std::int32_t viewRow, std::int32_t col) { return {col * 100 + 50, 17 + 16 * viewRow + 8}; }
  static Point Header(std::int32_t col) { return {col * 100 + 50, 8}; }
  void Click(Point p, Modifiers m = kNone) {
    grid.ButtonDown(MouseButton::Left, p, m);
    grid.ButtonUp(MouseButton::Left, p, m);
  }
  void Key(std::int32_t key, Modifiers m = kNone) { grid.KeyDown(key, m); }
  std::vector<std::int32_t> Selected() const {
    std::vector<std::int32_t> rows;
    for (std::int32_t r = 0; r < grid.Model().ItemCount(); ++r) {
      if (grid.Model().ItemSelected(r)) rows.push_back(r);
    }
    return rows;
  }

  FakeSurface surface;
  RecordingEvents events;
  GridControl grid{surface, &events};
};

TEST_F(GridControlTest, HeaderClicksSortAscendingThenDescendingWithoutColumnClick) {
  grid.SetProperty(GridProperty::ColumnSort, true);
  Rows({"b", "c", "a"});
  Click(Header(0));
  EXPECT_EQ(ColumnTexts(grid.Model(), 0), (Texts{"a", "b", "c"}));
  Click(Header(0));
  EXPECT_EQ(ColumnTexts(grid.Model(), 0), (Texts{"c", "b", "a"}));
  EXPECT_TRUE(events.Starting("ColumnClick").empty());
  EXPECT_EQ(events.Count("SortComplete"), 2);

  grid.SetProperty(GridProperty::ColumnSort, false);
  Click(Header(1));
  EXPECT_EQ(events.Starting("ColumnClick"), (Texts{"ColumnClick:1"}));
  EXPECT_EQ(ColumnTexts(grid.Model(), 0), (Texts{"c", "b", "a"}));
}

TEST_F(GridControlTest, AHeaderClickCountsOnlyWhenReleasedOverTheSameHeader) {
  Rows({"a", "b"});
  grid.ButtonDown(MouseButton::Left, Header(0), kNone);
  EXPECT_TRUE(surface.captured);
  grid.MouseMove(Header(1), kNone, kLeftHeld);
  grid.ButtonUp(MouseButton::Left, Header(1), kNone);
  EXPECT_FALSE(surface.captured);
  EXPECT_TRUE(events.Starting("ColumnClick").empty());
  EXPECT_EQ(grid.PressedHeader(), kNoIndex);
}

TEST_F(GridControlTest, CtrlClickSubSortsRunsAndKeepsTheFirstColumnsOrder) {
  grid.SetProperty(GridProperty::ColumnSort, true);
  Rows({"b\t2", "a\t9", "b\t1", "a\t3", "c\t5"});
  Click(Header(0));
  Click(Header(0));  // descending
  Click(Header(1), kCtrl);
  EXPECT_EQ(ColumnTexts(grid.Model(), 0), (Texts{"c", "b", "b", "a", "a"}));
  EXPECT_EQ(ColumnTexts(grid.Model(), 1), (Texts{"5", "1", "2", "3", "9"}));
  Click(Header(1), kCtrl);
  EXPECT_EQ(ColumnTexts(grid.Model(), 0), (Texts{"c", "b", "b", "a", "a"}));
  EXPECT_EQ(ColumnTexts(grid.Model(), 1), (Texts{"5", "2", "1", "9", "3"}));
  // A plain click on another header starts over without the sub-sort.
  Click(Header(1));
  EXPECT_EQ(grid.Model().SubSortColumn(), kNoIndex);
  EXPECT_EQ(ColumnTexts(grid.Model(), 1), (Texts{"1", "2", "3", "5", "9"}));
}

TEST_F(GridControlTest, RowCheckBoxTakesClicksUpToFourteenPixels) {
  grid.SetProperty(GridProperty::CheckBoxes, true);
  Rows({"a", "b"});
  for (const int x : {0, 14, 15, 40}) {
    SCOPED_TRACE(x);
    const bool before = grid.Model().ItemChecked(1);
    events.raised.clear();
    Click({x, Cell(1, 0).y});
    const bool toggles = x < 15;
    EXPECT_EQ(grid.Model().ItemChecked(1), toggles ? !before : before);
    EXPECT_EQ(events.Starting("ItemChecked"), toggles ? Texts{"ItemChecked:1"} : Texts{});
    EXPECT_EQ(grid.Row(), 1) << "the row is selected either way";
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1}));
  }
}

TEST_F(GridControlTest, CheckBoxCellsToggleInsideTheirBoxUnlessTheOwnerRefuses) {
  grid.Model().SetColType(2, ColumnType::CheckBox);
  grid.Model().SetColAlignment(2, 4);
  Rows({"a\t\t", "b\t\t"});
  const Point inBox{203 + 6, Cell(0, 2).y};
  Click(inBox);
  EXPECT_TRUE(grid.Model().CellChecked(0, 2));
  EXPECT_EQ(events.Starting("RequestEdit"), (Texts{"RequestEdit:0:2"}));
  Click({280, Cell(0, 2).y});
  EXPECT_TRUE(grid.Model().CellChecked(0, 2)) << "outside the box";
  events.refuseEdit = true;
  Click(inBox);
  EXPECT_TRUE(grid.Model().CellChecked(0, 2));
}

TEST_F(GridControlTest, WithOneRowTheMouseMovesRaiseNothingButClicksWork) {
  Rows({"only"});
  grid.MouseMove(Header(1), kNone, 0);
  grid.MouseMove(Cell(0, 1), kNone, 0);
  EXPECT_TRUE(events.Starting("MouseMove").empty());
  EXPECT_EQ(grid.HotHeader(), kNoIndex);
  Click(Cell(0, 1));
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(events.Count("Click"), 1);

  grid.Model().AddItem("second");
  grid.MouseMove(Header(1), kNone, 0);
  EXPECT_EQ(grid.HotHeader(), 1);
  EXPECT_EQ(events.Starting("MouseMove").size(), 1u);
}

TEST_F(GridControlTest, ClicksSelectByTheModifierRules) {
  Rows({"a", "b", "c", "d"});
  struct Case {
    const char* name;
    bool multi;
    std::vector<std::int32_t> before;
    std::int32_t row;
    Modifiers modifiers;
    std::vector<std::int32_t> after;
  };
  const Case cases[] = {
      {"plain click", false, {0}, 2, kNone, {2}},
      {"plain click on a selected row keeps a multiple selection", true, {1, 2}, 2, kNone, {1, 2}},
      {"ctrl adds in multi-select", true, {0}, 2, kCtrl, {0, 2}},
      {"ctrl removes in multi-select", true, {0, 2}, 2, kCtrl, {0}},
      {"ctrl on a selected row in single-select leaves nothing", false, {2}, 2, kCtrl, {}},
      {"ctrl on another row in single-select moves it", false, {1}, 2, kCtrl, {2}},
      {"shift selects from the anchor", true, {1}, 3, kShift, {1, 2, 3}},
      {"shift without multi-select is a plain click", false, {1}, 3, kShift, {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetProperty(GridProperty::MultiSelect, c.multi);
    grid.Model().ClearSelection();
    for (const std::int32_t row : c.before) Click(Cell(row, 0), c.multi ? kCtrl : kNone);
    Click(Cell(c.row, 0), c.modifiers);
    EXPECT_EQ(Selected(), c.after);
    EXPECT_EQ(grid.Row(), c.row);
  }
}

TEST_F(GridControlTest, OtherButtonsSelectTheRowUnderThePointer) {
  grid.SetProperty(GridProperty::MultiSelect, true);
  Rows({"a", "b", "c"});
  Click(Cell(0, 0));
  Click(Cell(1, 0), kCtrl);
  grid.ButtonDown(MouseButton::Right, Cell(2, 1), kNone);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 1);
  grid.ButtonUp(MouseButton::Right, Cell(2, 1), kNone);
  EXPECT_EQ(events.Starting("MouseUp").back(), "MouseUp:2");
}

TEST_F(GridControlTest, LockedOrEmptyGridsIgnoreTheMouse) {
  grid.SetProperty(GridProperty::ColumnSort, true);
  Click(Header(0));
  EXPECT_EQ(events.Count("SortComplete"), 0);
  Rows({"b", "a"});
  grid.SetProperty(GridProperty::Locked, true);
  Click(Cell(1, 1));
  Click(Header(0));
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Col(), kNoIndex);
  EXPECT_EQ(events.Count("SortComplete"), 0);
  EXPECT_FALSE(surface.captured);
}

TEST_F(GridControlTest, IgnoreEmptyKeepsTheCurrentCellOffBlankRows) {
  grid.SetProperty(GridProperty::IgnoreEmpty, true);
  Rows({"a", "  \tx", "c"});
  Click(Cell(1, 1));
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_TRUE(Selected().empty());
  Key(kKeyDown);
  EXPECT_EQ(grid.Row(), 0);
  Click(Cell(2, 0));
  EXPECT_EQ(grid.Row(), 2);
}

TEST_F(GridControlTest, MovementKeysMoveSelectAndScroll) {
  ManyRows(50);
  struct Case {
    const char* name;
    std::int32_t startRow, startCol;
    std::int32_t key;
    Modifiers modifiers;
    std::int32_t row, col;
  };
  const Case cases[] = {
      {"up on the first row", 0, 0, kKeyUp, kNone, 0, 0},
      {"down", 0, 0, kKeyDown, kNone, 1, 0},
      {"down on the last row", 49, 0, kKeyDown, kNone, 49, 0},
      {"page down by the rows that fit", 3, 0, kKeyPageDown, kNone, 13, 0},
      {"page down stops at the last row", 45, 0, kKeyPageDown, kNone, 49, 0},
      {"page up stops at the first row", 4, 0, kKeyPageUp, kNone, 0, 0},
      {"ctrl+end", 3, 1, kKeyEnd, kCtrl, 49, 1},
      {"ctrl+home", 30, 1, kKeyHome, kCtrl, 0, 1},
      {"end goes to the last column", 7, 0, kKeyEnd, kNone, 7, 2},
      {"home goes to the first column", 7, 2, kKeyHome, kNone, 7, 0},
      {"right", 7, 1, kKeyRight, kNone, 7, 2},
      {"right stops at the last column", 7, 2, kKeyRight, kNone, 7, 2},
      {"left stops at the first column", 7, 0, kKeyLeft, kNone, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetTopRow(c.startRow);
    grid.SetCol(c.startCol);
    events.raised.clear();
    EXPECT_TRUE(grid.KeyDown(c.key, c.modifiers));
    EXPECT_EQ(grid.Row(), c.row);
    EXPECT_EQ(grid.Col(), c.col);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{c.row}));
    EXPECT_TRUE(events.Starting("KeyDown").empty()) << "handled keys raise no KeyDown";
    EXPECT_GE(c.row, grid.TopRow()) << "the current row is in view";
    EXPECT_LE(c.row, grid.TopRow() + 9);
  }
}

TEST_F(GridControlTest, ShiftExtendsTheSelectionInMultiSelect) {
  grid.SetProperty(GridProperty::MultiSelect, true);
  ManyRows(30);
  Click(Cell(2, 0));
  Key(kKeyDown, kShift);
  Key(kKeyDown, kShift);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 3, 4}));
  Key(kKeyHome, kShift);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{0, 1, 2}));
  Key(kKeyDown);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1}));
  Key(kKeyA, kCtrl);
  EXPECT_EQ(grid.Model().SelectedCount(), 30);
}

TEST_F(GridControlTest, SpaceTogglesTheRowCheckAndOtherKeysPassToTheOwner) {
  Rows({"a", "b"});
  EXPECT_FALSE(grid.KeyDown(kKeySpace, kNone)) << "without check boxes";
  grid.SetProperty(GridProperty::CheckBoxes, true);
  EXPECT_TRUE(grid.KeyDown(kKeySpace, kNone));
  EXPECT_TRUE(grid.Model().ItemChecked(0));
  EXPECT_FALSE(grid.KeyDown(kKeyA, kNone));
  EXPECT_FALSE(grid.KeyDown(kKeyA, kCtrl)) << "select-all needs MultiSelect";
  grid.KeyUp(kKeySpace, kNone);
  EXPECT_EQ(events.Starting("Key"), (Texts{"KeyDown:32:0", "KeyDown:65:0", "KeyDown:65:2", "KeyUp:32:0"}));
}

TEST_F(GridControlTest, TypeAheadExtendsWithinASecondAndStartsOverAfterIt) {
  Rows({"apple", "banana", "berry", "blueberry", "cherry"});
  grid.Character(U'b', 10'000);
  EXPECT_EQ(grid.Row(), 1);
  grid.Character(U'L', 10'400);
  EXPECT_EQ(grid.TypeAheadText(), "bL");
  EXPECT_EQ(grid.Row(), 3) << "both letters, ignoring case";
  grid.Character(U'c', 11'400);
  EXPECT_EQ(grid.TypeAheadText(), "c");
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{4}));
  grid.Character(U'-', 11'500);
  EXPECT_EQ(grid.TypeAheadText(), "c") << "punctuation does not search";
  EXPECT_EQ(events.Starting("KeyPress"), (Texts{"KeyPress:98", "KeyPress:76", "KeyPress:99", "KeyPress:45"}));
}

TEST_F(GridControlTest, TypeAheadMakesTheFoundRowTheTopRow) {
  ManyRows(40);
  grid.Model().SetCellText(30, 0, "zebra");
  grid.Character(U'z', 1);
  EXPECT_EQ(grid.Row(), 30);
  EXPECT_EQ(grid.TopRow(), 30);
  grid.SetProperty(GridProperty::Enabled, false);
  grid.Character(U'r', 5'000);
  EXPECT_EQ(grid.Row(), 30) << "type-ahead is off while disabled";
}

TEST_F(GridControlTest, EnterEditsAndCommitsEscapeDiscards) {
  grid.SetProperty(GridProperty::Editable, true);
  Rows({"a\tb", "c\td"});
  Click(Cell(1, 1));
  EXPECT_TRUE(grid.WantsDialogKey(kKeyEnter));
  EXPECT_FALSE(grid.WantsDialogKey(kKeyEscape)) << "Escape closes the dialog while nothing is edited";
  Key(kKeyEnter);
  ASSERT_TRUE(surface.editor.has_value());
  EXPECT_EQ(surface.editor->text, "d");
  EXPECT_EQ(surface.editor->rect, (Rect{100, 33, 99, 15}));
  EXPECT_EQ(surface.editor->backColor, 0xC0FFFFu);
  EXPECT_TRUE(grid.WantsDialogKey(kKeyEscape));
  surface.editorText = "changed";
  Key(kKeyEnter);
  EXPECT_FALSE(surface.editor.has_value());
  EXPECT_EQ(grid.Model().CellText(1, 1), "changed");
  EXPECT_EQ(events.Starting("RequestUpdate"), (Texts{"RequestUpdate:1:1:changed"}));

  Key(kKeyEnter);
  surface.editorText = "discarded";
  Key(kKeyEscape);
  EXPECT_FALSE(grid.Editing());
  EXPECT_EQ(grid.Model().CellText(1, 1), "changed");
  grid.Character(U'\r', 0);
  EXPECT_TRUE(events.Starting("KeyPress").empty()) << "Enter and Escape are swallowed";
}

TEST_F(GridControlTest, EditingNeedsAnEditableUnlockedGridAndTheOwnersConsent) {
  Rows({"a", "b"});
  EXPECT_FALSE(grid.ToggleEdit());
  grid.SetProperty(GridProperty::Editable, true);
  grid.SetProperty(GridProperty::Locked, true);
  EXPECT_FALSE(grid.ToggleEdit());
  grid.SetProperty(GridProperty::Locked, false);
  events.refuseEdit = true;
  EXPECT_TRUE(grid.ToggleEdit());
  EXPECT_FALSE(grid.Editing());
  events.refuseEdit = false;
  grid.Model().SetColType(1, ColumnType::CheckBox);
  EXPECT_FALSE(grid.EditCell(0, 1)) << "check boxes are clicked, not edited";
  EXPECT_FALSE(grid.EditCell(5, 0));
  EXPECT_TRUE(grid.EditCell(1, 0));
}

TEST_F(GridControlTest, ARefusedCommitKeepsTheEditOpenAndTheClickDoesNothingElse) {
  grid.SetProperty(GridProperty::Editable, true);
  Rows({"a", "b", "c"});
  Key(kKeyEnter);
  surface.editorText = "bad";
  events.refuseUpdate = true;
  Click(Cell(2, 0));
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_GT(surface.editorFocusRequests, 0) << "the edit box gets the focus back";
  Key(kKeyDown);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Model().CellText(0, 0), "a");
  events.refuseUpdate = false;
  Key(kKeyDown);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Model().CellText(0, 0), "bad");
}

TEST_F(GridControlTest, EditTriggersForClicksF2AndDoubleClicks) {
  grid.SetProperty(GridProperty::Editable, true);
  Rows({"a", "b"});
  grid.SetProperty(GridProperty::EditTrigger, std::int64_t{kEditOnF2});
  EXPECT_FALSE(grid.KeyDown(kKeyEnter, kNone));
  Key(kKeyF2);
  EXPECT_TRUE(grid.Editing());
  Key(kKeyF2);
  EXPECT_FALSE(grid.Editing());

  grid.SetProperty(GridProperty::EditTrigger, std::int64_t{kEditOnClick});
  Click(Cell(1, 0));
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(surface.editor->text, "b");
  Click(Cell(0, 0));
  EXPECT_TRUE(grid.Editing()) << "the click commits the old edit and opens the new one";
  EXPECT_EQ(surface.editor->text, "a");
  grid.CancelEdit();

  grid.SetProperty(GridProperty::EditTrigger, std::int64_t{kEditOnDoubleClick});
  events.raised.clear();
  grid.ButtonDown(MouseButton::Left, Cell(1, 0), kNone);
  grid.ButtonUp(MouseButton::Left, Cell(1, 0), kNone);
  grid.DoubleClick(Cell(1, 0), kNone);
  grid.ButtonUp(MouseButton::Left, Cell(1, 0), kNone);
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(events.Count("Click"), 1);
  EXPECT_EQ(events.Count("DblClick"), 1);
}

TEST_F(GridControlTest, FocusLeavingTheGridCommitsButTheEditBoxIsPartOfIt) {
  grid.SetProperty(GridProperty::Editable, true);
  Rows({"a", "b"});
  grid.FocusGained();
  Key(kKeyEnter);
  surface.editorText = "x";
  grid.FocusLost(FocusTarget::Editor);
  EXPECT_TRUE(grid.Editing());
  EXPECT_TRUE(grid.HasFocus());
  grid.EditorFocusLost(FocusTarget::Grid);
  EXPECT_TRUE(grid.Editing());
  grid.EditorFocusLost(FocusTarget::Elsewhere);
  EXPECT_FALSE(grid.Editing());
  EXPECT_FALSE(grid.HasFocus());
  EXPECT_EQ(grid.Model().CellText(0, 0), "x");
}

TEST_F(GridControlTest, DraggingAColumnEdgeResizesItInNinetySixDpiPixels) {
  grid.SetProperty(GridProperty::AllowUserResizing, std::int64_t{1});
  Rows({"a", "b"});
  grid.MouseMove({98, 8}, kNone, 0);
  EXPECT_EQ(surface.cursor, GridCursor::SizeWestEast);
  grid.ButtonDown(MouseButton::Left, {98, 8}, kNone);
  EXPECT_EQ(grid.ResizingColumn(), 0);
  grid.MouseMove({150, 8}, kNone, kLeftHeld);
  grid.MouseMove({1, 8}, kNone, kLeftHeld);
  grid.MouseMove({60, 8}, kNone, kLeftHeld);
  grid.ButtonUp(MouseButton::Left, {60, 8}, kNone);
  EXPECT_EQ(grid.Model().ColWidthPixels(0), 60);
  EXPECT_EQ(events.Starting("ColumnSizeChanged"), (Texts{"ColumnSizeChanged:0:150", "ColumnSizeChanged:0:60"}));
  EXPECT_EQ(surface.cursor, GridCursor::Arrow);
  EXPECT_TRUE(events.Starting("ColumnClick").empty());

  grid.SetDpi(144);
  grid.MouseMove({88, 8}, kNone, 0);  // column 0 ends at 90
  grid.ButtonDown(MouseButton::Left, {88, 8}, kNone);
  grid.MouseMove({150, 8}, kNone, kLeftHeld);
  grid.ButtonUp(MouseButton::Left, {150, 8}, kNone);
  EXPECT_EQ(grid.Model().ColWidthPixels(0), 100);

  grid.MouseMove({148, 8}, kNone, 0);
  EXPECT_EQ(surface.cursor, GridCursor::SizeWestEast);
  grid.SetProperty(GridProperty::AllowUserResizing, std::int64_t{2});
  grid.MouseMove({148, 8}, kNone, 0);
  EXPECT_EQ(surface.cursor, GridCursor::Arrow);
}

TEST_F(GridControlTest, DragSelectionScrollsWhileThePointerIsOutside) {
  grid.SetProperty(GridProperty::MultiSelect, true);
  ManyRows(40);
  grid.ButtonDown(MouseButton::Left, Cell(2, 0), kNone);
  grid.MouseMove(Cell(5, 0), kNone, kLeftHeld);
  EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 3, 4, 5}));
  grid.MouseMove({50, 17 + 16 * 10 + 30}, kNone, kLeftHeld);
  EXPECT_TRUE(surface.dragTimer);
  for (int tick = 0; tick < 8; ++tick) grid.DragTimer();
  EXPECT_EQ(grid.Row(), 13);
  EXPECT_EQ(grid.TopRow(), 4);
  EXPECT_EQ(grid.Model().SelectedCount(), 12);
  grid.MouseMove(Cell(3, 0), kNone, kLeftHeld);
  EXPECT_FALSE(surface.dragTimer);
  grid.ButtonUp(MouseButton::Left, Cell(3, 0), kNone);
  EXPECT_EQ(grid.Row(), 7);
  EXPECT_EQ(Selected().front(), 2);
  EXPECT_EQ(Selected().back(), 7);
}

TEST_F(GridControlTest, WheelScrollsALinePerNotchAndShiftScrollsColumns) {
  grid.SetClientSize(250, 17 + 16 * 10);
  ManyRows(40);
  grid.Wheel(-kWheelNotch, kNone);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.Wheel(-60, kNone);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.Wheel(-60, kNone);
  EXPECT_EQ(grid.TopRow(), 2) << "two half notches make a line";
  grid.Wheel(3 * kWheelNotch, kNone);
  EXPECT_EQ(grid.TopRow(), 0);
  grid.Wheel(-kWheelNotch, kShift);
  EXPECT_EQ(grid.LeftCol(), 1);
  EXPECT_EQ(events.Count("Scroll"), 4);
  EXPECT_EQ(surface.bars.topRow, 0);
  EXPECT_EQ(surface.bars.leftCol, 1);
}

TEST_F(GridControlTest, ScrollBarRequestsMoveWithinTheRange) {
  ManyRows(40);  // ten rows fit: the top row runs from 0 to 30
  struct Case {
    ScrollCode code;
    std::int32_t thumb;
    std::int32_t from, to;
  };
  const Case cases[] = {
      {ScrollCode::LineDown, 0, 0, 1},       {ScrollCode::LineUp, 0, 0, 0},     {ScrollCode::PageDown, 0, 3, 8},
      {ScrollCode::PageUp, 0, 3, 0},         {ScrollCode::Bottom, 0, 3, 30},    {ScrollCode::Top, 0, 9, 0},
      {ScrollCode::ThumbTrack, 17, 0, 17},   {ScrollCode::ThumbPosition, 99, 0, 30},
      {ScrollCode::PageDown, 0, 28, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    grid.Scroll(ScrollAxis::Vertical, ScrollCode::ThumbPosition, c.from);
    grid.Scroll(ScrollAxis::Vertical, c.code, c.thumb);
    EXPECT_EQ(grid.TopRow(), c.to);
    EXPECT_EQ(surface.bars.topRow, c.to);
  }
  EXPECT_EQ(surface.bars.ranges.maxTopRow, 30);
  EXPECT_TRUE(surface.bars.ranges.verticalShown);
}

TEST_F(GridControlTest, WithoutScrollTrackTheViewWaitsForTheEndOfTheDrag) {
  ManyRows(40);
  grid.SetProperty(GridProperty::ScrollTrack, false);
  const int before = surface.invalidations;
  grid.Scroll(ScrollAxis::Vertical, ScrollCode::ThumbTrack, 12);
  EXPECT_EQ(surface.invalidations, before);
  EXPECT_EQ(grid.TopRow(), 12);
  grid.Scroll(ScrollAxis::Vertical, ScrollCode::EndScroll);
  EXPECT_EQ(surface.invalidations, before + 1);
}

TEST_F(GridControlTest, MouseEnterAndLeaveAreReportedOnce) {
  Rows({"a", "b"});
  grid.MouseEntered();
  grid.MouseEntered();
  EXPECT_EQ(surface.leaveRequests, 1);
  grid.MouseMove(Header(0), kNone, 0);
  EXPECT_EQ(grid.HotHeader(), 0);
  grid.MouseLeft();
  EXPECT_EQ(grid.HotHeader(), kNoIndex);
  grid.MouseEntered();
  EXPECT_EQ(surface.leaveRequests, 2);
  EXPECT_EQ(events.Starting("Mouse"), (Texts{"MouseEnter", "MouseMove:0:50:8", "MouseLeave", "MouseEnter"}));
}

TEST(GridControlInput, DegenerateGridsTakeEveryInputWithoutError) {
  struct Case {
    const char* name;
    int width, height;
    std::function<void(GridModel&)> build;
  };
  const Case cases[] = {
      {"one empty column", 300, 200, [](GridModel&) {}},
      {"columns but no rows", 300, 200, [](GridModel& m) { m.AddColumn("a", 100); }},
      {"zero-width columns", 300, 200,
       [](GridModel& m) {
         m.AddColumn("a", 0);
         m.AddColumn("b", 0);
         for (int i = 0; i < 5; ++i) m.AddItem("x\ty");
       }},
      {"hidden columns", 300, 200,
       [](GridModel& m) {
         m.AddColumn("a", 100);
         for (int i = 0; i < 5; ++i) m.AddItem("x");
         m.SetColVisible(0, false);
       }},
      {"smaller than a row", 30, 8,
       [](GridModel& m) {
         m.AddColumn("a", 100);
         for (int i = 0; i < 5; ++i) m.AddItem("x");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSurface surface;
    GridControl grid(surface);
    grid.InitProperties(FontDescription{"Tahoma", 8}, LoadMode::Run);
    for (const GridProperty id : {GridProperty::Editable, GridProperty::MultiSelect, GridProperty::CheckBoxes,
                                  GridProperty::ColumnSort}) {
      grid.SetProperty(id, true);
    }
    grid.SetProperty(GridProperty::AllowUserResizing, std::int64_t{1});
    grid.SetClientSize(c.width, c.height);
    c.build(grid.Model());
    EXPECT_NO_THROW({
      for (const Point p : {Point{0, 0}, Point{5, 5}, Point{1, 25}, Point{150, 40}, Point{-20, -20}, Point{500, 900}}) {
        grid.MouseMove(p, kNone, 0);
        grid.ButtonDown(MouseButton::Left, p, kNone);
        grid.MouseMove({p.x + 30, p.y + 300}, kShift, kLeftHeld);
        grid.DragTimer();
        grid.ButtonUp(MouseButton::Left, p, kNone);
        grid.DoubleClick(p, kCtrl);
        grid.ButtonUp(MouseButton::Left, p, kNone);
        grid.ButtonDown(MouseButton::Right, p, kNone);
      }
      for (const std::int32_t key : {kKeyDown, kKeyUp, kKeyPageDown, kKeyPageUp, kKeyHome, kKeyEnd, kKeyLeft, kKeyRight,
                                     kKeySpace, kKeyA, kKeyF2, kKeyEnter, kKeyEscape}) {
        grid.KeyDown(key, kNone);
        grid.KeyDown(key, kCtrl);
        grid.KeyDown(key, kShift);
      }
      grid.Character(U'x', 0);
      grid.Wheel(-kWheelNotch, kNone);
      grid.Wheel(kWheelNotch, kShift);
      for (const ScrollCode code : {ScrollCode::LineDown, ScrollCode::PageDown, ScrollCode::Bottom, ScrollCode::Top}) {
        grid.Scroll(ScrollAxis::Vertical, code);
        grid.Scroll(ScrollAxis::Horizontal, code);
      }
      grid.PlanPaint();
    });
    EXPECT_LE(grid.Row(), grid.Model().ItemCount() - 1);
    EXPECT_FALSE(surface.captured);
  }
}

TEST_F(GridControlTest, OutOfRangeIndexesThrowAndChangeNothing) {
  Rows({"a", "b"});
  EXPECT_THROW(grid.SetTopRow(2), std::out_of_range);
  EXPECT_THROW(grid.SetRow(-2), std::out_of_range);
  EXPECT_THROW(grid.SetCol(3), std::out_of_range);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Col(), kNoIndex);
  std::int32_t col = 7, row = 7;
  EXPECT_EQ(grid.HitTest(50, 33, &col, &row), "b");
  EXPECT_EQ(col, 0);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(grid.HitTest(50, 5, &col, &row), "");
  EXPECT_EQ(col, kNoIndex);
  EXPECT_EQ(row, kNoIndex);
}

}  // namespace
}  // namespace kelvane
