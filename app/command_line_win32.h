#pragma once
// The command line's way in and out: the program's arguments, handing them
// to the running program, and writing the answer where the caller reads it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/main_form.h"

namespace kelvane {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArguments();

// Gives the arguments to the running program's main window and waits for its
// answer; nullopt when it did not answer.
std::optional<MainForm::CommandReply> SendToRunningProgram(HWND running, const std::vector<std::string>& arguments);

// Writes the text to the standard output the program was given, or to the
// console of the program that started it. Without either, a message box
// with `boxIcon` shows it, or nothing does when that is 0.
void ReportToCaller(const std::string& text, UINT boxIcon);

}  // namespace kelvane
