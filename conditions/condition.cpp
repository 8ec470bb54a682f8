#include "conditions/condition.h"

#include <algorithm>
#include <cstdio>

namespace kelvane {

std::optional<ConditionKind> ConditionAt(int index) {
  if (index < 0 || index >= static_cast<int>(kConditionNames.size())) return std::nullopt;
  return static_cast<ConditionKind>(index);
}

std::vector<std::string> ProgramListItems(std::vector<RunningProgram> programs) {
  std::vector<std::string> items;
  for (const RunningProgram& program : programs) {
    std::string item = program.executable + ": " + program.title;
    if (!program.executable.empty() && std::find(items.begin(), items.end(), item) == items.end()) {
      items.push_back(std::move(item));
    }
  }
  return items;
}

std::string ExecutableOf(std::string_view text) {
  text = text.substr(0, text.find(": "));
  const std::size_t folder = text.find_last_of("\\/");
  if (folder != std::string_view::npos) text.remove_prefix(folder + 1);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string NotRunningText(std::string_view program) {
  return (program.empty() ? std::string("The program") : std::string(program)) + " is not running";
}

std::optional<std::string> ConditionWatch::Start(const ConditionChoice& choice, std::chrono::milliseconds now) {
  Stop();
  if (choice.kind == ConditionKind::ProgramEnds && sampler_.WatchProgram(choice.program) == 0) {
    sampler_.StopWatching();
    // A program that has ended already would fire at once, which is never
    // what the user meant: most likely the name is wrong.
    return NotRunningText(choice.program);
  }
  choice_ = choice;
  watching_ = true;
  armedAt_ = now;
  idle_ = {};
  return std::nullopt;
}

void ConditionWatch::Stop() {
  if (watching_ && choice_.kind == ConditionKind::ProgramEnds) sampler_.StopWatching();
  watching_ = false;
}

bool ConditionWatch::Update(std::chrono::milliseconds now) {
  if (!watching_) return false;
  if (choice_.kind == ConditionKind::ProgramEnds) {
    // When the last process waited on ends, one started since (the next
    // step of a batch) takes over the wait; only none at all is the end.
    return sampler_.WatchedProgramsRunning() == 0 && sampler_.WatchProgram(choice_.program) == 0;
  }
  // Idle counts from the last input, but never from before the arming:
  // the click that armed was input, and a system that reports no input
  // time at all must not make the count start full.
  const std::chrono::milliseconds since = std::max(sampler_.SinceLastInput(), std::chrono::milliseconds{0});
  idle_ = now - std::max(now - since, armedAt_);
  return idle_ >= std::chrono::minutes{choice_.minutes};
}

std::string ConditionWatch::Status() const {
  if (choice_.kind == ConditionKind::ProgramEnds) return "Waiting for " + choice_.program + " to end";
  char text[64];
  std::snprintf(text, sizeof text, "Idle %d of %d minutes",
                static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(idle_).count()), choice_.minutes);
  return text;
}

std::string ConditionWatch::Description() const {
  if (choice_.kind == ConditionKind::ProgramEnds) return "when " + choice_.program + " ends";
  return "when idle for " + std::to_string(choice_.minutes) + " minutes";
}

}  // namespace kelvane
