#pragma once
// A window for the portable grid control that records what it is asked.

#include <optional>
#include <string>

#include "controls/grid/grid_control.h"

namespace kelvane::testing {

class FakeSurface : public GridSurface {
 public:
  int textHeight = 13;
  int invalidations = 0;
  ScrollBarsState bars;
  int scrollBarUpdates = 0;
  bool captured = false;
  GridCursor cursor = GridCursor::Arrow;
  bool dragTimer = false;
  int leaveRequests = 0;
  std::optional<EditorRequest> editor;
  // What the user typed into the open editor.
  std::string editorText;
  int editorFocusRequests = 0;
  int editorsShown = 0;
  std::optional<FontDescription> font;
  OleColor background = 0;
  bool border = false;
  int runTimeSetups = 0;

  int MeasureTextHeight() override { return textHeight; }
  void Invalidate() override { ++invalidations; }
  void SetScrollBars(const ScrollBarsState& state) override {
    bars = state;
    ++scrollBarUpdates;
  }
  void SetCapture(bool on) override { captured = on; }
  void SetCursor(GridCursor c) override { cursor = c; }
  void SetDragTimer(bool on) override { dragTimer = on; }
  void TrackMouseLeave() override { ++leaveRequests; }
  void ShowEditor(const EditorRequest& request) override {
    editor = request;
    editorText = request.text;
    ++editorsShown;
  }
  void FocusEditor(std::uintptr_t) override { ++editorFocusRequests; }
  std::string EditorText(std::uintptr_t) override { return editorText; }
  void HideEditor(std::uintptr_t) override { editor.reset(); }
  void ApplyFont(const FontDescription& f) override { font = f; }
  void ApplyFrame(OleColor back, bool withBorder) override {
    background = back;
    border = withBorder;
  }
  void StartRunTime() override { ++runTimeSetups; }
};

}  // namespace kelvane::testing
