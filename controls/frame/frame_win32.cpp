#include "controls/frame/frame_win32.h"

#include <cstring>
#include <exception>

#include "base/handles_win32.h"
#include "base/system_win32.h"

namespace kelvane {
namespace {

constexpr wchar_t kClassName[] = L"KelvaneShadowFrame";
// Sent to child windows after their parent moved to a monitor of another DPI
// (Windows 10 1703 on); the headers name it only for newer targets.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

Colour RgbOf(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

}  // namespace

bool ShadowFrameWindow::Create(HWND parent, int id, const Rect& place) {
  // WS_CLIPSIBLINGS keeps the controls above it out of its painting.
  if (!CreateOf(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, L"", place.left, place.top, place.width,
                place.height, parent)) {
    return false;
  }
  SetWindowLongPtrW(hwnd(), GWLP_ID, id);
  SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

LRESULT ShadowFrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SIZE: Repaint(); return 0;
    case kDpiChangedAfterParent: Repaint(); return 0;
    case WM_SYSCOLORCHANGE: case WM_THEMECHANGED: Repaint(); return 0;
    default: return Default(message, wParam, lParam);
  }
}

void ShadowFrameWindow::Repaint() {
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, FALSE);
}

Colour ShadowFrameWindow::ContainerColour(HDC dc) const noexcept {
  const HWND parent = GetParent(hwnd());
  if (parent != nullptr) {
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    LOGBRUSH info{};
    if (brush != nullptr && GetObjectW(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID) {
      return RgbOf(info.lbColor);
    }
  }
  return RgbOf(GetSysColor(COLOR_BTNFACE));
}

void ShadowFrameWindow::OnPaint() noexcept {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd(), &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  try {
    if (width > 0 && height > 0) {
      const PixelBuffer picture = frame_.Render(width, height, ContainerColour(dc), DpiOf(hwnd()));
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top-down, as the buffer's rows run
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      const UniqueBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
      const UniqueMemoryDc memory(CreateCompatibleDC(dc));
      // Either fails only when GDI is out of resources; the frame is then
      // left unpainted until the next WM_PAINT.
      if (bitmap && memory && bits != nullptr) {
        std::memcpy(bits, picture.Words().data(), picture.Words().size() * sizeof(std::uint32_t));
        const SelectionGuard select(memory.get(), bitmap.get());
        BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
      }
    }
  } catch (const std::exception&) {
    // A picture too large for memory: nothing is drawn this time.
  }
  EndPaint(hwnd(), &paint);
}

}  // namespace kelvane
