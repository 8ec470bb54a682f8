#pragma once
// The main window: a borderless window with a drawn frame whose controls
// and messages are bound to MainForm.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/control_ids.h"
#include "base/frame_win32.h"
#include "base/layout.h"
#include "core/main_form.h"
#include "base/window_base_win32.h"

namespace kelvane {

// Windows that the main window opens and that belong to other subsystems.
struct MainWindowParts {
  std::function<PromptAnswer(HWND owner, const std::string& action, HICON icon)> prompt;
  std::function<TrayMenuCommand(HWND owner)> trayMenu;
  std::function<void(bool checked)> setMenuEnabledCheck;
  std::function<void(HWND owner)> aboutBox;
  std::function<void()> closeAboutBox;
  std::function<void(HWND owner)> optionsDialog;
};

class MainWindow : public WindowBase, public MainView {
 public:
  MainWindow(MainServices services, MainWindowParts parts);
  ~MainWindow() override;

  // Creates the window and its controls and runs the start-up sequence.
  bool Create();
  MainForm& form() { return form_; }
  HICON icon() const { return icon_.get(); }

  // MainView
  void ShowControls(const ScheduleControls& controls, const ControlEnabling& enabling) override;
  void SetStatus(const std::string& text) override;
  void SetToggleCaption(const std::string& caption) override;
  void SetTimerRunning(bool running) override;
  void SetMenuEnabledCheck(bool checked) override;
  void SetShowHiddenPicture(bool shown) override;
  void SetVisible(bool visible) override;
  void SetWaitCursor(bool wait) override;
  void BringToFront() override;
  bool AskQuit() override;
  void ShowMessage(const std::string& text) override;
  void SignalInvalidInput() override;
  void ProcessPendingMessages() override;
  PromptAnswer RunPrompt(const std::string& actionName) override;
  void RunOptionsDialog() override;
  TrayMenuCommand RunTrayMenu() override;
  void RunAboutBox() override;
  void CloseAboutBox() override;
  void Unload() override;
  void EndProcess() override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
  void OnCreate();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnPaint();
  LRESULT OnHitTest(POINT screen);
  void OnMouseUp(POINT client);
  void OnDpiChanged(int dpi, const RECT& suggested);
  LRESULT OnControlColor(HDC dc, HWND control);
  void CreateControls();
  void ApplyLayout();
  HWND Control(MainControl id) const { return GetDlgItem(hwnd(), static_cast<int>(id)); }
  void SetControlText(MainControl id, const std::string& text);

  MainForm form_;
  MainWindowParts parts_;
  int dpi_ = 96;
  WindowLayout layout_;
  UiFonts fonts_;
  UniqueBrush bodyBrush_;
  UniqueBrush footerBrush_;
  UniqueIcon icon_;
  UniqueIcon hiddenIcon_;
  HWND tooltip_ = nullptr;
  FrameMouse mouse_;
  bool showHidden_ = false;
  bool updating_ = false;
  bool waitCursor_ = false;
  bool timerRunning_ = false;
  bool destroyed_ = false;
};

}  // namespace kelvane
