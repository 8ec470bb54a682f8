#include "e2e/support/driver.h"

#include <cstdio>
#include <thread>

#include "base/control_ids.h"

namespace kelvane::e2e {

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

std::wstring TestFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring TempFile(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return text;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
  std::fclose(file);
  return text;
}

Process::Process(std::wstring command, const std::wstring& currentFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                 currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info_);
  if (info_.hThread != nullptr) CloseHandle(info_.hThread);
  info_.hThread = nullptr;
}

namespace {

// The child inherits the variable that names its power log.
std::wstring RecordingCommand(const std::wstring& powerLog) {
  SetEnvironmentVariableW(L"KELVANE_POWER_LOG", powerLog.c_str());
  return L"\"" + TestFolder() + L"\\kelvane-recording.exe\"";
}

}  // namespace

Program::Program(const std::wstring& powerLog) : Process(RecordingCommand(powerLog)) {}

Process::~Process() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
}

bool Process::Kill() {
  return info_.hProcess != nullptr && TerminateProcess(info_.hProcess, 1) && Exited();
}

bool Process::Exited(std::chrono::milliseconds timeout) const {
  return info_.hProcess != nullptr &&
         WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

HWND Program::FindWindowOf(const wchar_t* className, const wchar_t* title, std::chrono::milliseconds timeout) const {
  struct Search {
    DWORD process;
    const wchar_t* className;
    const wchar_t* title;
    HWND found = nullptr;
  } search{info_.dwProcessId, className, title};
  WaitFor(
      [&] {
        search.found = nullptr;
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
              auto& s = *reinterpret_cast<Search*>(parameter);
              DWORD process = 0;
              GetWindowThreadProcessId(window, &process);
              if (process != s.process || !IsWindowVisible(window)) return TRUE;
              wchar_t buffer[256] = {};
              if (s.className != nullptr) {
                GetClassNameW(window, buffer, 256);
                if (std::wstring(buffer) != s.className) return TRUE;
              }
              if (s.title != nullptr && Text(window) != s.title) return TRUE;
              s.found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  return search.found;
}

HWND Program::MainWindow(std::chrono::milliseconds timeout) const {
  return FindWindowOf(L"KelvaneMain", L" Kelvane", timeout);
}

HWND Program::Prompt(std::chrono::milliseconds timeout) const {
  return FindWindowOf(kPromptWindowClass, L"Kelvane", timeout);
}

HWND Program::Question() const { return FindWindowOf(L"#32770", L"Kelvane"); }

std::vector<HWND> TrayIcons() {
  std::vector<HWND> icons;
  const HWND tray = FindWindowW(nullptr, L"Wine System Tray");
  if (tray == nullptr) return icons;
  EnumChildWindows(
      tray,
      [](HWND child, LPARAM found) -> BOOL {
        if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&icons));
  return icons;
}

bool Gone(HWND window, std::chrono::milliseconds timeout) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

void ClickCloseImage(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  ClickAt(window, client.right - 8, 8);
}

void Answer(HWND question, int button) { PostMessageW(GetDlgItem(question, button), BM_CLICK, 0, 0); }

std::wstring Text(HWND window) {
  wchar_t buffer[512] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &result);
  return buffer;
}

std::wstring ControlText(HWND parent, int id) { return Text(GetDlgItem(parent, id)); }

void SetControlText(HWND parent, int id, const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(parent, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      5000, &result);
}

void Click(HWND parent, int id) {
  // Posted, so that a modal window opened by the click does not block the test.
  PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND parent, int id) {
  return SendMessageW(GetDlgItem(parent, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND parent, int id, bool checked) {
  if (IsChecked(parent, id) != checked) {
    SendMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0);
  }
}

void SelectComboIndex(HWND parent, int id, int index) {
  const HWND combo = GetDlgItem(parent, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::wstring ComboText(HWND parent, int id) { return ControlText(parent, id); }

void ClickAt(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::optional<std::wstring> RegistryText(const std::wstring& key, const std::wstring& value) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

void SetRegistryText(const std::wstring& key, const std::wstring& value, const std::wstring& data) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
}

void DeleteRegistryTree(const std::wstring& key) { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }

}  // namespace kelvane::e2e

namespace kelvane::e2e {

bool RealInput(const std::string& keys) {
  wchar_t request[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"KELVANE_KEYS_REQUEST", request, MAX_PATH) == 0) return false;
  // Written beside and renamed, so the presser never reads half a request.
  const std::wstring partial = std::wstring(request) + L".part";
  FILE* file = _wfopen(partial.c_str(), L"wb");
  if (file == nullptr) return false;
  std::fwrite(keys.data(), 1, keys.size(), file);
  std::fclose(file);
  if (!MoveFileExW(partial.c_str(), request, MOVEFILE_REPLACE_EXISTING)) return false;
  return WaitFor([&] { return GetFileAttributesW(request) == INVALID_FILE_ATTRIBUTES; });
}

bool ClickScreen(POINT point, int button) {
  return RealInput("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click " +
                   std::to_string(button));
}

POINT CentreOf(HWND parent, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(parent, id), &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool TypeIntoFocus(const std::string& keys) { return RealInput("sleep 0.2 key " + keys); }

std::string KeysFor(const std::string& text) {
  constexpr std::pair<char, const char*> kNamed[] = {
      {' ', "space"},      {'\\', "backslash"}, {':', "colon"},       {'.', "period"},   {'%', "percent"},
      {'_', "underscore"}, {'-', "minus"},      {'"', "quotedbl"},    {'>', "greater"},  {'/', "slash"},
  };
  std::string keys;
  for (const char c : text) {
    if (!keys.empty()) keys += ' ';
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      keys += c;
    } else if (c >= 'A' && c <= 'Z') {
      keys += "shift+";
      keys += static_cast<char>(c - 'A' + 'a');
    } else {
      for (const auto& [character, name] : kNamed) {
        if (character == c) keys += name;
      }
    }
  }
  return keys;
}

bool HasChildText(HWND window, const std::wstring& text) {
  struct Search {
    std::wstring text;
    bool found = false;
  } search{text};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM parameter) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(parameter);
        if (Text(child) == s.text) s.found = true;
        return !s.found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace kelvane::e2e
