#pragma once
// The fixed file version of a module or file with a version resource.
#include <windows.h>

#include <optional>
#include <string>

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

 private:
  SystemLibrary version_{L"version.dll"};
  SystemEntry<decltype(::GetFileVersionInfoSizeW)> infoSize_{version_, "GetFileVersionInfoSizeW"};
  SystemEntry<decltype(::GetFileVersionInfoW)> info_{version_, "GetFileVersionInfoW"};
  SystemEntry<decltype(::VerQueryValueW)> query_{version_, "VerQueryValueW"};
};

// One reading, with a reader of its own.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);

}  // namespace kelvane
