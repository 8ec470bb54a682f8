#pragma once
// RAII owners for the Windows handles the program holds.
#include <windows.h>

#include <memory>

namespace kelvane {

// Closes a handle with the function that releases its kind; a null handle
// is left alone.
template <typename Handle, auto Release>
struct HandleCloser {
  using pointer = Handle;
  void operator()(Handle h) const noexcept {
    if (h != nullptr) Release(h);
  }
};

template <typename Handle, auto Release>
using UniqueOf = std::unique_ptr<Handle, HandleCloser<Handle, Release>>;

// GDI objects of every kind are released by DeleteObject.
inline void DeleteGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }

using UniqueWindow = UniqueOf<HWND, &DestroyWindow>;
using UniqueIcon = UniqueOf<HICON, &DestroyIcon>;
using UniqueMenu = UniqueOf<HMENU, &DestroyMenu>;
using UniqueKey = UniqueOf<HKEY, &RegCloseKey>;
using UniqueGdiObject = UniqueOf<HGDIOBJ, &DeleteGdiObject>;
using UniqueFont = UniqueOf<HFONT, &DeleteGdiObject>;
using UniqueBitmap = UniqueOf<HBITMAP, &DeleteGdiObject>;
using UniqueBrush = UniqueOf<HBRUSH, &DeleteGdiObject>;
// For APIs that report failure with a null handle.
using UniqueHandle = UniqueOf<HANDLE, &CloseHandle>;

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

using UniquePen = UniqueOf<HPEN, &DeleteGdiObject>;
using UniqueMemoryDc = UniqueOf<HDC, &DeleteDC>;
using UniqueEventSource = UniqueOf<HANDLE, &DeregisterEventSource>;
using UniqueModule = UniqueOf<HMODULE, &FreeLibrary>;

// A window's device context from GetDC, released with it.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back,
// so that the object can be deleted after the guard.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectionGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kelvane
