#include "conditions/condition.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace kelvane {
namespace {

constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();

// The octets the interfaces of both samples moved, each direction of each
// on its own: a counter that went back (reset, or wrapped) adds nothing for
// this span, nor does an interface that came or went between the samples.
std::uint64_t OctetsBetween(const std::vector<InterfaceOctets>& before, const std::vector<InterfaceOctets>& after) {
  std::uint64_t moved = 0;
  const auto add = [&moved](std::uint64_t from, std::uint64_t to) {
    if (to < from) return;
    moved = to - from > kMost - moved ? kMost : moved + (to - from);
  };
  for (const InterfaceOctets& now : after) {
    const auto then =
        std::find_if(before.begin(), before.end(), [&](const InterfaceOctets& i) { return i.id == now.id; });
    if (then == before.end()) continue;
    add(then->received, now.received);
    add(then->sent, now.sent);
  }
  return moved;
}

}  // namespace

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

namespace {

std::string UnavailableText(ConditionKind kind) {
  return kind == ConditionKind::NetworkQuiet ? "The network's figures are not available"
                                             : "The processor's figures are not available";
}

}  // namespace

std::optional<std::string> QuietUnavailable(ConditionSampler& sampler, ConditionKind kind) {
  const bool readable = kind == ConditionKind::NetworkQuiet     ? sampler.NetworkOctets().has_value()
                        : kind == ConditionKind::ProcessorQuiet ? sampler.SystemTimes().has_value()
                                                                : true;
  if (readable) return std::nullopt;
  return UnavailableText(kind);
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
  if (Quiet()) {
    std::optional<QuietSample> first = TakeSample(now);
    if (!first) return UnavailableText(choice.kind);
    Rebase(std::move(*first));
  }
  watching_ = true;
  armedAt_ = now;
  idle_ = {};
  return std::nullopt;
}

std::optional<ConditionWatch::QuietSample> ConditionWatch::TakeSample(std::chrono::milliseconds now) {
  QuietSample sample;
  sample.at = now;
  if (choice_.kind == ConditionKind::NetworkQuiet) {
    auto interfaces = sampler_.NetworkOctets();
    if (!interfaces) return std::nullopt;
    sample.interfaces = std::move(*interfaces);
  } else {
    const auto times = sampler_.SystemTimes();
    if (!times) return std::nullopt;
    sample.processor = *times;
  }
  return sample;
}

void ConditionWatch::Rebase(QuietSample sample) {
  baseline_ = std::move(sample);
  quietSince_.reset();
  rate_.reset();
  idle_ = {};
}

bool ConditionWatch::UpdateQuiet(std::chrono::milliseconds now) {
  const std::chrono::milliseconds span = now - baseline_.at;
  // Too short to tell (no time at all included): a later tick measures
  // over a longer span from the same baseline.
  if (span < kQuietSampleSpan) return false;
  std::optional<QuietSample> sample = TakeSample(now);
  // No figures this time: the next sample spans the gap, or starts over.
  if (!sample) return false;
  // After a sleep the counters stood still or restarted, which says
  // nothing about the user's downloads: the count starts over from here.
  if (span > kQuietSampleGap) {
    Rebase(std::move(*sample));
    return false;
  }
  bool quiet = false;
  if (choice_.kind == ConditionKind::NetworkQuiet) {
    const std::uint64_t octets = OctetsBetween(baseline_.interfaces, sample->interfaces);
    const auto spanMs = static_cast<std::uint64_t>(span.count());
    const std::uint64_t perSecond = octets > kMost / 1000 ? kMost : octets * 1000 / spanMs;
    rate_ = perSecond / 1024;
    quiet = perSecond < static_cast<std::uint64_t>(choice_.kbps) * 1024;
  } else {
    const ProcessorTimes& then = baseline_.processor;
    const ProcessorTimes& times = sample->processor;
    if (times.total < then.total || times.idle < then.idle) {
      Rebase(std::move(*sample));
      return false;
    }
    std::uint64_t total = times.total - then.total;
    // The processors' times did not move: nothing to measure yet.
    if (total == 0) return false;
    std::uint64_t busy = total - std::min(times.idle - then.idle, total);
    if (total > kMost / 100) {
      total /= 100;
      busy /= 100;
    }
    rate_ = busy * 100 / total;
    quiet = *rate_ < static_cast<std::uint64_t>(choice_.percent);
  }
  const std::chrono::milliseconds from = baseline_.at;
  baseline_ = std::move(*sample);
  if (!quiet) {
    quietSince_.reset();
    idle_ = {};
    return false;
  }
  if (!quietSince_) quietSince_ = from;
  idle_ = now - *quietSince_;
  return idle_ >= std::chrono::minutes{choice_.minutes};
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
  if (Quiet()) return UpdateQuiet(now);
  // Idle counts from the last input, but never from before the arming:
  // the click that armed was input, and a system that reports no input
  // time at all must not make the count start full.
  const std::chrono::milliseconds since = std::max(sampler_.SinceLastInput(), std::chrono::milliseconds{0});
  idle_ = now - std::max(now - since, armedAt_);
  return idle_ >= std::chrono::minutes{choice_.minutes};
}

std::string ConditionWatch::Status() const {
  if (choice_.kind == ConditionKind::ProgramEnds) return "Waiting for " + choice_.program + " to end";
  const int minutes = static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(idle_).count());
  char text[96];
  if (!Quiet()) {
    std::snprintf(text, sizeof text, "Idle %d of %d minutes", minutes, choice_.minutes);
  } else {
    const bool network = choice_.kind == ConditionKind::NetworkQuiet;
    const char* name = network ? "Network" : "Processor";
    if (rate_) {
      std::snprintf(text, sizeof text, "%s %llu %s, quiet %d of %d minutes", name,
                    static_cast<unsigned long long>(*rate_), network ? "KB/s" : "%", minutes, choice_.minutes);
    } else {
      std::snprintf(text, sizeof text, "%s quiet %d of %d minutes", name, minutes, choice_.minutes);
    }
  }
  return text;
}

std::string ConditionWatch::Description() const {
  const std::string minutes = std::to_string(choice_.minutes) + " minutes";
  switch (choice_.kind) {
    case ConditionKind::ProgramEnds: return "when " + choice_.program + " ends";
    case ConditionKind::NetworkQuiet: return "when the network is quiet for " + minutes;
    case ConditionKind::ProcessorQuiet: return "when the processor is quiet for " + minutes;
    case ConditionKind::Idle: break;
  }
  return "when idle for " + minutes;
}

}  // namespace kelvane
