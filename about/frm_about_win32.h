#pragma once
// frmAbout: the product name, the program's version, what it does and its
// copyright, and a link that opens the maker's webpage; in the drawn frame
// of the program's other windows.
#include <windows.h>

#include <functional>
#include <string>

#include "about/about.h"
#include "base/borderless_window_win32.h"
#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/layout.h"

namespace kelvane {

// "Version: " and the major, minor and revision of the module at `path`;
// "Version: 0.0.0" when it has no version resource.
std::string ModuleVersionText(const std::wstring& path);

class frmAbout final : public BorderlessWindow {
 public:
  // Opens a link target for the user; by default in the user's browser.
  using LinkOpener = std::function<void(const std::wstring& target)>;
  static void OpenWithShell(const std::wstring& target);

  explicit frmAbout(LinkOpener openLink = OpenWithShell) : openLink_(std::move(openLink)) {}

  // Shows a fresh about box, modally owned by `owner` (which may be null),
  // and returns when it closes. While one is open, a second call brings it
  // to the front instead of opening another.
  void ShowModal(HWND owner);
  bool IsOpen() const { return hwnd() != nullptr && !done_; }
  // Closes the box if it is open, and gives its owner back the input at
  // once rather than when the box's message loop ends.
  void Close();
  HWND Window() const { return hwnd(); }
  // The hover image of the link is shown (the picture's Tag "1").
  bool LinkHovering() const { return hover_.Hovering(); }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
  SIZE LayOut(int dpi) override;
  void OnCaptionButton(FrameHit button) override;
  void PaintBody(HDC dc) override;

  void OnCreate();
  void OnCommand(int id, int code);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  bool OnSetCursor(HWND over);
  void OnTimer();
  void OpenLink();
  HWND Control(AboutControl id) const { return GetDlgItem(hwnd(), static_cast<int>(id)); }

  LinkOpener openLink_;
  HWND owner_ = nullptr;
  bool done_ = false;
  WindowLayout<AboutControl> layout_;
  LinkHover hover_;
  std::wstring linkTarget_;
  UniqueBitmap picUrlNormal_;
  UniqueBitmap picUrlActive_;
  UniqueIcon image1_;
  UniqueFont font_;
  UniqueFont titleFont_;
};

}  // namespace kelvane
