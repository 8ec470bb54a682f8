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

// A text of the version resource ("LegalCopyright", "CompanyName", ...) in
// the resource's first language; empty when there is none.
std::wstring ReadVersionText(const std::wstring& path, const std::wstring& name);

}  // namespace kelvane
