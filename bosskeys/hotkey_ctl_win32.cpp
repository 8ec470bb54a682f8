#include "bosskeys/hotkey_ctl_win32.h"

#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

constexpr const wchar_t* kControlWindowClass = L"KelvaneHotKeyCtl";

HWND CreateControlWindow(HINSTANCE instance) {
  // Message-only: it receives the hotkey messages and is never enumerated,
  // shown or hidden with the desktop's windows.
  return CreateWindowExW(0, kControlWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

}  // namespace

HotKeyModule::HotKeyModule(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kControlWindowClass;
  // The class stays registered for the life of the process, so another
  // module finds it in place; a control whose window cannot be created
  // keeps its settings but receives no hotkeys.
  RegisterClassExW(&wc);
}

HotKeyCtlWindow::HotKeyCtlWindow(HotKeyModule& module, SettingsStore& store, HotKeyCtlListener& listener)
    : window_(CreateControlWindow(module.Instance())),
      control_(ToWindowId(window_.get()), module.Registrar(), module.Hook(), store, listener) {}

void LoadHotKeyCombo(HWND cmbKey) {
  SendMessageW(cmbKey, CB_RESETCONTENT, 0, 0);
  for (const auto& name : HotKeyCtl::LoadHotKeyCombo()) {
    const std::wstring text = Widen(name);
    SendMessageW(cmbKey, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

}  // namespace kelvane
