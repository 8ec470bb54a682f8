#include "options/autostart.h"

namespace kelvane {

AutostartEntry AutostartEntryFor(std::string_view programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  std::string folder(slash == std::string_view::npos ? std::string_view{} : programPath.substr(0, slash));
  std::string_view file = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const std::size_t dot = file.rfind('.');
  const std::string base(dot == std::string_view::npos ? file : file.substr(0, dot));
  AutostartEntry entry;
  entry.name = base + ".Exe";
  // Quoted, so that a folder with blanks ("C:\Program Files\...") cannot make
  // the shell start a different program at logon.
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += entry.name;
  entry.data = "\"" + path + "\"";
  return entry;
}

void SetAutostart(RunKey& runKey, std::string_view programPath, bool enable) {
  const AutostartEntry entry = AutostartEntryFor(programPath);
  if (enable) {
    runKey.SetValue(entry.name, entry.data);
  } else {
    runKey.DeleteValue(entry.name);
  }
}

}  // namespace kelvane
