// The options dialog of the real program under Wine, used with real clicks
// and keys: every setting it holds reaches the program.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/program_test.h"
#include "e2e/support/window_owner.h"

namespace kelvane::e2e {
namespace {

int Id(OptionsControl control) { return static_cast<int>(control); }

class OptionsTest : public ProgramTest {
 protected:
  // "&Options", clicked; the dialog once it shows.
  HWND OpenOptions() const {
    if (!ClickScreen(CentreOf(main_, e2e::Id(MainControl::cmdAdv)), 1)) return nullptr;
    return program_->FindWindowOf(kOptionsWindowClass, L"Kelvane");
  }
  // Starts the program and opens the dialog into `dialog_`.
  bool StartAndOpen() { return Start() && (dialog_ = OpenOptions()) != nullptr; }
  bool ClickControl(OptionsControl control) const { return ClickScreen(CentreOf(dialog_, Id(control)), 1); }
  bool Enabled(OptionsControl control) const { return IsWindowEnabled(GetDlgItem(dialog_, Id(control))) != FALSE; }
  bool Closed() const { return Gone(dialog_); }
  bool ClickOk() const { return ClickControl(OptionsControl::cmdOk) && Closed(); }
  bool CloseByTheImage() const {
    RECT frame{};
    GetWindowRect(dialog_, &frame);
    return ClickScreen({frame.right - 10, frame.top + 10}, 1) && Closed();
  }
  HWND Grid() const { return GetDlgItem(dialog_, Id(OptionsControl::grdTasks)); }
  // Makes the task list editable.
  bool EditTasks() const {
    return ClickControl(OptionsControl::chkTaskRun) && WaitFor([&] { return Enabled(OptionsControl::cmdTaskAdd); });
  }
  // A click into the grid below its rows, which gives it the keyboard.
  bool ClickBelowTheRows() const {
    RECT grid{};
    GetWindowRect(Grid(), &grid);
    return ClickScreen({(grid.left + grid.right) / 2, grid.bottom - 8}, 1);
  }
  // The up arrow of the spin that moves the current task.
  bool ClickMoveUp() const {
    RECT spin{};
    GetWindowRect(GetDlgItem(dialog_, Id(OptionsControl::vsUpDown)), &spin);
    return ClickScreen({(spin.left + spin.right) / 2, spin.top + 4}, 1);
  }
  // The grid's cell editor once it shows.
  HWND CellEditor() const {
    HWND editor = nullptr;
    return WaitFor([&] {
      editor = FindWindowExW(Grid(), nullptr, L"Edit", nullptr);
      return editor != nullptr && IsWindowVisible(editor);
    }) ? editor : nullptr;
  }
  // "+" clicked on an editable list: the new row's name editor.
  HWND AddTask() const {
    return EditTasks() && ClickControl(OptionsControl::cmdTaskAdd) ? CellEditor() : nullptr;
  }
  static std::wstring StoredTask(int slot) {
    return RegistryText(kTasks, L"Task" + std::to_wstring(slot)).value_or(L"");
  }

