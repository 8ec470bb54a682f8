#pragma once
// What the grid model tells the world: GridView is the window that shows the
// model (implemented by the Win32 control), GridEvents are the control's
// events as its owner receives them. Every method has a no-op default so a
// listener overrides only what it handles.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

class GridView {
 public:
  virtual ~GridView() = default;
  // Font metrics and the base row height.
  virtual void RecomputeMetrics() {}
  virtual void RecomputeScrollBars() {}
  // Paints everything (DrawGrid); the model has already decided that
  // painting is due.
  virtual void Paint() {}
  // Commits an in-place edit in progress; false when the owner refused it,
  // in which case a sort must not run.
  virtual bool UpdateCell() { return true; }
  // Clear forgets a pressed or hot header, a column resize and a drag.
  virtual void ResetPointerState() {}
};

// Images attached to the grid; a row may name its image by key.
class GridImageList {
 public:
  virtual ~GridImageList() = default;
  virtual std::optional<std::int32_t> IndexOfKey(std::string_view key) const = 0;
};

// The events in their declared (dispatch) order. Mouse positions are in the
// control's ScaleUnits.
class GridEvents {
 public:
  virtual ~GridEvents() = default;
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(std::int32_t /*keyCode*/, std::int32_t /*shift*/) {}
  virtual void KeyPress(std::int32_t /*character*/) {}
  virtual void KeyUp(std::int32_t /*keyCode*/, std::int32_t /*shift*/) {}
  virtual void MouseDown(std::int32_t /*button*/, std::int32_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseMove(std::int32_t /*button*/, std::int32_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseUp(std::int32_t /*button*/, std::int32_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void ColumnClick(std::int32_t /*col*/) {}
  virtual void ColumnSizeChanged(std::int32_t /*col*/, std::int32_t /*widthPixels*/) {}
  // Compares two cells of a custom column. Set placeBefore when the row being
  // placed belongs before the other row in the given order. The grid stays
  // sound even when the answers contradict each other; the handler must not
  // change the grid while it sorts.
  virtual void CustomSort(bool /*ascending*/, std::int32_t /*col*/, const std::string& /*placedText*/,
                          const std::string& /*otherText*/, bool& /*placeBefore*/) {}
  virtual void ItemChecked(std::int32_t /*row*/) {}
  virtual void ItemCountChanged() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void RowColChanged() {}
  virtual void Scroll() {}
  virtual void SelectionChanged() {}
  virtual void SortComplete() {}
  virtual void ThemeChanged() {}
  virtual void EnterCell() {}
  virtual void RequestEdit(std::int32_t /*row*/, std::int32_t /*col*/, bool& /*cancel*/) {}
  virtual void RequestUpdate(std::int32_t /*row*/, std::int32_t /*col*/, std::string& /*newText*/, bool& /*cancel*/) {}
  // A lowered lastRow limits the rows painted.
  virtual void BeforeDrawGrid(std::int32_t& /*firstRow*/, std::int32_t& /*lastRow*/) {}
  virtual void BeforeDrawText(std::int32_t& /*storageRow*/, std::int32_t& /*col*/, std::string& /*text*/) {}
  virtual void AfterDrawGrid() {}
};

}  // namespace kelvane
