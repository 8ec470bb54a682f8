#pragma once
// Drives the real program from another process, as a user would: finds its
// windows and controls, clicks, types and waits for conditions with a
// deadline.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvane::e2e {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

std::wstring TestFolder();                 // folder of the test program and the programs under test
std::wstring TempFile(const std::wstring& name);
std::string ReadFileText(const std::wstring& path);

// A started program, ended when the object goes if it still runs.
class Process {
 public:
  // In `currentFolder`, or the test's own when it is empty.
  explicit Process(std::wstring commandLine, const std::wstring& currentFolder = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Exited(std::chrono::milliseconds timeout = 10s) const;
  // Ends the process at once, as a crash or the task manager does: nothing
  // of its own runs any more. True once it has gone.
  bool Kill();

 protected:
  PROCESS_INFORMATION info_{};
};

class Program : public Process {
 public:
  // Starts kelvane-recording.exe with its power calls logged to `powerLog`.
  explicit Program(const std::wstring& powerLog);
  // Another build of the program, such as the shipped kelvane.exe.
  Program(std::wstring commandLine, const std::wstring& currentFolder) : Process(std::move(commandLine), currentFolder) {}

  HWND MainWindow(std::chrono::milliseconds timeout = 10s) const;
  // The prompt once it shows; it comes at the end of a countdown.
  HWND Prompt(std::chrono::milliseconds timeout = 15s) const;
  // The message box that asks before quitting or reports an error.
  HWND Question() const;
  // A top-level window of the program with this class (or title) once it is visible.
  HWND FindWindowOf(const wchar_t* className, const wchar_t* title, std::chrono::milliseconds timeout = 10s) const;
  DWORD id() const { return info_.dwProcessId; }
};

// Asks the input maker beside the test program for real input, given as
// the arguments of one xdotool command, and waits until it has been made.
bool RealInput(const std::string& xdotoolArguments);
// Presses keys such as "ctrl+F1" with the program's main window focused.
inline bool PressKeys(const std::string& keys) { return RealInput("key " + keys); }
// Moves the mouse to a screen position and clicks a button (1 left, 3 right).
bool ClickScreen(POINT point, int button);

// The centre of a control on the screen.
POINT CentreOf(HWND parent, int id);
// Keys (xdotool key names) for the window that has the focus now. The
// presser focuses the main window before a request that starts with "key";
// one that starts with "sleep" goes to whatever window the user is in.
bool TypeIntoFocus(const std::string& keys);
// The xdotool key names that type `text` (ASCII letters, digits, blanks and
// the punctuation of paths and command lines).
std::string KeysFor(const std::string& text);

// The icons shown in Wine's stand-alone tray window.
std::vector<HWND> TrayIcons();

// Whether `window` has been closed or hidden within `timeout`.
bool Gone(HWND window, std::chrono::milliseconds timeout = 10s);
// Clicks the close image of a window's drawn frame.
void ClickCloseImage(HWND window);
// Clicks a message box's button, such as IDYES.
void Answer(HWND question, int button);

// Whether any child window of `window` shows exactly `text`.
bool HasChildText(HWND window, const std::wstring& text);

std::wstring Text(HWND window);
std::wstring ControlText(HWND parent, int id);
void SetControlText(HWND parent, int id, const std::wstring& text);
void Click(HWND parent, int id);
bool IsChecked(HWND parent, int id);
void SetChecked(HWND parent, int id, bool checked);
void SelectComboIndex(HWND parent, int id, int index);
std::wstring ComboText(HWND parent, int id);
// Presses and releases the left mouse button at a client position.
void ClickAt(HWND window, int x, int y);

std::optional<std::wstring> RegistryText(const std::wstring& key, const std::wstring& value);
void SetRegistryText(const std::wstring& key, const std::wstring& value, const std::wstring& data);
void DeleteRegistryTree(const std::wstring& key);

}  // namespace kelvane::e2e
