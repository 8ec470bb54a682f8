#include "controls/grid/grid_paint.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "controls/grid/grid_format.h"

namespace kelvane {
namespace {

class Planner {
 public:
  Planner(GridModel& model, const GridProperties& properties, const PaintState& state, GridEvents& events,
          std::vector<PaintStep>& steps)
      : model_(model),
        p_(properties),
        state_(state),
        m_(state.metrics),
        events_(events),
        steps_(steps),
        spans_(ShownColumns(model, state.view.leftCol, state.metrics.dpi)),
        gridWidth_(GridWidth(spans_)) {}

  void Run() {
    steps_.clear();
    steps_.push_back(FillStep{{0, 0, state_.view.width, state_.view.height}, p_.backColorBkg});
    for (const ColumnSpan& span : spans_) Header(span);

    std::int32_t first = state_.view.topRow;
    std::int32_t last = LastRowInView(state_.view, m_, model_.ItemCount());
    events_.BeforeDrawGrid(first, last);
    // The owner may only narrow what is drawn.
    first = std::max(first, state_.view.topRow);
    last = std::min(last, LastRowInView(state_.view, m_, model_.ItemCount()));
    if (last < first) last = first - 1;

    for (std::int32_t row = first; row <= last; ++row) Row(row, row - first);
    steps_.push_back(ClipStep{});
    const int rowsBottom = RowTop(last + 1, state_.view, m_);
    GridLines(first, last, rowsBottom);
    Focus(last);
    events_.AfterDrawGrid();
  }

 private:
  HeaderLook LookOf(std::int32_t col) const {
    if (col == state_.pressedHeader) return HeaderLook::Pressed;
    if (col == state_.hotHeader && p_.hotHeaderTracking) return HeaderLook::Hot;
    return HeaderLook::Normal;
  }

  void Header(const ColumnSpan& span) {
    const Rect cell{span.left, 0, span.width + 1, m_.headerHeight};
    steps_.push_back(FillStep{cell, p_.backColorFixed});
    steps_.push_back(HeaderStep{cell, p_.themeStyle, LookOf(span.col)});
    const bool sort = span.col == model_.SortColumn();
    const bool subSort = span.col == model_.SubSortColumn();
    std::vector<ArrowLine> arrow;
    if (sort || subSort) {
      arrow = SortArrow(span, model_.ColSortOrder(span.col) == kSortAscending, subSort, m_.dpi);
    }
    for (const ArrowLine& line : arrow) {
      steps_.push_back(LineStep{line.x, line.y, line.x + line.length, line.y, 1, kSystemButtonShadow});
    }
    const std::string& heading = model_.ColHeading(span.col);
    if (!heading.empty()) {
      const auto alignment = static_cast<std::uint32_t>(model_.ColAlignment(span.col));
      steps_.push_back(TextStep{HeaderTextRect(span, m_.headerHeight, !arrow.empty(), m_.dpi), heading,
                                model_.ForeColor(), alignment | m_.textFlags, 0});
    }
  }

  void Row(std::int32_t row, std::int32_t position) {
    const int top = RowTop(row, state_.view, m_);
    // The row's background spans all its cells; the last cell's clip would cut it off.
    if (row != state_.view.topRow) steps_.push_back(ClipStep{});
    const bool selected = DrawnSelected(model_.ItemSelected(row), p_.fullRowSelect, model_.MultiSelect());
    const bool firstColumnShown = !spans_.empty() && spans_.front().col == 0;
    if (selected) {
      int selectionLeft = 0;
      if (firstColumnShown) {
        selectionLeft = std::min(m_.textLeft, gridWidth_);
        steps_.push_back(FillStep{{0, top, selectionLeft, m_.rowHeight}, model_.BackColor()});
      }
      steps_.push_back(FillStep{{selectionLeft, top, gridWidth_ - selectionLeft, m_.rowHeight}, p_.backColorSel});
    } else {
      steps_.push_back(FillStep{{0, top, gridWidth_, m_.rowHeight}, Striped(model_.BackColor(), position)});
    }
    for (const ColumnSpan& span : spans_) Cell(row, span, top, selected);
  }

  OleColor Striped(OleColor fill, std::int32_t position) const {
    return StripeColor(fill, model_.BackColor(), p_.striped, position, p_.stripeColor1, p_.stripeColor2);
  }

