#include "base/file_version_win32.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace kelvane {
namespace {

// The version resource of a file; empty when it has none.
std::vector<unsigned char> VersionResource(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
  return data;
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
  std::vector<unsigned char> data = VersionResource(path);
  if (data.empty()) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                     LOWORD(info->dwFileVersionLS)};
}

std::wstring ReadVersionText(const std::wstring& path, const std::wstring& name) {
  std::vector<unsigned char> data = VersionResource(path);
  if (data.empty()) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &length) ||
      translations == nullptr || length < sizeof(Translation)) {
    return {};
  }
  wchar_t block[64];
  std::swprintf(block, std::size(block), L"\\StringFileInfo\\%04x%04x\\", translations[0].language,
                translations[0].codePage);
  wchar_t* text = nullptr;
  const std::wstring query = block + name;
  if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr ||
      length == 0) {
    return {};
  }
  // The length counts the terminating null.
  return std::wstring(text, wcsnlen(text, length));
}

}  // namespace kelvane