  HWND dialog_ = nullptr;
};

TEST_F(OptionsTest, TheFirstOpeningOffersThePresetsAndOkStoresThem) {
  ASSERT_TRUE(StartAndOpen()) << "\"&Options\" opens the dialog";
  EXPECT_FALSE(IsWindowEnabled(main_)) << "modal to the main window";
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kTasks, L"TaskCount") == L"7"; }));
  EXPECT_NE(StoredTask(1).find(L"CCleaner"), std::wstring::npos) << StoredTask(1).c_str();
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(OptionsTest, ABossKeyChosenInTheDialogHidesTheOtherWindows) {
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkBossKey));
  ASSERT_TRUE(WaitFor([&] { return Enabled(OptionsControl::chkClip1); }));
  EXPECT_TRUE(HasChildText(dialog_, L"      BossKey - On"));
  ASSERT_TRUE(ClickControl(OptionsControl::chkClip1));         // Shift, beside the Control it has
  ASSERT_TRUE(ClickControl(OptionsControl::chkBossOption0));   // no action, only hiding
  ASSERT_TRUE(ClickControl(OptionsControl::chkBossOption1));
  const HWND keys = GetDlgItem(dialog_, Id(OptionsControl::cmbBossKey));
  const int f5 = static_cast<int>(SendMessageW(keys, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(L"F5")));
  ASSERT_GE(f5, 0);
  SelectComboIndex(dialog_, Id(OptionsControl::cmbBossKey), f5);
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kConfig, L"BossKeyHotOn") == L"True"; }));
  EXPECT_EQ(RegistryText(kConfig, L"BossKeyHot"), L"F5");

  const std::wstring prefix = L"Options owner";
  Process owner(WindowOwnerCommand(prefix));
  ASSERT_TRUE(WaitFor([&] { return OwnedWindow(prefix, L" normal") != nullptr; }));
  const HWND normal = OwnedWindow(prefix, L" normal");
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(normal); }));
  ASSERT_TRUE(PressKeys("ctrl+shift+F5"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(normal); }));
  EXPECT_TRUE(IsWindowVisible(main_));
  ASSERT_TRUE(PressKeys("ctrl+shift+F5"));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(normal); }));
  EXPECT_FALSE(PowerCalled("SetSuspendState") || PowerCalled("ExitWindowsEx"));
}

TEST_F(OptionsTest, EscDiscardsTheChangesButNotAnAutostartChange) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(WaitFor([&] { return RegistryText(kRun, L"kelvane-recording.Exe").has_value(); }));
  dialog_ = OpenOptions();
  ASSERT_NE(dialog_, nullptr);
  ASSERT_TRUE(ClickControl(OptionsControl::chkTrayTips));
  ASSERT_TRUE(ClickControl(OptionsControl::chkStartup));
  EXPECT_TRUE(WaitFor([&] { return !RegistryText(kRun, L"kelvane-recording.Exe").has_value(); }))
      << "Autostart is applied at once";
  ASSERT_TRUE(TypeIntoFocus("Escape"));
  ASSERT_TRUE(Closed());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kConfig, L"TrayTips") == L"True"; })) << "the saved settings";
  EXPECT_EQ(RegistryText(kConfig, L"StartUp"), L"0");
  EXPECT_FALSE(RegistryText(kRun, L"kelvane-recording.Exe").has_value());
  EXPECT_EQ(RegistryText(kTasks, L"TaskCount").value_or(L"0"), L"0") << "the presets were not stored";
}

TEST_F(OptionsTest, TheCloseImageAppliesLikeOk) {
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkTrayTips));
  ASSERT_TRUE(CloseByTheImage());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kConfig, L"TrayTips") == L"False"; }));
}

TEST_F(OptionsTest, ATaskAddedWithPlusRunsAtTheNextFiringAndIsLogged) {
  const std::wstring folder = AppData() + L"\\Kelvane";
  DeleteFileW((folder + L"\\mine.txt").c_str());
  Configure({{L"Prompt", L"False"}, {L"Action", L"3"}});
  StoreTasks({{false, L"old", L"cmd.exe /c echo old"}});
  ASSERT_TRUE(StartAndOpen());
  // The new row's name opens for typing; the run box is left of it.
  const HWND editor = AddTask();
  ASSERT_NE(editor, nullptr);
  RECT nameCell{};
  GetWindowRect(editor, &nameCell);
  RECT grid{};
  GetWindowRect(Grid(), &grid);
  const int rowMiddle = (nameCell.top + nameCell.bottom) / 2;
  const POINT runBox{(grid.left + nameCell.left) / 2, rowMiddle};
  ASSERT_TRUE(TypeIntoFocus(KeysFor("mine") + " Return"));
  // A double click opens the command line's cell.
  ASSERT_TRUE(RealInput("mousemove " + std::to_string(nameCell.right + 30) + " " + std::to_string(rowMiddle) +
                        " click --repeat 2 --delay 80 1"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(editor); }));
  ASSERT_TRUE(TypeIntoFocus(KeysFor("cmd.exe /c echo mine>\"%KLAPPDATA%\\mine.txt\"") + " Return"));
  ASSERT_TRUE(ClickScreen(runBox, 1));
  ASSERT_TRUE(ClickOk());
  ASSERT_TRUE(WaitFor([&] { return RegistryText(kTasks, L"TaskCount") == L"2"; }))
      << RegistryText(kTasks, L"TaskCount").value_or(L"-").c_str() << " " << StoredTask(1).c_str() << " | "
      << StoredTask(2).c_str();
  EXPECT_NE(StoredTask(2).find(L"mine.txt"), std::wstring::npos) << StoredTask(2).c_str();
  EXPECT_EQ(RegistryText(kConfig, L"DoTaskRun"), L"True");

  ArmSeconds(main_, L"1");
  ASSERT_TRUE(WaitFor([&] { return PowerCalled("SetSuspendState"); }, 30s)) << PowerCalls();
  EXPECT_EQ(ReadFileText(folder + L"\\mine.txt"), "mine\r\n");
  EXPECT_NE(ReadFileText(folder + L"\\TasksLog.txt").find("mine.txt"), std::string::npos);
}

