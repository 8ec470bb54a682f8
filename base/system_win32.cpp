#include "base/system_win32.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <cmath>

#include "base/system_library_win32.h"
#include "base/wide_text_win32.h"

namespace kelvane {

int DpiOf(HWND window) noexcept {
  // Per-monitor DPI exists from Windows 10 on; before it the system DPI holds.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto getDpi = user32 == nullptr ? nullptr
                                        : reinterpret_cast<GetDpiForWindowFn>(
                                              reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
  if (getDpi != nullptr && window != nullptr) {
    const UINT dpi = getDpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  const WindowDc screen(nullptr);
  const int dpi = screen.get() == nullptr ? 96 : GetDeviceCaps(screen.get(), LOGPIXELSX);
  return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HWND beside) noexcept {
  // Monitors have a DPI of their own from Windows 8.1 on.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  const UniqueModule shcore(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const auto getDpi = !shcore ? nullptr
                              : reinterpret_cast<GetDpiForMonitorFn>(
                                    reinterpret_cast<void*>(GetProcAddress(shcore.get(), "GetDpiForMonitor")));
  const HMONITOR monitor = MonitorFromWindow(beside, beside == nullptr ? MONITOR_DEFAULTTOPRIMARY : MONITOR_DEFAULTTONEAREST);
  UINT x = 0;
  UINT y = 0;
  if (getDpi != nullptr && monitor != nullptr && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) && x != 0) {
    return static_cast<int>(x);
  }
  return DpiOf(nullptr);
}

POINT CenterOnWorkArea(int width, int height, HWND beside) noexcept {
  RECT work{0, 0, 1024, 768};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR handle =
      MonitorFromWindow(beside, beside == nullptr ? MONITOR_DEFAULTTOPRIMARY : MONITOR_DEFAULTTONEAREST);
  if (handle != nullptr && GetMonitorInfoW(handle, &monitor)) {
    work = monitor.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  }
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

namespace {

LOGFONTW UserMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return metrics.lfMessageFont;
  LOGFONTW font{};
  font.lfHeight = -12;
  wcscpy_s(font.lfFaceName, L"Tahoma");
  return font;
}

UniqueFont CreateFontFrom(LOGFONTW font, LONG weight, bool underline) {
  font.lfWidth = 0;
  if (weight != 0) font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfQuality = CLEARTYPE_QUALITY;
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace

UniqueFont CreateMessageFont(int dpi, double points, LONG weight, bool underline) {
  LOGFONTW font = UserMessageFont();
  font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  return CreateFontFrom(font, weight, underline);
}

UniqueFont CreateUserSizedMessageFont(int percent, LONG weight, bool underline) {
  LOGFONTW font = UserMessageFont();
  font.lfHeight = MulDiv(font.lfHeight, percent, 100);
  return CreateFontFrom(font, weight, underline);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut off: try a larger buffer
  }
}

std::string EnvironmentVariable(std::string_view name) {
  const std::wstring wideName = Widen(name);
  const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
  // Zero when unset meanwhile; not less than the buffer when it grew.
  if (length == 0 || length >= needed) return {};
  value.resize(length);
  return Narrow(value);
}

std::string RoamingAppDataFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path);
  std::string folder = SUCCEEDED(result) && path != nullptr ? Narrow(path) : std::string();
  // The buffer is the caller's to free even when the call failed. The free
  // is looked up rather than imported: an import would load ole32 and the
  // COM runtime beneath it at every start, for a folder that is asked for
  // only when the environment does not name it. Without the entry the few
  // bytes are left to the process's end.
  SystemLibrary ole32(L"ole32.dll");
  if (const FARPROC entry = path != nullptr ? ole32.Find("CoTaskMemFree") : nullptr) {
    reinterpret_cast<decltype(&::CoTaskMemFree)>(reinterpret_cast<void*>(entry))(path);
  }
  return folder;
}

}  // namespace kelvane
