#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "prompt/prompt_model.h"

namespace kelvane {

// Shows the always-on-top prompt, modal to `owner`, and returns the answer;
// nullopt when the prompt's window could not be made. Unanswered for
// `timeoutSeconds` (0: never), it answers Execute by itself.
std::optional<PromptAnswer> ShowPromptDialog(HWND owner, const std::string& actionName, HICON icon,
                                             int timeoutSeconds);

}  // namespace kelvane
