#pragma once
// Real mouse and keyboard input for windows of the test program itself:
// xdotool runs on the X display that Wine draws on, so the input takes the
// whole road through X, Wine's driver and the message queue.
//
// Wine starts a Unix program for CreateProcessW (it forks and execs it) but
// hands back process handles that cannot be waited for, so each command
// ends by creating a file, and the caller pumps its messages until that file
// is there.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/handles_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane::testing {

class RealInput {
 public:
  RealInput() : stem_("/tmp/kelvane-grid-input-" + std::to_string(GetCurrentProcessId()) + "-") {}

  // Runs `xdotool <arguments>`; true once it has sent its input.
  bool Xdotool(const std::string& arguments) {
    const std::string base = stem_ + std::to_string(++count_);
    const std::string script = base + ".sh";
    const std::string done = base + ".done";
    if (!WriteText(script, "PATH=/usr/local/bin:/usr/bin:/bin:$PATH\nxdotool " + arguments + "\ntouch " + done +
                               "\n")) {
      return false;
    }
    std::wstring command = L"Z:\\bin\\sh " + std::wstring(script.begin(), script.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return false;
    }
    // Handles of a Unix process cannot be waited on; closing them is all.
    const UniqueHandle processHandle(process.hProcess);
    const UniqueHandle threadHandle(process.hThread);
    const std::wstring donePath = WindowsPath(done);
    const bool finished = PumpUntil([&] { return GetFileAttributesW(donePath.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileW(donePath.c_str());
    DeleteFileW(WindowsPath(script).c_str());
    return finished;
  }

  // Moves the pointer to a screen position and clicks `button` there
  // (1 left, 4 wheel up, 5 wheel down), holding `keys` (such as "ctrl").
  bool ClickAt(POINT screen, int button = 1, const std::string& keys = {}) {
    const std::string move = "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y);
    const std::string click = " click " + std::to_string(button);
    if (keys.empty()) return Xdotool(move + click);
    return Xdotool(move + " keydown " + keys + click + " keyup " + keys);
  }

  bool Drag(POINT from, POINT to) {
    const auto at = [](POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); };
    // Steps in between, as a hand makes them.
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    return Xdotool("mousemove " + at(from) + " mousedown 1 mousemove " + at(middle) + " sleep 0.05 mousemove " +
                   at(to) + " sleep 0.05 mouseup 1");
  }

  bool Keys(const std::string& keys) { return Xdotool("key --delay 30 " + keys); }
  bool Type(const std::string& text) { return Xdotool("type --delay 40 '" + text + "'"); }

 private:
  static std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (const char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
  }

  static bool WriteText(const std::string& unixPath, const std::string& text) {
    FILE* file = _wfopen(WindowsPath(unixPath).c_str(), L"wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
  }

  std::string stem_;
  int count_ = 0;
};

}  // namespace kelvane::testing