TEST_F(OptionsTest, MinusOnTheLastTasksBringsThePresetsBack) {
  StoreTasks({{true, L"first", L"cmd.exe /c echo 1"}, {true, L"second", L"cmd.exe /c echo 2"}});
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkTaskRun));
  ASSERT_TRUE(WaitFor([&] { return Enabled(OptionsControl::cmdTaskDel); }));
  ASSERT_TRUE(ClickControl(OptionsControl::cmdTaskDel));
  ASSERT_TRUE(ClickControl(OptionsControl::cmdTaskDel));
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kTasks, L"TaskCount") == L"7"; }));
  EXPECT_NE(StoredTask(1).find(L"CCleaner"), std::wstring::npos) << StoredTask(1).c_str();
}

TEST_F(OptionsTest, TheMoveSpinReordersTheTasksAndTheStoredOrderFollows) {
  StoreTasks({{true, L"alpha", L"a.exe"}, {true, L"bravo", L"b.exe"}});
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkTaskRun));
  // Into the grid, then to the second row with the keys.
  ASSERT_TRUE(ClickBelowTheRows());
  ASSERT_TRUE(TypeIntoFocus("Home Down"));
  ASSERT_TRUE(ClickMoveUp());
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return StoredTask(1).find(L"bravo") != std::wstring::npos; })) << StoredTask(1).c_str();
  EXPECT_NE(StoredTask(2).find(L"alpha"), std::wstring::npos) << StoredTask(2).c_str();
}

// A cell editor still open when the dialog is applied: what the user typed
// in it is part of the changes, whichever way the dialog is applied.
class OptionsEditingTest : public OptionsTest {
 protected:
  // Puts the keyboard in the grid with the task list editable, then presses
  // `keys` there; returns the cell editor once open.
  HWND OpenCellEditor(const std::string& keys) const {
    return EditTasks() && ClickBelowTheRows() && TypeIntoFocus(keys) ? CellEditor() : nullptr;
  }
  // The dialog's changes have been saved once "DoTaskRun" reads as applied.
  static bool Applied() { return WaitFor([] { return RegistryText(kConfig, L"DoTaskRun") == L"True"; }); }
  static std::wstring StoredTaskWith(const std::wstring& command) {
    for (int slot = 1; slot <= 2; ++slot) {
      if (StoredTask(slot).find(command) != std::wstring::npos) return StoredTask(slot);
    }
    return L"";
  }
};

TEST_F(OptionsEditingTest, TheCloseImageAppliesANameStillBeingTyped) {
  StoreTasks({{true, L"old", L"old.exe"}});
  ASSERT_TRUE(StartAndOpen());
  ASSERT_NE(OpenCellEditor("Return"), nullptr) << "Enter opens the first row's name";
  ASSERT_TRUE(TypeIntoFocus(KeysFor("renamed")));
  ASSERT_TRUE(CloseByTheImage());
  ASSERT_TRUE(Applied());
  EXPECT_NE(StoredTask(1).find(L"renamed"), std::wstring::npos) << StoredTask(1).c_str();
}

