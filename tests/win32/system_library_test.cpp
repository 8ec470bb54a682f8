#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/file_version_win32.h"
#include "base/system_library_win32.h"

namespace kelvane {
namespace {

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

std::wstring TestFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path, length);
  return full.substr(0, full.find_last_of(L"\\/"));
}

std::wstring FolderOf(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<const wchar_t*>(address), &module);
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  const std::wstring full(path, length);
  return full.substr(0, full.find_last_of(L"\\/"));
}

TEST(SystemLibrary, CallsTheEntryOfTheSystemFoldersCopy) {
  SystemLibrary library(L"version.dll");
  SystemEntry<decltype(::GetFileVersionInfoSizeW)> infoSize(library, "GetFileVersionInfoSizeW");
  ASSERT_TRUE(infoSize.Available());
  const std::wstring kernel = SystemFolder() + L"\\kernel32.dll";
  DWORD ignored = 0;
  EXPECT_GT(infoSize.CallOr(DWORD{0}, kernel.c_str(), &ignored), 0u);
  EXPECT_EQ(lstrcmpiW(FolderOf(reinterpret_cast<const void*>(library.Find("GetFileVersionInfoSizeW"))).c_str(),
                      SystemFolder().c_str()),
            0);
}

TEST(SystemLibrary, AMissingEntryOrDllGivesTheFallback) {
  const struct {
    const wchar_t* dll;
    const char* entry;
  } cases[] = {{L"version.dll", "GetFileVersionInfoSizeKelvane"}, {L"kelvane-no-such.dll", "GetFileVersionInfoSizeW"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    SystemLibrary library(c.dll);
    SystemEntry<decltype(::GetFileVersionInfoSizeW)> entry(library, c.entry);
    EXPECT_FALSE(entry.Available());
    DWORD ignored = 0;
    EXPECT_EQ(entry.CallOr(DWORD{77}, L"C:\\nothing.dll", &ignored), 77u);
  }
}

TEST(SystemLibrary, LoadsAtTheFirstLookUpAndReleasesWithTheObject) {
  // A DLL nothing else in this test program uses.
  ASSERT_EQ(GetModuleHandleW(L"wtsapi32.dll"), nullptr);
  {
    SystemLibrary library(L"wtsapi32.dll");
    EXPECT_EQ(GetModuleHandleW(L"wtsapi32.dll"), nullptr);
    EXPECT_NE(library.Find("WTSFreeMemory"), nullptr);
    EXPECT_NE(GetModuleHandleW(L"wtsapi32.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleW(L"wtsapi32.dll"), nullptr);
}

TEST(SystemLibrary, NeverLoadsADllOfTheCurrentFolder) {
  // A DLL of a name the system folder lacks, as a download might bring.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kelvane-current-folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring planted = folder + L"\\kelvane-planted.dll";
  ASSERT_TRUE(CopyFileW((TestFolder() + L"\\planted\\powrprof.dll").c_str(), planted.c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

  SystemLibrary library(L"kelvane-planted.dll");
  EXPECT_EQ(library.Find("SetSuspendState"), nullptr);
  EXPECT_EQ(GetModuleHandleW(L"kelvane-planted.dll"), nullptr);
  // The ordinary search takes it from there.
  const HMODULE ordinary = LoadLibraryW(L"kelvane-planted.dll");
  EXPECT_NE(ordinary, nullptr);
  if (ordinary != nullptr) FreeLibrary(ordinary);

  SetCurrentDirectoryW(previous);
  DeleteFileW((planted + L".loaded").c_str());
  DeleteFileW(planted.c_str());
}

TEST(FileVersionReader, ReadsTheVersionResourceOfASystemFile) {
  FileVersionReader reader;
  const auto version = reader.Read(SystemFolder() + L"\\shell32.dll");
  ASSERT_TRUE(version.has_value());
  EXPECT_GE(version->major, 5);
  EXPECT_FALSE(reader.Read(SystemFolder() + L"\\kelvane-no-such-file.dll").has_value());
}

}  // namespace
}  // namespace kelvane
