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

struct DcReleaser {
  HWND window;
  HDC dc;
  DcReleaser(HWND w) : window(w), dc(GetDC(w)) {}  // NOLINT(google-explicit-constructor)
  ~DcReleaser() { if (dc != nullptr) ReleaseDC(window, dc); }
  DcReleaser(const DcReleaser&) = delete;
  DcReleaser& operator=(const DcReleaser&) = delete;
};

}  // namespace kelvane
