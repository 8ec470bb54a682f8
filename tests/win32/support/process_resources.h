#pragma once
// What this process holds of the system's objects, for the soak tests:
// GDI objects, USER objects and kernel handles.
#include <string>

namespace kelvane::testing {

struct ResourceCounts {
  long gdi = 0;
  long user = 0;
  long handles = 0;
  bool operator==(const ResourceCounts&) const = default;
};

// Counted with GetGuiResources and GetProcessHandleCount. Wine answers both
// with 0 (stubs), so there the counts come from where Wine keeps the
// objects: the process's GDI handle table (the PEB points to it, laid out
// as on Windows), the system's handle list, and the USER handles that this
// process can look up.
ResourceCounts CountProcessResources();

std::string Describe(const ResourceCounts& counts);

}  // namespace kelvane::testing
