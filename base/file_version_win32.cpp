#include "base/file_version_win32.h"

#include <vector>

namespace kelvane {

std::optional<FileVersion> FileVersionReader::Read(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = infoSize_.CallOr(DWORD{0}, path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!info_.CallOr(FALSE, path.c_str(), DWORD{0}, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!query_.CallOr(FALSE, data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                     LOWORD(fixed->dwFileVersionLS)};
}

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
  FileVersionReader reader;
  return reader.Read(path);
}

}  // namespace kelvane
