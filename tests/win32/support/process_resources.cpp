#include "win32/support/process_resources.h"

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <vector>

namespace kelvane::testing {
namespace {

// One entry of the GDI handle table, 24 bytes on 64-bit Windows and in Wine.
struct GdiTableEntry {
  std::uint64_t kernelObject;
  std::uint16_t processId;
  std::uint16_t count;
  std::uint16_t unique;
  std::uint8_t type;  // 0 for a free entry
  std::uint8_t flags;
  std::uint64_t userObject;
};
static_assert(sizeof(GdiTableEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;

template <typename Function>
Function NtdllFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long CountGdiTableEntries() {
  // NtCurrentTeb's inline read of the TEB trips -Warray-bounds; the
  // process's basic information names the PEB as well.
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = NtdllFunction<QueryProcess>("NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const GdiTableEntry* const*>(peb + kPebGdiSharedHandleTable);
  if (table == nullptr) return -1;
  long count = 0;
  for (std::size_t i = 0; i < kGdiTableEntries; ++i) count += table[i].type != 0 ? 1 : 0;
  return count;
}

struct SystemHandleEntry {
  ULONG processId;
  UCHAR objectType;
  UCHAR flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

long CountHandlesInSystemList() {
  using Query = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = NtdllFunction<Query>("NtQuerySystemInformation");
  if (query == nullptr) return -1;
  std::vector<unsigned char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  const DWORD self = GetCurrentProcessId();
  long count = 0;
  for (ULONG i = 0; i < entries; ++i) count += entry[i].processId == self ? 1 : 0;
  return count;
}

// Wine's USER handles are 16-bit indices that its lookups accept without
// the upper word; windows, menus, icons and cursors share that space.
long CountUserHandles() {
  using IconSize = BOOL(WINAPI*)(HICON, UINT, LONG*, LONG*);
  const HMODULE win32u = GetModuleHandleW(L"win32u.dll");
  const auto iconSize = win32u == nullptr ? nullptr
                                          : reinterpret_cast<IconSize>(reinterpret_cast<void*>(
                                                GetProcAddress(win32u, "NtUserGetIconSize")));
  const DWORD self = GetCurrentProcessId();
  long count = 0;
  for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
    const auto handle = reinterpret_cast<HANDLE>(index);
    if (IsMenu(static_cast<HMENU>(handle))) {
      ++count;
    } else if (IsWindow(static_cast<HWND>(handle))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
      count += owner == self ? 1 : 0;
    } else if (iconSize != nullptr) {
      LONG width = 0;
      LONG height = 0;
      count += iconSize(static_cast<HICON>(handle), 0, &width, &height) ? 1 : 0;
    }
  }
  return count;
}

}  // namespace

ResourceCounts CountProcessResources() {
  const HANDLE self = GetCurrentProcess();
  ResourceCounts counts;
  counts.gdi = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
  counts.user = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
  DWORD handles = 0;
  if (GetProcessHandleCount(self, &handles)) counts.handles = static_cast<long>(handles);
  // A process with a window has GDI and USER objects and handles; zero
  // means the call is not implemented.
  if (counts.gdi == 0) counts.gdi = CountGdiTableEntries();
  if (counts.user == 0) counts.user = CountUserHandles();
  if (counts.handles == 0) counts.handles = CountHandlesInSystemList();
  return counts;
}

std::string Describe(const ResourceCounts& counts) {
  return "GDI " + std::to_string(counts.gdi) + ", USER " + std::to_string(counts.user) + ", handles " +
         std::to_string(counts.handles);
}

}  // namespace kelvane::testing
