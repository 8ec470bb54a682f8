#pragma once
// frmAbout: the product name, the program's version and a link picture that
// opens the maker's web page.
#include <windows.h>

#include <string>

#include "about/about.h"
#include "base/handles_win32.h"

namespace kelvane {

inline constexpr int kAboutTitleId = 1000;         // Label1
inline constexpr int kAboutVersionLabelId = 1001;  // lblVersion
inline constexpr int kAboutLinkPictureId = 1002;   // PicUrl
inline constexpr int kAboutLinkLabelId = 1003;     // LblUrl

// "Version: " and the major, minor and revision of the module at `path`;
// "Version: 0.0.0" when it has no version resource.
std::string ModuleVersionText(const std::wstring& path);

class frmAbout {
 public:
  frmAbout() = default;
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  // Shows a fresh about box, modally owned by `owner` (which may be null),
  // and returns when it closes. While one is open, a second call brings it
  // to the front instead of opening another.
  void ShowModal(HWND owner);
  bool IsOpen() const { return dialog_ != nullptr; }
  // Closes the box if it is open, and gives its owner back the input at
  // once rather than when the box's message loop ends.
  void Close();
  HWND Window() const { return dialog_; }
  // The hover image of the link is shown (the picture's Tag "1").
  bool LinkHovering() const { return hover_.Hovering(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void OnInitDialog();
  void OnCommand(int id, int code);
  bool OnSetCursor(HWND over);
  void OnTimer();
  HWND AddControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, RECT at, HFONT font);
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
  HWND picUrl_ = nullptr;
  int dpi_ = 96;
  LinkHover hover_;
  std::wstring linkTarget_;
  UniqueBitmap picUrlNormal_;
  UniqueBitmap picUrlActive_;
  UniqueIcon image1_;
  UniqueFont font_;
  UniqueFont titleFont_;
};

}  // namespace kelvane
