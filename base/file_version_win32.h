#pragma once
// The version resource of a module or file: its fixed file version and its
// texts.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/system_library_win32.h"

namespace kelvane {

struct FileVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
  int build = 0;
};

// Reads version resources through version.dll, loaded from the system
// folder at the first reading and kept with the reader.
class FileVersionReader {
 public:
  // nullopt when the file has no version resource, its root block cannot be
  // read, or this Windows lacks version.dll.
  std::optional<FileVersion> Read(const std::wstring& path);
  // A text of the version resource ("LegalCopyright", "CompanyName", ...) in
  // the resource's first language; empty when there is none.
  std::wstring ReadText(const std::wstring& path, const std::wstring& name);

 private:
  // The version resource of a file; empty when it has none.
  std::vector<unsigned char> Resource(const std::wstring& path);

  SystemLibrary version_{L"version.dll"};
  SystemEntry<decltype(::GetFileVersionInfoSizeW)> infoSize_{version_, "GetFileVersionInfoSizeW"};
  SystemEntry<decltype(::GetFileVersionInfoW)> info_{version_, "GetFileVersionInfoW"};
  SystemEntry<decltype(::VerQueryValueW)> query_{version_, "VerQueryValueW"};
};

// One reading, with a reader of its own.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);
std::wstring ReadVersionText(const std::wstring& path, const std::wstring& name);

}  // namespace kelvane
