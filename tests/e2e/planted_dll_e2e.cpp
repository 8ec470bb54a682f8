// The shipped program started from a download folder that also holds
// look-alikes of the system DLLs it uses (tests/e2e/helpers/planted_dll.cpp),
// with Wine told to look in the program's folder first for those names, as
// Windows does for every DLL that is not a KnownDLL. Wine takes that from
// its per-program registry key: a WINEDLLOVERRIDES set by one Windows
// process does not reach the programs it starts.
#include <windows.h>
#include <tlhelp32.h>

#include <array>
#include <string>

#include "e2e/support/program_test.h"

namespace kelvane::e2e {
namespace {

constexpr std::array<const wchar_t*, 3> kPlanted{L"version.dll", L"msimg32.dll", L"powrprof.dll"};
constexpr std::array<const wchar_t*, 2> kPrograms{L"kelvane.exe", L"kelvane_dll_probe.exe"};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

// Whether the process has the module with this full path loaded now.
bool HasLoaded(DWORD process, const std::wstring& path) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &module); more && !found; more = Module32NextW(snapshot, &module)) {
    found = lstrcmpiW(module.szExePath, path.c_str()) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

class PlantedDllTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CreateDirectoryW(downloads_.c_str(), nullptr);
    const std::wstring build = TestFolder();
    for (const wchar_t* dll : kPlanted) {
      ASSERT_TRUE(CopyFileW((build + L"\\planted\\" + dll).c_str(), (downloads_ + L"\\" + dll).c_str(), FALSE));
      for (const wchar_t* mark : {L".loaded", L".called"}) DeleteFileW((downloads_ + L"\\" + dll + mark).c_str());
    }
    for (const wchar_t* program : kPrograms) {
      ASSERT_TRUE(CopyFileW((build + L"\\" + program).c_str(), (downloads_ + L"\\" + program).c_str(), FALSE));
      for (const std::wstring dll : kPlanted) {
        SetRegistryText(OverridesOf(program), dll.substr(0, dll.find(L'.')), L"native,builtin");
      }
    }
  }
  void TearDown() override {
    for (const wchar_t* program : kPrograms) DeleteRegistryTree(L"Software\\Wine\\AppDefaults\\" + std::wstring(program));
  }

  static std::wstring OverridesOf(const wchar_t* program) {
    return L"Software\\Wine\\AppDefaults\\" + std::wstring(program) + L"\\DllOverrides";
  }
  bool Marked(const wchar_t* dll, const wchar_t* mark) const { return Exists(downloads_ + L"\\" + dll + mark); }
  std::wstring Command(const wchar_t* program) const { return L"\"" + downloads_ + L"\\" + program + L"\""; }

  const std::wstring downloads_ = TempFile(L"kelvane-downloads");
};

TEST_F(PlantedDllTest, AProgramThatImportsThemTheOrdinaryWayRunsTheLookAlikes) {
  Process probe(Command(L"kelvane_dll_probe.exe"), downloads_);
  ASSERT_TRUE(probe.Exited(30s));
  for (const wchar_t* dll : kPlanted) {
    SCOPED_TRACE(std::string(dll, dll + lstrlenW(dll)));
    EXPECT_TRUE(Marked(dll, L".loaded"));
    EXPECT_TRUE(Marked(dll, L".called"));
  }
}

TEST_F(PlantedDllTest, KelvaneUsesTheSystemsCopiesAndNeverRunsALookAlike) {
  Configure({{L"Action", L"3"}, {L"Prompt", L"True"}});  // Suspend: harmless under Wine
  Program program(Command(L"kelvane.exe"), downloads_);
  const HWND main = program.MainWindow(30s);
  ASSERT_NE(main, nullptr) << "the program did not start";
  const std::wstring system = SystemFolder();

  // Each DLL as the program comes to use it: the shell's version at start,
  // the prompt's picture, the suspend.
  EXPECT_TRUE(WaitFor([&] { return HasLoaded(program.id(), system + L"\\version.dll"); }));
  ArmSeconds(main, L"1");
  const HWND prompt = program.Prompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(WaitFor([&] { return HasLoaded(program.id(), system + L"\\msimg32.dll"); }));
  Click(prompt, Id(PromptControl::cmdExecute));
  EXPECT_TRUE(WaitFor([&] { return HasLoaded(program.id(), system + L"\\powrprof.dll"); }));
  EXPECT_TRUE(WaitFor([&] { return !Armed(main); }));

  for (const wchar_t* dll : kPlanted) {
    SCOPED_TRACE(std::string(dll, dll + lstrlenW(dll)));
    EXPECT_FALSE(Marked(dll, L".called")) << "the program called the look-alike";
  }
  // Nothing but the program itself would load powrprof.dll. Wine's own
  // user32 imports version.dll, and the uxtheme.dll that Wine's comctl32
  // loads as the process starts imports msimg32.dll: both look-alikes are
  // loaded by Wine before the program's first instruction, which no program
  // can prevent there; Windows' KnownDLLs import neither.
  EXPECT_FALSE(Marked(L"powrprof.dll", L".loaded"));
}

}  // namespace
}  // namespace kelvane::e2e
