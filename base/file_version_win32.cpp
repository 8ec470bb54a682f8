#include "base/file_version_win32.h"

#include <cwchar>

namespace kelvane {

std::vector<unsigned char> FileVersionReader::Resource(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = infoSize_.CallOr(DWORD{0}, path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> data(size);
  if (!info_.CallOr(FALSE, path.c_str(), DWORD{0}, size, data.data())) return {};
  return data;
}

std::optional<FileVersion> FileVersionReader::Read(const std::wstring& path) {
  std::vector<unsigned char> data = Resource(path);
  if (data.empty()) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!query_.CallOr(FALSE, data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                     LOWORD(fixed->dwFileVersionLS)};
}

std::wstring FileVersionReader::ReadText(const std::wstring& path, const std::wstring& name) {
  std::vector<unsigned char> data = Resource(path);
  if (data.empty()) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!query_.CallOr(FALSE, data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                     &length) ||
      translations == nullptr || length < sizeof(Translation)) {
    return {};
  }
  // Formatted by hand: swprintf would bring the C library's whole wide
  // formatter into the exe for four hex digits.
  std::wstring query = L"\\StringFileInfo\\";
  for (const WORD part : {translations[0].language, translations[0].codePage}) {
    for (int shift = 12; shift >= 0; shift -= 4) query += L"0123456789abcdef"[(part >> shift) & 0xF];
  }
  query += L'\\';
  query += name;
  wchar_t* text = nullptr;
  if (!query_.CallOr(FALSE, data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr ||
      length == 0) {
    return {};
  }
  // The length counts the terminating null.
  return std::wstring(text, wcsnlen(text, length));
}

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
  FileVersionReader reader;
  return reader.Read(path);
}

std::wstring ReadVersionText(const std::wstring& path, const std::wstring& name) {
  FileVersionReader reader;
  return reader.ReadText(path, name);
}

}  // namespace kelvane
