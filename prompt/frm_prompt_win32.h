#pragma once
#include <windows.h>

#include <string>

#include "prompt/prompt_model.h"

namespace kelvane {

// Shows the always-on-top prompt, modal to `owner`, and returns the answer.
PromptAnswer ShowPromptDialog(HWND owner, const std::string& actionName, HICON icon);

}  // namespace kelvane
