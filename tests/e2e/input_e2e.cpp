// Typing and clicking into the main window with the real keyboard and mouse
// (xdotool), as a user does: numbers read as typed, spins go up with the up
// arrow, and the schedule's inputs are locked while armed.
#include <windows.h>

#include <string>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

// A point of a control on the screen, `fx` and `fy` of its width and height
// from its top-left corner.
POINT On(HWND parent, MainControl id, double fx = 0.5, double fy = 0.5) {
  RECT r{};
  GetWindowRect(GetDlgItem(parent, Id(id)), &r);
  return {r.left + static_cast<LONG>((r.right - r.left) * fx), r.top + static_cast<LONG>((r.bottom - r.top) * fy)};
}

bool Enabled(HWND parent, MainControl id) { return IsWindowEnabled(GetDlgItem(parent, Id(id))) != FALSE; }

class InputTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(Start());
  }
  // Clicks into a box at `fx` of its width, deletes what it holds and types
  // `keys`.
  bool TypeInto(MainControl box, const std::string& keys, double fx = 0.5) {
    return ClickInto(box, fx) && PressKeys("End BackSpace BackSpace BackSpace " + keys);
  }
  // Clicks a control and waits until it has the keyboard focus.
  bool ClickInto(MainControl box, double fx = 0.5) {
    return ClickScreen(On(main_, box, fx), 1) && WaitFor([&] { return Focused() == GetDlgItem(main_, Id(box)); }, 5s);
  }
  HWND Focused() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) ? info.hwndFocus : nullptr;
  }
  bool Reads(MainControl box, const wchar_t* text) {
    return WaitFor([&] { return ControlText(main_, Id(box)) == text; }, 5s);
  }
};

TEST_F(InputTest, ACountdownTypedOverTheOldOneReadsAsTypedAfterTab) {
  ASSERT_TRUE(TypeInto(MainControl::txtPeriod, "3 0 Tab"));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"30")) << ControlText(main_, Id(MainControl::txtPeriod)).c_str();
  ASSERT_TRUE(TypeInto(MainControl::txtBlink, "4 5 Tab"));
  EXPECT_TRUE(Reads(MainControl::txtBlink, L"45")) << ControlText(main_, Id(MainControl::txtBlink)).c_str();
  // Left empty, a box reads as its smallest value.
  ASSERT_TRUE(TypeInto(MainControl::txtPeriod, "Tab"));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"1")) << ControlText(main_, Id(MainControl::txtPeriod)).c_str();
}

TEST_F(InputTest, TheMinuteBoxTakesTwoDigitsAndPadsOneWhenLeft) {
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::optAt, 0.1), 1));
  ASSERT_TRUE(WaitFor([&] { return Enabled(main_, MainControl::txtMin); }));
  ASSERT_TRUE(TypeInto(MainControl::txtMin, "3 5 Tab"));
  EXPECT_TRUE(Reads(MainControl::txtMin, L"35")) << ControlText(main_, Id(MainControl::txtMin)).c_str();
  // Somewhere else in the box: a second click on the same spot this soon
  // would be a double click, which selects instead of taking the focus.
  ASSERT_TRUE(TypeInto(MainControl::txtMin, "7 Tab", 0.2));
  EXPECT_TRUE(Reads(MainControl::txtMin, L"07")) << ControlText(main_, Id(MainControl::txtMin)).c_str();
}

TEST_F(InputTest, TheUpArrowAndTheUpKeysIncrease) {
  ASSERT_EQ(ControlText(main_, Id(MainControl::txtPeriod)), L"1");
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::vsPeriod, 0.5, 0.25), 1));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"2")) << ControlText(main_, Id(MainControl::txtPeriod)).c_str();
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::vsPeriod, 0.5, 0.75), 1));
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::vsPeriod, 0.5, 0.75), 1));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"1")) << "the lower arrow stops at the smallest value";
  ASSERT_TRUE(ClickInto(MainControl::txtPeriod));
  ASSERT_TRUE(PressKeys("Up Prior"));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"12")) << ControlText(main_, Id(MainControl::txtPeriod)).c_str();
  ASSERT_TRUE(PressKeys("Next Down"));
  EXPECT_TRUE(Reads(MainControl::txtPeriod, L"1")) << ControlText(main_, Id(MainControl::txtPeriod)).c_str();
}

TEST_F(InputTest, WhileArmedTheActionAndTheNumbersAreLocked) {
  const MainControl locked[] = {MainControl::cmbAction, MainControl::txtPeriod, MainControl::vsPeriod,
                                MainControl::cmbUnit,   MainControl::txtBlink,  MainControl::vsBlink,
                                MainControl::chkPrompt, MainControl::optAt};
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::cmdTimer), 1));
  ASSERT_TRUE(WaitFor([&] { return Armed(main_); }));
  for (const MainControl id : locked) EXPECT_FALSE(Enabled(main_, id)) << Id(id);
  EXPECT_TRUE(Enabled(main_, MainControl::cmdAdv));
  ASSERT_TRUE(ClickScreen(On(main_, MainControl::cmdTimer), 1));
  ASSERT_TRUE(WaitFor([&] { return !Armed(main_); }));
  for (const MainControl id : locked) EXPECT_TRUE(Enabled(main_, id)) << Id(id);
  EXPECT_FALSE(Enabled(main_, MainControl::txtHour)) << "the clock's boxes follow the mode again";
}

}  // namespace
}  // namespace kelvane::e2e