TEST_F(OptionsEditingTest, TheMoveSpinClickedWhileANameIsOpenKeepsTheOtherTasksName) {
  StoreTasks({{true, L"alpha", L"a.exe"}, {true, L"bravo", L"b.exe"}});
  ASSERT_TRUE(StartAndOpen());
  ASSERT_NE(OpenCellEditor("Down Return"), nullptr) << "Enter opens bravo's name";
  ASSERT_TRUE(TypeIntoFocus(KeysFor("renamed")));
  ASSERT_TRUE(ClickMoveUp());
  ASSERT_TRUE(TypeIntoFocus("Return"));
  ASSERT_TRUE(ClickOk());
  ASSERT_TRUE(Applied());
  EXPECT_NE(StoredTaskWith(L"a.exe").find(L"alpha"), std::wstring::npos)
      << StoredTask(1).c_str() << " | " << StoredTask(2).c_str();
}

// The scale of the programs started while it lives: the desktop's
// LogPixels, which Wine reads when a program starts; the value before it is
// put back at the end.
class DesktopScale {
 public:
  explicit DesktopScale(DWORD dpi) {
    DWORD size = sizeof before_;
    hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &before_, &size) ==
                ERROR_SUCCESS;
    Set(&dpi);
  }
  ~DesktopScale() { Set(hadValue_ ? &before_ : nullptr); }
  DesktopScale(const DesktopScale&) = delete;
  DesktopScale& operator=(const DesktopScale&) = delete;

 private:
  static constexpr const wchar_t* kDesktop = L"Control Panel\\Desktop";
  static void Set(const DWORD* dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
    if (dpi != nullptr) {
      RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(dpi), sizeof *dpi);
    } else {
      RegDeleteValueW(key, L"LogPixels");
    }
    RegCloseKey(key);
  }
  DWORD before_ = 0;
  bool hadValue_ = false;
};

int WidthOf(HWND parent, int id) {
  RECT r{};
  return GetWindowRect(GetDlgItem(parent, id), &r) ? static_cast<int>(r.right - r.left) : 0;
}

// At 150 % every spin of the program is drawn at 150 %: the dialog's two
// spins as wide as the main window's spin and as the task buttons beside
// the move spin, as the dialog's layout gives them.
TEST_F(OptionsTest, At150PercentTheDialogsSpinsScaleLikeTheMainWindows) {
  const DesktopScale scale(144);
  ASSERT_TRUE(Start());
  const int mainSpin = WidthOf(main_, e2e::Id(MainControl::vsBlink));
  ASSERT_GE(mainSpin, 24) << "the program runs at 150 %";
  dialog_ = OpenOptions();
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(WidthOf(dialog_, Id(OptionsControl::vsPromptTimeout)), mainSpin) << "the seconds box's spin";
  EXPECT_EQ(WidthOf(dialog_, Id(OptionsControl::vsUpDown)), WidthOf(dialog_, Id(OptionsControl::cmdTaskAdd)))
      << "the move spin beside \"+\"";
}

// The quiet thresholds, reached by their labels' mnemonics and typed over:
// a box keeps what is typed until it is left, then holds its range, and OK
// stores both.
TEST_F(OptionsTest, TheQuietThresholdsAreTypedByTheirMnemonicsAndStoredWithOk) {
  ASSERT_TRUE(StartAndOpen());
  const HWND dialog = dialog_;
  EXPECT_EQ(ControlText(dialog, Id(OptionsControl::txtQuietKBps)), L"50");
  EXPECT_EQ(ControlText(dialog, Id(OptionsControl::txtQuietPercent)), L"10");
  ASSERT_TRUE(TypeIntoFocus("alt+n " + KeysFor("2000")));
  ASSERT_TRUE(WaitFor([&] { return ControlText(dialog, Id(OptionsControl::txtQuietKBps)) == L"2000"; }))
      << "the network's box, reached by its label and typed over";
  ASSERT_TRUE(TypeIntoFocus("alt+c " + KeysFor("0")));
  ASSERT_TRUE(WaitFor([&] { return ControlText(dialog, Id(OptionsControl::txtQuietPercent)) == L"0"; }))
      << "kept as typed while the box has the focus";
  ASSERT_TRUE(TypeIntoFocus("Tab"));
  EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, Id(OptionsControl::txtQuietPercent)) == L"1"; }))
      << "the lowest percentage, once left";
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kConfig, L"ConditionKBps") == L"2000"; }));
  EXPECT_EQ(RegistryText(kConfig, L"ConditionPercent"), L"1");
}