  void Cell(std::int32_t row, const ColumnSpan& span, int top, bool selected) {
    if (span.width <= 0) return;
    const Rect cell{span.left, top, span.width, m_.rowHeight};
    steps_.push_back(ClipStep{cell});
    const std::int32_t col = span.col;
    if (col == 0 && model_.CheckBoxes()) {
      const Rect box = RowCheckBoxRect(m_);
      steps_.push_back(CheckBoxStep{{cell.left + box.left, top + box.top, box.width, box.height},
                                    model_.ItemChecked(row)});
    }
    if (col == 0 && state_.hasImages) {
      steps_.push_back(ImageStep{cell.left + m_.imageLeft, top + m_.imageTop, std::abs(model_.ItemImage(row))});
    }
    // A row added before this column existed has no cell in it.
    if (col >= model_.RowCellCount(row)) return;

    OleColor textColor = p_.foreColorSel;
    if (!selected) {
      const OleColor back = model_.CellBackColor(row, col);
      if (back != model_.BackColor()) steps_.push_back(FillStep{cell, back});
      textColor = model_.CellForeColor(row, col);
    }
    const ColumnType type = model_.ColType(col);
    if (type == ColumnType::CheckBox) {
      steps_.push_back(CheckBoxStep{CellCheckBoxRect(cell, model_.CellAlignment(row, col), m_),
                                    model_.CellChecked(row, col)});
      // The box is the cell's content; text would run under it.
      return;
    }
    std::uint8_t fontStyle = 0;
    if (type == ColumnType::Progress) {
      steps_.push_back(ProgressStep{ProgressBarIn(cell, model_.CellProgressValue(row, col), m_.dpi),
                                    p_.progressBarColor});
    } else {
      fontStyle = static_cast<std::uint8_t>(model_.RowCellCount(row) > col ? CellFontStyle(row, col) : 0);
    }
    Text(row, col, cell, textColor, fontStyle);
  }

  std::uint8_t CellFontStyle(std::int32_t row, std::int32_t col) const {
    std::uint8_t style = 0;
    if (model_.CellFontBold(row, col)) style |= kCellBold;
    if (model_.CellFontItalic(row, col)) style |= kCellItalic;
    if (model_.CellFontUnderline(row, col)) style |= kCellUnderline;
    return style;
  }

  void Text(std::int32_t row, std::int32_t col, const Rect& cell, OleColor color, std::uint8_t fontStyle) {
    const std::string& format = model_.ColFormat(col);
    if (!format.empty()) {
      std::string formatted = FormatCellText(model_.CellText(row, col), format);
      if (formatted != model_.CellText(row, col)) model_.StoreDrawnText(row, col, std::move(formatted));
    }
    std::int32_t storage = model_.StorageIndex(row);
    std::int32_t eventCol = col;
    std::string text = model_.CellText(row, col);
    events_.BeforeDrawText(storage, eventCol, text);
    if (text != model_.CellText(row, col)) model_.StoreDrawnText(row, col, std::move(text));
    const std::string& drawn = model_.CellText(row, col);
    if (drawn.empty()) return;
    const int left = cell.left + (col == 0 ? m_.textLeft : m_.textInset);
    const int right = cell.right() - m_.textInset;
    if (right <= left) return;
    const auto alignment = static_cast<std::uint32_t>(model_.CellAlignment(row, col));
    steps_.push_back(
        TextStep{{left, cell.top, right - left, cell.height}, drawn, color, alignment | m_.textFlags, fontStyle});
  }

  void GridLines(std::int32_t first, std::int32_t last, int rowsBottom) {
    if (!p_.gridLines || spans_.empty()) return;
    const int width = p_.gridLineWidth;
    const int top = m_.headerHeight;
    for (std::int32_t row = first; row <= last; ++row) {
      const int y = RowTop(row, state_.view, m_) + m_.rowHeight - 1;
      steps_.push_back(LineStep{0, y, gridWidth_, y, width, p_.gridColor});
    }
    if (rowsBottom <= top) return;
    for (const ColumnSpan& span : spans_) {
      if (span.width <= 0) continue;
      const int x = span.right() - 1;
      steps_.push_back(LineStep{x, top, x, rowsBottom, width, p_.gridColor});
    }
  }

  void Focus(std::int32_t lastDrawn) {
    const FocusInput focus{state_.hasFocus, p_.focusRectMode, p_.fullRowSelect, model_.Row(), model_.Col()};
    if (const std::optional<Rect> rect = FocusRectangle(focus, spans_, state_.view, m_, lastDrawn)) {
      steps_.push_back(FocusStep{*rect, p_.focusRectStyle, p_.focusRectColor});
    }
  }

  GridModel& model_;
  const GridProperties& p_;
  const PaintState& state_;
  const GridMetrics& m_;
  GridEvents& events_;
  std::vector<PaintStep>& steps_;
  const std::vector<ColumnSpan> spans_;
  const int gridWidth_;
};

}  // namespace

void PlanPaint(GridModel& model, const GridProperties& properties, const PaintState& state, GridEvents& events,
               std::vector<PaintStep>& steps) {
  Planner(model, properties, state, events, steps).Run();
}

}  // namespace kelvane
