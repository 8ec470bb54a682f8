// A task for the end-to-end tests that runs until the test lets it end:
// started with a file path, it creates "<path>.started", then waits until
// <path> exists (at most a minute) and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wstring path = commandLine != nullptr ? commandLine : L"";
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
  if (path.empty()) return 1;
  const HANDLE started = CreateFileW((path + L".started").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (started == INVALID_HANDLE_VALUE) return 2;
  CloseHandle(started);
  for (int waited = 0; waited < 60000; waited += 50) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return 0;
    Sleep(50);
  }
  return 3;
}