// Escape in an open drop-down list closes the list, as everywhere in
// Windows; the dialog and what was changed in it stay.
TEST_F(OptionsTest, EscInAnOpenDropDownListClosesOnlyTheList) {
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkBossKey));
  const HWND keys = GetDlgItem(dialog_, Id(OptionsControl::cmbBossKey));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(keys) != FALSE; }));
  ASSERT_TRUE(ClickControl(OptionsControl::cmbBossKey));
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(keys, CB_GETDROPPEDSTATE, 0, 0) != 0; })) << "the list opens";
  ASSERT_TRUE(TypeIntoFocus("Escape"));
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(keys, CB_GETDROPPEDSTATE, 0, 0) == 0; })) << "the list closes";
  ASSERT_FALSE(Gone(dialog_, 2s)) << "Escape in the open list also closed the dialog and dropped the boss key";
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kConfig, L"BossKeyHotOn") == L"True"; }));
}

// The check box of a task's "Run" cell is reached and set with the keyboard:
// Space checks it, as in every Windows list with check boxes.
TEST_F(OptionsTest, SpaceOnTheRunCellChecksTheTask) {
  StoreTasks({{false, L"alpha", L"a.exe"}});
  ASSERT_TRUE(StartAndOpen());
  ASSERT_TRUE(ClickControl(OptionsControl::chkTaskRun));
  // Into the grid, then to the first row's first cell.
  ASSERT_TRUE(ClickBelowTheRows());
  ASSERT_TRUE(TypeIntoFocus("ctrl+Home Home space"));
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return StoredTask(1).rfind(L"1\u00A41\u00A4alpha", 0) == 0; }))
      << "the task is stored unchecked: " << StoredTask(1).c_str();
}

// A task typed with the keyboard alone: "+", its name, Enter, Right to the
// command line's cell, Enter to edit it, the command, Enter.
TEST_F(OptionsTest, ATaskIsTypedWithTheKeyboardAloneAfterPlus) {
  StoreTasks({{true, L"old", L"old.exe"}});
  ASSERT_TRUE(StartAndOpen());
  const HWND editor = AddTask();
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(TypeIntoFocus(KeysFor("mine") + " Return Right Return"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(editor) != FALSE; }))
      << "Right then Enter after the name opens no cell for the command line";
  ASSERT_TRUE(TypeIntoFocus(KeysFor("mine.exe") + " Return"));
  ASSERT_TRUE(ClickOk());
  EXPECT_TRUE(WaitFor([&] { return RegistryText(kTasks, L"TaskCount") == L"2"; }))
      << StoredTask(1).c_str() << " | " << StoredTask(2).c_str();
  EXPECT_NE(StoredTask(2).find(L"mine\u00A4mine.exe"), std::wstring::npos) << StoredTask(2).c_str();
}

// Opened from the keyboard with the pointer away from every window of the
// program: the dialog paints and takes keys like one opened by a click.
TEST_F(OptionsTest, OpenedByItsMnemonicWithThePointerAwayTheDialogTakesEsc) {
  ASSERT_TRUE(Start());
  // The screen's far corner, away from the dialog that opens in the middle.
  ASSERT_TRUE(RealInput("mousemove " + std::to_string(GetSystemMetrics(SM_CXSCREEN) - 3) + " " +
                        std::to_string(GetSystemMetrics(SM_CYSCREEN) - 3)));
  ASSERT_TRUE(PressKeys("alt+o"));
  dialog_ = program_->FindWindowOf(kOptionsWindowClass, L"Kelvane");
  ASSERT_NE(dialog_, nullptr);
  // A window that handles its messages answers this at once.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
  ASSERT_TRUE(TypeIntoFocus("Escape"));
  EXPECT_TRUE(Closed()) << "the dialog took no keys";
}

}  // namespace
}  // namespace kelvane::e2e
