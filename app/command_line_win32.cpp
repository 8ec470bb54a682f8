#include "app/command_line_win32.h"

#include <shellapi.h>

#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/product.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

constexpr wchar_t kReplyWindowClass[] = L"Kelvane.CommandReply";
constexpr UINT kAnswerTimeoutMs = 30000;

// Receives the running program's answer while this thread waits in
// SendMessageTimeoutW, which delivers messages sent to it meanwhile.
LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
  auto* reply = reinterpret_cast<std::string*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (reply == nullptr || data.dwData != kCommandReplyData || data.cbData > kMaxCommandLineBytes * 4) return FALSE;
  reply->assign(static_cast<const char*>(data.lpData), data.cbData);
  return TRUE;
}

}  // namespace

std::vector<std::string> ProgramArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (list == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(list[i]));
  LocalFree(list);
  return arguments;
}

std::optional<MainForm::CommandReply> SendToRunningProgram(HWND running, const std::vector<std::string>& arguments) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ReplyWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kReplyWindowClass;
  RegisterClassW(&windowClass);  // Fails only when registered already.
  const UniqueWindow replyWindow(CreateWindowExW(0, kReplyWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                 windowClass.hInstance, nullptr));
  if (!replyWindow) return std::nullopt;
  MainForm::CommandReply reply;
  SetWindowLongPtrW(replyWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply.text));

  const std::string packed = PackArguments(arguments);
  COPYDATASTRUCT data{kCommandLineData, static_cast<DWORD>(packed.size()), const_cast<char*>(packed.data())};
  DWORD_PTR result = 0;
  // The running program answers 1 plus the exit code; 0 is no answer.
  if (SendMessageTimeoutW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow.get()),
                          reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) == 0 ||
      result == 0) {
    return std::nullopt;
  }
  reply.exitCode = static_cast<int>(result) - 1;
  return reply;
}

void ReportToCaller(const std::string& text, UINT boxIcon) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  UniqueFileHandle console;
  // A program started from a console window has no standard handles of its
  // own (it is a windows program); it writes to its parent's console. Wine
  // passes the shell's handles even so, and cannot attach from a Unix shell.
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
      console.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
      out = console.get();
    }
  }
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    if (boxIcon != 0) MessageBoxW(nullptr, Widen(text).c_str(), kProductNameWide.data(), MB_OK | boxIcon);
    return;
  }
  std::string lines;
  for (const char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  if (!lines.empty() && lines.back() != '\n') lines += "\r\n";
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = Widen(lines);
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  }
}

}  // namespace kelvane
