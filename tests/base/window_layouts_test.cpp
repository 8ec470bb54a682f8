#include "base/window_layouts.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

template <typename Id>
void ExpectInsideTheBodyAndApart(const WindowLayout<Id>& layout) {
  std::vector<LayoutSlot<Id>> boxes;
  for (const LayoutSlot<Id>& slot : layout.slots) {
    const int id = static_cast<int>(slot.id);
    EXPECT_GE(slot.rect.left, 0) << id;
    EXPECT_LE(slot.rect.right(), layout.width) << id;
    // Drop-down lists reserve room for their list below the box.
    if (slot.dropDown) continue;
    EXPECT_LE(slot.rect.bottom(), layout.height) << id;
    boxes.push_back(slot);
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const Rect& a = boxes[i].rect;
      const Rect& b = boxes[j].rect;
      const bool overlap = a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
      EXPECT_FALSE(overlap) << static_cast<int>(boxes[i].id) << " overlaps " << static_cast<int>(boxes[j].id);
    }
  }
}

TEST(WindowLayouts, ControlsStayInsideTheBodyAndDoNotOverlapAtAnyScale) {
  for (int dpi : {96, 144, 192}) {
    SCOPED_TRACE(dpi);
    ExpectInsideTheBodyAndApart(MainWindowLayout(dpi));
    ExpectInsideTheBodyAndApart(PromptLayout(dpi));
  }
}

}  // namespace
}  // namespace kelvane
