#include "base/window_layouts.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

// Controls that take turns in one place: the main window's program list
// stands where the minutes of "Idle for" stand.
template <typename Id>
bool TakeTurns(Id a, Id b) {
  if constexpr (std::is_same_v<Id, MainControl>) {
    using enum MainControl;
    const auto isMinutes = [](MainControl id) { return id == txtCondMinutes || id == vsCondMinutes || id == lblCondMinutes; };
    return (a == cmbProgram && isMinutes(b)) || (b == cmbProgram && isMinutes(a));
  }
  return false;
}

template <typename Id>
void ExpectInsideTheBodyAndApart(const WindowLayout<Id>& layout) {
  for (const LayoutSlot<Id>& slot : layout.slots) {
    const int id = static_cast<int>(slot.id);
    EXPECT_GE(slot.rect.left, 0) << id;
    EXPECT_LE(slot.rect.right(), layout.width) << id;
    EXPECT_LE(slot.rect.bottom(), layout.height) << id;
  }
  for (std::size_t i = 0; i < layout.slots.size(); ++i) {
    for (std::size_t j = i + 1; j < layout.slots.size(); ++j) {
      const Rect& a = layout.slots[i].rect;
      const Rect& b = layout.slots[j].rect;
      const bool overlap = a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom() &&
                           !TakeTurns(layout.slots[i].id, layout.slots[j].id);
      EXPECT_FALSE(overlap) << static_cast<int>(layout.slots[i].id) << " overlaps "
                            << static_cast<int>(layout.slots[j].id);
    }
  }
}

constexpr int kDpis[] = {96, 120, 144, 168, 192};

TEST(WindowLayouts, ControlsStayInsideTheBodyAndDoNotOverlapAtAnyScale) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    ExpectInsideTheBodyAndApart(MainWindowLayout(dpi));
    ExpectInsideTheBodyAndApart(PromptLayout(dpi));
    ExpectInsideTheBodyAndApart(AboutLayout(dpi));
  }
}

template <typename Id>
void ExpectOneRow(const WindowLayout<Id>& layout, std::initializer_list<Id> row) {
  const Rect first = layout.at(*row.begin());
  for (const Id id : row) {
    EXPECT_EQ(layout.at(id).top, first.top) << static_cast<int>(id);
    EXPECT_EQ(layout.at(id).height, first.height) << static_cast<int>(id);
  }
}

TEST(WindowLayouts, BoxesListsSpinsAndTheirLabelsOnOneRowShareTopAndHeight) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    using enum MainControl;
    const auto main = MainWindowLayout(dpi);
    ExpectOneRow(main, {lblAction, cmbAction});
    ExpectOneRow(main, {optIn, txtPeriod, vsPeriod, cmbUnit});
    ExpectOneRow(main, {optAt, txtHour, vsHour, txtMin, vsMin, cmbT});
    ExpectOneRow(main, {chkBlink, txtBlink, vsBlink, lblSeconds});
    ExpectOneRow(main, {lblRepeat, chkRepeat0, chkRepeat1, chkRepeat2, chkRepeat3, chkRepeat4, chkRepeat5, chkRepeat6});
    ExpectOneRow(main, {optWhen, cmbCondition, txtCondMinutes, vsCondMinutes, lblCondMinutes, cmbProgram});
    const auto prompt = PromptLayout(dpi);
    ExpectOneRow(prompt, {PromptControl::Label4, PromptControl::txtSnooz, PromptControl::vsBlink,
                          PromptControl::lblSnoozMin});
    EXPECT_EQ(prompt.at(PromptControl::txtSnooz).height, main.at(txtPeriod).height);
    for (const MainControl list : {cmbAction, cmbUnit, cmbT, cmbCondition, cmbProgram}) EXPECT_GT(main.slotOf(list).listHeight, 0);
  }
}

TEST(WindowLayouts, EverySpinTouchesItsBoxAndScalesLikeTheOthers) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    using enum MainControl;
    const auto main = MainWindowLayout(dpi);
    const auto prompt = PromptLayout(dpi);
    const std::vector<std::pair<Rect, Rect>> spins = {
        {main.at(txtPeriod), main.at(vsPeriod)},
        {main.at(txtHour), main.at(vsHour)},
        {main.at(txtMin), main.at(vsMin)},
        {main.at(txtBlink), main.at(vsBlink)},
        {main.at(txtCondMinutes), main.at(vsCondMinutes)},
        {prompt.at(PromptControl::txtSnooz), prompt.at(PromptControl::vsBlink)},
    };
    const int width96 = MainWindowLayout(96).at(vsPeriod).width;
    for (const auto& [box, spin] : spins) {
      EXPECT_EQ(spin.left, box.right());
      EXPECT_EQ(spin.width, spins.front().second.width) << "the same spin in both windows";
      EXPECT_NEAR(spin.width, width96 * dpi / 96.0, 1.0) << "scaled with the window";
    }
  }
}

// The options frames stack their rows: the general frame four (the last
// one of number boxes), the option frames three check boxes and, in the
// right one, a drop-down list with its label. Each row lies below the one
// before, all inside the frame, whose caption and border they must leave
// alone.
TEST(WindowLayouts, TheOptionFramesHoldTheirChecksAndListApartAndInside) {
  using enum OptionsControl;
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const auto layout = OptionsLayout(dpi);
    const int listBox = ScaleToDpi(22, dpi);  // a drop-down list's box with the message font
    const struct {
      OptionsControl frame;
      std::vector<OptionsControl> stack;
    } frames[] = {{fraGeneral, {chkStartup, chkKeepAwake, chkPromptTimeout, txtQuietKBps}},
                  {fraBossOptions, {chkBossOption0, chkBossOption1, chkBossOption2}},
                  {fraAltBOptions, {chkAltBOption0, chkAltBOption1, chkAltBOption2, cmdAltBAction}}};
    for (const auto& f : frames) {
      const Rect frame = layout.at(f.frame);
      int above = frame.top + ScaleToDpi(14, dpi);  // below the caption
      for (const OptionsControl id : f.stack) {
        const Rect r = layout.at(id);
        const int bottom = r.top + (id == cmdAltBAction ? listBox : r.height);
        EXPECT_GE(r.top, above) << static_cast<int>(id);
        EXPECT_LE(bottom, frame.bottom() - ScaleToDpi(2, dpi)) << static_cast<int>(id);
        EXPECT_GE(r.left, frame.left) << static_cast<int>(id);
        EXPECT_LE(r.right(), frame.right()) << static_cast<int>(id);
        above = bottom;
      }
    }
    EXPECT_GE(layout.at(lblAltAction).top, layout.at(chkAltBOption2).bottom());
  }
}

TEST(WindowLayouts, TheQuietThresholdsShareOneRowLeftToRightInsideTheGeneralFrame) {
  using enum OptionsControl;
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const auto layout = OptionsLayout(dpi);
    const auto row = {lblQuietNetwork, txtQuietKBps, vsQuietKBps, lblQuietProcessor, txtQuietPercent, vsQuietPercent,
                      lblQuietPercent};
    ExpectOneRow(layout, row);
    int left = layout.at(fraGeneral).left;
    for (const OptionsControl id : row) {
      EXPECT_GE(layout.at(id).left, left) << static_cast<int>(id);
      left = layout.at(id).right();
    }
    EXPECT_LE(left, layout.at(fraGeneral).right()) << "the row ends inside its frame";
    EXPECT_EQ(layout.at(vsQuietPercent).width, MainWindowLayout(dpi).at(MainControl::vsPeriod).width)
        << "as every spin";
  }
}

}  // namespace
}  // namespace kelvane
