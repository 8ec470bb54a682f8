#pragma once
// The main window: a borderless window with a drawn frame whose controls
// and messages are bound to MainForm.
#include <windows.h>

#include <array>
#include <string>

#include "base/borderless_window_win32.h"
#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/layout.h"
#include "core/main_dialogs_win32.h"
#include "core/main_form.h"

namespace kelvane {

class MainWindow final : public BorderlessWindow, public MainView, private DialogOwner {
 public:
  // `trayForm` and `about` must outlive the window.
  MainWindow(MainServices services, frmMain1& trayForm, frmAbout& about);

  // Creates the window and its controls and runs the start-up sequence.
  bool Create();
  MainForm& form() { return form_; }
  // The object that marks this program as running in the session; let go
  // with the window, so that a program that only finishes a task before it
  // ends does not keep a new start from showing its window.
  void HoldRunningMark(UniqueHandle mark) { runningMark_ = std::move(mark); }
  HICON icon() const { return icon_.get(); }

  // MainView
  void ShowControls(const ScheduleControls& controls, const ControlEnabling& enabling) override;
  void SetStatus(const std::string& text) override;
  void SetProgramItems(const std::vector<std::string>& items) override;
  void SetToggleCaption(const std::string& caption) override;
  void SetTimerRunning(bool running) override;
  void StartDeadlineTimer(std::chrono::milliseconds delay) override;
  void SetShowHiddenPicture(bool shown) override;
  void SetVisible(bool visible) override;
  void SetWaitCursor(bool wait) override;
  void BringToFront() override;
  bool AskQuit() override;
  void ShowMessage(const std::string& text) override;
  void SignalInvalidInput() override;
  void ProcessPendingMessages() override;
  void Unload() override;
  void EndProcess() override;

 private:
  // DialogOwner
  HWND OwnerWindow() const override { return hwnd(); }
  HICON OwnerIcon() const override { return icon_.get(); }

  // BorderlessWindow
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
  SIZE LayOut(int dpi) override;
  void OnCaptionButton(FrameHit button) override;
  void OnBodyRelease(POINT client) override;
  std::optional<Rect> ClickableInFrame() const override;
  LRESULT OnControlColor(HDC dc, HWND control) override;
  void PaintBody(HDC dc) override;

  void OnCreate();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnNumberBoxStep(int id, int delta);
  void OnProgramList(int code);
  void OnDestroy();
  void OnTimer(WPARAM id);
  void OnPowerBroadcast(WPARAM event);
  // A second start's command line.
  LRESULT OnCopyData(HWND sender, const COPYDATASTRUCT& data);
  void UpdateTooltip();
  // From the handles kept when the controls were made: under Wine each
  // GetDlgItem asks the window server, and a refresh looks up dozens.
  HWND Control(MainControl id) const;
  void SetControlText(MainControl id, const std::string& text);

  MainDialogsWin32 dialogs_;
  MainForm form_;
  WindowLayout<MainControl> layout_;
  UniqueBrush footerBrush_;
  UniqueIcon icon_;
  UniqueIcon hiddenIcon_;
  // The controls in MainControl's order, from lblAction; none once the window is gone.
  std::array<HWND, static_cast<std::size_t>(MainControl::imgShowHidden) - static_cast<std::size_t>(MainControl::lblAction)>
      controls_{};
  // Owned by the window: it goes when the window goes.
  UniqueWindow tooltip_;
  UniqueHandle runningMark_;
  bool showHidden_ = false;
  bool updating_ = false;
  bool waitCursor_ = false;
  bool timerRunning_ = false;
  UINT showRequest_ = 0;
  bool destroyed_ = false;
};

}  // namespace kelvane
