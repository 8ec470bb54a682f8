#pragma once
// RAII owners for the Windows handles the program holds.
#include <windows.h>

#include <memory>

namespace kelvane {

struct WindowDeleter {
  using pointer = HWND;
  void operator()(HWND h) const noexcept { if (h != nullptr) DestroyWindow(h); }
};
using UniqueWindow = std::unique_ptr<HWND, WindowDeleter>;

struct IconDeleter {
  using pointer = HICON;
  void operator()(HICON h) const noexcept { if (h != nullptr) DestroyIcon(h); }
};
using UniqueIcon = std::unique_ptr<HICON, IconDeleter>;

struct MenuDeleter {
  using pointer = HMENU;
  void operator()(HMENU h) const noexcept { if (h != nullptr) DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<HMENU, MenuDeleter>;

struct KeyDeleter {
  using pointer = HKEY;
  void operator()(HKEY h) const noexcept { if (h != nullptr) RegCloseKey(h); }
};
using UniqueKey = std::unique_ptr<HKEY, KeyDeleter>;

struct GdiDeleter {
  using pointer = HGDIOBJ;
  void operator()(HGDIOBJ h) const noexcept { if (h != nullptr) DeleteObject(h); }
};
using UniqueGdiObject = std::unique_ptr<HGDIOBJ, GdiDeleter>;

struct FontDeleter {
  using pointer = HFONT;
  void operator()(HFONT h) const noexcept { if (h != nullptr) DeleteObject(h); }
};
using UniqueFont = std::unique_ptr<HFONT, FontDeleter>;

struct BitmapDeleter {
  using pointer = HBITMAP;
  void operator()(HBITMAP h) const noexcept { if (h != nullptr) DeleteObject(h); }
};
using UniqueBitmap = std::unique_ptr<HBITMAP, BitmapDeleter>;

struct BrushDeleter {
  using pointer = HBRUSH;
  void operator()(HBRUSH h) const noexcept { if (h != nullptr) DeleteObject(h); }
};
using UniqueBrush = std::unique_ptr<HBRUSH, BrushDeleter>;

// For APIs that report failure with a null handle.
struct HandleDeleter {
  using pointer = HANDLE;
  void operator()(HANDLE h) const noexcept { if (h != nullptr) CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<HANDLE, HandleDeleter>;

// For APIs that report failure with INVALID_HANDLE_VALUE.
struct FileHandleDeleter {
  struct pointer {
    HANDLE h = INVALID_HANDLE_VALUE;
    pointer() = default;
    pointer(HANDLE handle) : h(handle) {}  // NOLINT(google-explicit-constructor)
    pointer(std::nullptr_t) {}             // NOLINT(google-explicit-constructor)
    explicit operator bool() const { return h != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return h; }  // NOLINT(google-explicit-constructor)
    friend bool operator==(pointer a, pointer b) { return a.h == b.h; }
    // unique_ptr compares with nullptr, which stands for the invalid value.
    friend bool operator==(pointer a, std::nullptr_t) { return a.h == INVALID_HANDLE_VALUE; }
  };
  void operator()(pointer p) const noexcept { if (p) CloseHandle(p.h); }
};
using UniqueFileHandle = std::unique_ptr<HANDLE, FileHandleDeleter>;

struct DcReleaser {
  HWND window;
  HDC dc;
  DcReleaser(HWND w) : window(w), dc(GetDC(w)) {}  // NOLINT(google-explicit-constructor)
  ~DcReleaser() { if (dc != nullptr) ReleaseDC(window, dc); }
  DcReleaser(const DcReleaser&) = delete;
  DcReleaser& operator=(const DcReleaser&) = delete;
};

}  // namespace kelvane
