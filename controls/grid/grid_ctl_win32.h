#pragma once
// GridCtl: the grid as a child window. It owns the portable control (model,
// properties, interaction) and turns window messages into its events; at run
// time it hooks its own window and its edit box through the window-message
// hook for focus, wheel, scroll, mouse-leave and theme messages.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "base/window_base_win32.h"
#include "controls/grid/grid_control.h"
#include "controls/grid/grid_painter_win32.h"
#include "tray/window_hook_win32.h"

namespace kelvane {

class GridCtl final : public WindowBase, private GridSurface, private HookHandler {
 public:
  // `events` may be null; hook failures go to `reporter`.
  GridCtl(GridEvents* events, ErrorReporter& reporter);
  ~GridCtl() override;

  // Creates the window inside `parent` with the control id `id`; the
  // rectangle is in the parent's client pixels. The control then has the
  // defaults of a newly placed grid; at design time it only shows itself.
  bool Create(HWND parent, int id, const RECT& rect, LoadMode mode = LoadMode::Run);

  GridControl& Control() { return control_; }
  const GridControl& Control() const { return control_; }
  GridModel& Model() { return control_.Model(); }

  // The parent's font, or the message font when it has none.
  FontDescription ContainerFont() const;
  void InitProperties(LoadMode mode);
  void ReadProperties(PropertyBag& bag, LoadMode mode);
  void WriteProperties(PropertyBag& bag) const { control_.WriteProperties(bag); }

  // Rows show images from `images` (not owned); `keys` name them in order.
  void SetImageList(HIMAGELIST images, std::vector<std::string> keys);
  // An outside window that edits the cells of `col` in place of the edit box.
  void BindControl(std::int32_t col, HWND control, std::int16_t moveControl);

  HWND EditBox() const { return editBox_; }

 private:
  class ImageKeys final : public GridImageList {
   public:
    std::vector<std::string> keys;
    std::optional<std::int32_t> IndexOfKey(std::string_view key) const override;
  };

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnDpiChanged();
  LRESULT OnDialogCode(const MSG* message);
  LRESULT OnEditColor(HDC dc, HWND control);
  void OnCharacter(wchar_t unit);
  void OnDestroy();

  // HookHandler: the hooked messages of the grid and of its edit box.
  void WndProc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, const WindowMessage& message,
               std::intptr_t& lUser) override;
  bool OnGridHook(const WindowMessage& message, std::intptr_t& result);
  bool OnEditorHook(const WindowMessage& message, std::intptr_t& result);
  FocusTarget TargetOf(HWND focus) const;
  void HookEditor(HWND editor);

  // GridSurface
  int MeasureTextHeight() override;
  void Invalidate() override;
  void SetScrollBars(const ScrollBarsState& bars) override;
  void SetCapture(bool on) override;
  void SetCursor(GridCursor cursor) override;
  void SetDragTimer(bool on) override;
  void TrackMouseLeave() override;
  void ShowEditor(const EditorRequest& request) override;
  void FocusEditor(std::uintptr_t boundControl) override;
  std::string EditorText(std::uintptr_t boundControl) override;
  void HideEditor(std::uintptr_t boundControl) override;
  void ApplyFont(const FontDescription& font) override;
  void ApplyFrame(OleColor background, bool border) override;
  void StartRunTime() override;

  HWND EditorWindow(std::uintptr_t boundControl) const;
  void CreateEditBox(std::int32_t alignment);

  GridControl control_;
  SubclassHookSystem hookSystem_;
  WindowHooks hooks_;
  GridFonts fonts_;
  GridThemes themes_;
  GridPainter painter_;
  ImageKeys imageKeys_;
  HIMAGELIST images_ = nullptr;

  HWND editBox_ = nullptr;
  std::int32_t editAlignment_ = 0;
  UniqueBrush editBrush_;
  COLORREF editColor_ = 0;
  HWND hookedBound_ = nullptr;

  std::optional<ScrollBarsState> shownBars_;
  using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  TrackMouseEventFn trackMouseEvent_ = nullptr;
  bool releasingCapture_ = false;
  bool losingEditorFocus_ = false;
  wchar_t highSurrogate_ = 0;
};

}  // namespace kelvane
