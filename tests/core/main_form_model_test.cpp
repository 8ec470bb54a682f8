// Random sequences of what a user and the system do to the main form: ticks,
// arming and disarming, prompt answers, boss-key presses, quitting, the end
// of the session, task runs with events inside them, and refused power calls.
// A small model of the user's choices says which power calls are allowed;
// after every sequence:
// - every power call is one that the user's last choice asked for,
// - no power call follows a confirmed quit or the end of the session,
// - a Shutdown, Restart or Log Off that was not forced leaves the program
//   running, and the prompt asks again once 60 seconds have passed on the
//   elapsed clock (never before); an Execute there forces the action,
// - the program ends only when the user quits, the session ends or a
//   forced shutdown or restart was made,
// - no window stays hidden once the program has ended (unless it ended by
//   shutting the computer down, which leaves the desktop as it is).
// KELVANE_MODEL_SEQUENCES sets the number of sequences (the test command
// runs a short version).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "core/main_form_fakes.h"
#include "fakes/fake_time.h"
#include "fakes/memory_settings_store.h"
#include "fakes/recording_tray.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeClock;
using testing::FakeParts;
using testing::FakeView;
using testing::FakeZone;
using testing::Log;
using testing::MemorySettingsStore;
using testing::RecordingTray;
using testing::Utc;

class ModelRun;

// The power calls, each checked against the model when it is made.
class CheckedPower : public PowerApi {
 public:
  explicit CheckedPower(ModelRun& run) : run_(run) {}
  ReportedVersion QueryVersion() override { return {2, 6, 1, 7601}; }
  void SetShutdownPrivilege(bool) override {}
  bool ExitSession(std::uint32_t flags) override;
  bool SetSuspendState(bool hibernate, bool, bool) override;
  bool LockWorkStation() override;
  void KeepSystemAwake(bool on) override { awake = on; }
  void SetWakeTimer(std::optional<Instant>) override {}
  bool awake = false;

 private:
  ModelRun& run_;
};

enum class Event { Tick, Toggle, PickAction, FlipPrompt, BossKey, AltKey, Quit, EndSession, ShowHidden, Escape };

class ModelRun {
 public:
  explicit ModelRun(std::uint32_t seed) : rng_(seed), power_(*this) {
    store_ = RandomSettings();
    form_.emplace(view_, view_, MainServices{store_, power_, clock_, zone_, tray_, parts_, parts_, parts_, hider_,
                                             parts_, "k.exe", "C:\\A"});
    view_.prompt = [this](const std::string&) { return AnswerPrompt(); };
    view_.askQuit = [this] { return AnswerQuit(); };
    parts_.duringTask = [this](int) { Nested(); };
  }

  // Runs one sequence; the faults found, empty when none.
  std::string Run() {
    form_->Start();
    AfterArmingEvent(Event::Toggle, false);  // EnabledStart may have armed
    const int length = Pick(1, 40);
    for (int i = 0; i < length && !Gone(); ++i) Deliver(RandomEvent(), 0);
    if (Gone() && !shutDown_ && !hider_.Hidden().empty()) Fault("windows stay hidden after the program ended");
    if (Gone() && power_.awake) Fault("the computer is kept awake after the program ended");
    return faults_;
  }

