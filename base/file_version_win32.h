#pragma once
// The fixed file version of a module or file with a version resource.
#include <optional>
#include <string>

namespace kelvane {

struct FileVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
  int build = 0;
};

// nullopt when the file has no version resource or its root block cannot
// be read.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);

}  // namespace kelvane