  // A power call as the system receives it; true when it succeeds.
  bool OnPowerCall(PowerAction action, bool forced = false) {
    const std::string name(ActionName(action));
    if (quitConfirmed_) Fault(name + " after the user quit or the session ended");
    // Inside an alternative press its own grant goes first, so that the
    // schedule's stays for the firing it belongs to.
    // The innermost tick or alternative press that is running made the call.
    const auto maker = std::find_if(running_.rbegin(), running_.rend(),
                                    [](Event e) { return e == Event::Tick || e == Event::AltKey; });
    const bool byAltKey = maker != running_.rend() && *maker == Event::AltKey;
    // A firing may also lock before its tasks, besides its own call.
    const bool lockBeforeTasks = action == PowerAction::LockComputer && scheduleGrant_ && lockBeforeTasks_;
    if (byAltKey && altGrant_ == action) {
      altGrant_.reset();
    } else if (!byAltKey && lockBeforeTasks) {
      // Allowed without using up the firing's own call.
    } else if (!byAltKey && scheduleGrant_ == action) {
      scheduleGrant_.reset();
      if (mustForce_ && !forced) Fault(name + " asked for again without force");
      mustForce_ = false;
    } else {
      const Schedule& schedule = form_->GetSchedule();
      Fault(name + " that no choice of the user asked for (schedule " + schedule.ActionName() +
            (schedule.Prompt() ? ", prompt" : ", no prompt") + (byAltKey ? ", alternative key" : "") +
            (scheduleGrant_ ? ", granted " + std::string(ActionName(*scheduleGrant_)) : "") + ")");
    }
    const bool succeed = Pick(0, 4) != 0;
    trace_ += "{" + name + (succeed ? "} " : " refused} ");
    const bool sessionEnd = EndsSession(action) || action == PowerAction::LogOff;
    if (succeed && forced && EndsSession(action)) shutDown_ = true;
    if (succeed && sessionEnd && !forced) {
      waitingFor_ = action;
      retryAction_ = action;
      waitingSince_ = clock_.SinceStart();
    }
    return succeed;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Coin() { return Pick(0, 1) == 1; }
  const char* Flag() { return Coin() ? "True" : "False"; }
  void Fault(const std::string& text) {
    if (faults_.empty()) faults_ = text + "\nafter: " + trace_;
  }
  bool Gone() const { return view_.unloads > 0 || view_.ends > 0; }
  // A new arming or a disarming by the user ends the wait and its retries.
  void ForgetRetry() {
    waitingFor_.reset();
    retrying_ = false;
    retryPromptOpen_ = false;
    mustForce_ = false;
  }

  MemorySettingsStore RandomSettings() {
    MemorySettingsStore s;
    for (const char* key : {"Prompt", "Force", "BossKeyDoExeAction", "BossKeyHideWindows", "BossKeyIgnorePrompt",
                            "Boss2KeyHideWindows", "Boss2KeyRunTasks", "DoTaskRun", "LockDuringTaskRun",
                            "EnabledStart", "TrayTips"}) {
      s.Set("CONFIG", key, Flag());
    }
    static constexpr const char* kAltActions[] = {"Suspend", "Hibernate", "Lock Computer", "", "Shutdown"};
    s.Set("CONFIG", "Boss2KeyAction", kAltActions[Pick(0, 4)]);
    s.Set("CONFIG", "Action", std::to_string(Pick(0, 5)));
    s.Set("CONFIG", "tUnit", "2");
    s.Set("CONFIG", "tPeriod", std::to_string(Pick(1, 40)));
    s.Set("TASK", "TaskCount", std::to_string(Pick(0, 3)));
    lockBeforeTasks_ = s.Get("CONFIG", "DoTaskRun") == "True" && s.Get("CONFIG", "LockDuringTaskRun") == "True";
    return s;
  }

  Event RandomEvent() {
    static constexpr Event kWeighted[] = {Event::Tick,     Event::Tick,   Event::Tick,      Event::Tick,
                                          Event::Toggle,   Event::Toggle, Event::PickAction, Event::FlipPrompt,
                                          Event::BossKey,  Event::AltKey, Event::Quit,       Event::EndSession,
                                          Event::ShowHidden, Event::Escape};
    // The end of the session is rare, so that most sequences go on a while.
    const Event event = kWeighted[Pick(0, static_cast<int>(std::size(kWeighted)) - 1)];
    return event == Event::EndSession && Pick(0, 3) != 0 ? Event::Tick : event;
  }

  // Events that arrive inside a modal loop or a task run.
  void Nested() {
    if (depth_ >= 3) return;
    for (int n = Pick(0, 2); n > 0; --n) {
      // Once the window has gone, only a timer message already queued can come.
      Deliver(Gone() ? Event::Tick : RandomEvent(), depth_ + 1);
    }
  }

  void Deliver(Event event, int depth) {
    const int outer = depth_;
    depth_ = depth;
    static constexpr const char* kNames[] = {"tick", "toggle", "action", "prompt-check", "boss", "alt",
                                             "quit", "end-session", "show-hidden", "escape"};
    trace_ += std::string(static_cast<std::size_t>(depth) * 2, '>') + kNames[static_cast<int>(event)] + " ";
    MainForm& f = *form_;
    const bool wasArmed = f.GetSchedule().Armed();
    running_.push_back(event);
    switch (event) {
      case Event::Tick:
        clock_.Advance(std::chrono::seconds{Pick(0, 3) == 0 ? Pick(0, 400) : Pick(0, 8)});
        f.OnTimerTick();
        break;
      case Event::Toggle: f.OnToggleClicked(); break;
      case Event::PickAction: f.OnActionSelected(Pick(0, 5)); break;
      case Event::FlipPrompt: f.OnCheckChanged(ScheduleCheck::Prompt, Coin()); break;
      case Event::BossKey: f.OnBossKeyPressed(); break;
      case Event::AltKey: PressAlt(); break;
      case Event::Quit: f.DoAction(CaptionButton::Close); break;
      case Event::EndSession:
        quitConfirmed_ = true;
        // Windows ends the session that was asked for, which leaves the
        // desktop as it is.
        if ((waitingFor_ || retryPromptOpen_) && EndsSession(retryAction_)) shutDown_ = true;
        f.OnEndSession();
        break;
      case Event::ShowHidden: f.OnShowHiddenClicked(); break;
      case Event::Escape: f.OnEscape(); break;
    }
    running_.pop_back();
    if (event == Event::Toggle || event == Event::BossKey) AfterArmingEvent(event, wasArmed);
    depth_ = outer;
    if (depth != 0) return;
    if (Gone() && !quitConfirmed_ && !shutDown_) Fault("the program ended on its own");
    if (event == Event::Tick && waitingFor_ && !Gone() && clock_.SinceStart() - waitingSince_ >= 60s) {
      Fault("no prompt 60 s after an unforced " + std::string(ActionName(*waitingFor_)));
    }
  }

  // What an arming or disarming means for the schedule's power call.
  void AfterArmingEvent(Event event, bool wasArmed) {
    const Schedule& schedule = form_->GetSchedule();
    const bool armedNow = schedule.Armed();
    if ((event == Event::Toggle && (wasArmed || armedNow)) ||
        (event == Event::BossKey && armedNow && schedule.TimerTag() == kBossKeyTag)) {
      ForgetRetry();
    }
    if (!armedNow) {
      if (wasArmed) scheduleGrant_.reset();
      return;
    }
    // Whether the press armed is read from the schedule; what an arming by
    // the user means is the model's own.
    const bool byBossKey = event == Event::BossKey && schedule.TimerTag() == kBossKeyTag;
    if (event == Event::BossKey && !byBossKey) return;  // the press only hid or showed windows
    if (event == Event::Toggle && wasArmed) return;
    const bool skipsPrompt = !schedule.Prompt() || (byBossKey && form_->Options().BossKeyIgnorePrompt);
    scheduleGrant_ = skipsPrompt ? std::optional(schedule.Action()) : std::nullopt;
  }

  void PressAlt() {
    const BossKeyOptions& options = form_->Options();
    const bool showsOnly = options.Boss2KeyHideWindows && form_->WindowsHidden();
    const auto action = ActionFromName(options.Boss2KeyAction);
    const bool direct = action == PowerAction::Suspend || action == PowerAction::Hibernate ||
                        action == PowerAction::LockComputer;
    if (!showsOnly && altDepth_ == 0 && direct) altGrant_ = action;
    ++altDepth_;
    form_->OnAltBossKeyPressed();
    --altDepth_;
    if (altDepth_ == 0) altGrant_.reset();
  }

  std::optional<PromptAnswer> AnswerPrompt() {
    trace_ += "[prompt ";
    // Any prompt while the program waits for the session asks again for it.
    if (waitingFor_) {
      if (clock_.SinceStart() - waitingSince_ < 60s) Fault("asked again before 60 s had passed");
      waitingFor_.reset();
      retrying_ = true;
    }
    retryPromptOpen_ = retrying_;
    Nested();
    retryPromptOpen_ = false;
    scheduleGrant_.reset();
    const int answer = Pick(0, 5);
    trace_ += std::string(answer == 0 ? "execute" : answer == 1 ? "snooze" : answer == 2 ? "not shown" : "abort") + "] ";
    // A snoozed retry asks again; any other answer ends it.
    if (answer != 1) {
      mustForce_ = answer == 0 && retrying_;
      retrying_ = false;
    }
    switch (answer) {
      case 0:
        scheduleGrant_ = form_->GetSchedule().Action();
        return PromptAnswer{PromptResult::Execute, 0};
      case 1:
        // After the delay the schedule fires again, asking first if it prompts.
        if (!form_->GetSchedule().Prompt()) scheduleGrant_ = form_->GetSchedule().Action();
        return PromptAnswer{PromptResult::Snooze, Pick(1, 3)};
      case 2: return std::nullopt;  // the prompt could not be shown
      default: return PromptAnswer{PromptResult::Abort, 0};  // Abort, Esc or the close image
    }
  }

  bool AnswerQuit() {
    Nested();
    const bool yes = Coin();
    if (yes) quitConfirmed_ = true;
    return yes;
  }

  std::mt19937 rng_;
  Log log_;
  MemorySettingsStore store_;
  CheckedPower power_;
  FakeClock clock_{Utc(2026, 12, 7, 9)};
  FakeZone zone_;
  RecordingTray tray_{log_};
  FakeParts parts_{log_};
  WindowHider hider_{parts_};
  FakeView view_{log_};
  std::optional<MainForm> form_;

  std::optional<PowerAction> scheduleGrant_;
  std::optional<PowerAction> altGrant_;
  bool lockBeforeTasks_ = false;
  bool quitConfirmed_ = false;
  bool shutDown_ = false;
  // An unforced session end that succeeded, until its prompt opens.
  std::optional<PowerAction> waitingFor_;
  PowerAction retryAction_ = PowerAction::Shutdown;
  Elapsed waitingSince_{};
  // From that prompt on, through its snoozes, until another answer or the
  // user's next arming or disarming.
  bool retrying_ = false;
  bool retryPromptOpen_ = false;
  // The granted call must be forced.
  bool mustForce_ = false;
  int depth_ = 0;
  int altDepth_ = 0;
  std::vector<Event> running_;
  std::string faults_;
  std::string trace_;
};

bool CheckedPower::ExitSession(std::uint32_t flags) {
  const std::uint32_t kind = flags & ~kExitForce;
  const PowerAction action = kind == kExitPowerOff ? PowerAction::Shutdown
                             : kind == kExitReboot ? PowerAction::Restart
                                                   : PowerAction::LogOff;
  return run_.OnPowerCall(action, (flags & kExitForce) != 0);
}

bool CheckedPower::SetSuspendState(bool hibernate, bool, bool) {
  return run_.OnPowerCall(hibernate ? PowerAction::Hibernate : PowerAction::Suspend);
}

bool CheckedPower::LockWorkStation() { return run_.OnPowerCall(PowerAction::LockComputer); }

TEST(MainFormModel, EveryPowerCallIsOneTheUserAskedForAndNothingOutlivesTheProgram) {
  const char* setting = std::getenv("KELVANE_MODEL_SEQUENCES");
  const long sequences = setting != nullptr ? std::strtol(setting, nullptr, 10) : 3000;
  for (long seed = 1; seed <= sequences; ++seed) {
    const std::string fault = ModelRun(static_cast<std::uint32_t>(seed)).Run();
    ASSERT_EQ(fault, "") << "sequence " << seed;
  }
}

}  // namespace
}  // namespace kelvane
