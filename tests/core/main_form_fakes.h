#pragma once
// The main form's window, dialogs and services as the main form's tests see
// them: each records what it is asked into a shared log.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/main_form.h"

namespace kelvane::testing {

using Log = std::vector<std::string>;

class FakeView : public MainView, public Dialogs {
 public:
  explicit FakeView(Log& log) : log_(log) {}
  ScheduleControls shown;
  ControlEnabling enabling;
  std::string status = "Disabled";
  std::vector<std::string> programItems;
  bool menuCheck = false, visible = true;
  bool answerQuit = true;
  // When set, answers the quit question instead of `answerQuit`.
  std::function<bool()> askQuit;
  int promptTimeout = -1;
  std::function<std::optional<PromptAnswer>(const std::string&)> prompt = [](const std::string&) {
    return PromptAnswer{PromptResult::Execute, 0};
  };
  TrayMenuCommand menuChoice = TrayMenuCommand::None;
  int prompts = 0;

  void ShowControls(const ScheduleControls& c, const ControlEnabling& e) override {
    shown = c;
    enabling = e;
  }
  void SetStatus(const std::string& t) override { status = t; }
  void SetProgramItems(const std::vector<std::string>& items) override { programItems = items; }
  void SetToggleCaption(const std::string&) override {}
  void SetTimerRunning(bool) override {}
  void StartDeadlineTimer(std::chrono::milliseconds delay) override { deadlineTimers.push_back(delay); }
  std::vector<std::chrono::milliseconds> deadlineTimers;
  void SetTrayMenuEnabledCheck(bool c) override { menuCheck = c; }
  void SetShowHiddenPicture(bool) override {}
  void SetWaitCursor(bool wait) override { log_.push_back(wait ? "wait cursor" : "normal cursor"); }
  void SetVisible(bool v) override {
    visible = v;
    log_.push_back(v ? "view show" : "view hide");
  }
  void BringToFront() override { log_.push_back("view front"); }
  bool AskQuit() override {
    log_.push_back("ask quit");
    return askQuit ? askQuit() : answerQuit;
  }
  void ShowMessage(const std::string& t) override { log_.push_back("message " + t); }
  void SignalInvalidInput() override { log_.push_back("beep"); }
  void ProcessPendingMessages() override {}
  std::optional<PromptAnswer> RunPrompt(const std::string& action, int timeoutSeconds) override {
    promptTimeout = timeoutSeconds;
    ++prompts;
    log_.push_back("prompt " + action);
    return prompt(action);
  }
  void RunOptionsDialog(const OptionsSettings&) override { log_.push_back("options"); }
  TrayMenuCommand RunTrayMenu() override {
    log_.push_back("menu");
    return menuChoice;
  }
  void RunAboutBox() override { log_.push_back("about"); }
  void CloseAboutBox() override { log_.push_back("close about"); }
  void Unload() override {
    ++unloads;
    log_.push_back("unload");
  }
  void EndProcess() override {
    ++ends;
    log_.push_back("end process");
  }
  int unloads = 0;
  int ends = 0;

 private:
  Log& log_;
};

class FakeParts : public RunKey, public FileSystem, public TaskRunnerPart, public WindowList, public HotKeyControls {
 public:
  explicit FakeParts(Log& log) : log_(log) {}
  std::vector<TopLevelWindow> desktop{{7, "Notepad", true, kShowMaximized}};
  void SetValue(const std::string& name, const std::string& data) override { log_.push_back("run set " + name + "=" + data); }
  void DeleteValue(const std::string& name) override { log_.push_back("run delete " + name); }
  void CreateFolder(const std::string& path) override { log_.push_back("mkdir " + path); }
  // Runs the tasks as the runner does: one after another until cancelled,
  // with `duringTask` standing for the messages handled while task n runs.
  void RunTasks(const TaskList& tasks) override {
    log_.push_back("run tasks " + std::to_string(tasks.TaskCount));
    for (int n = 1; n <= tasks.TaskCount && !cancelled; ++n) {
      log_.push_back("task " + std::to_string(n));
      if (duringTask) duringTask(n);
    }
  }
  void Cancel() override { cancelled = true; }
  void LogNote(const std::string& text) override { notes.push_back(text); }
  std::function<void(int)> duringTask;
  bool cancelled = false;
  Log notes;
  std::vector<TopLevelWindow> EnumerateWindows() override { return desktop; }
  bool SetShowState(WindowId window, int command) override {
    log_.push_back("show " + std::to_string(window) + " " + std::to_string(command));
    return true;
  }
  void InvalidateDesktop() override { log_.push_back("redraw desktop"); }
  void StopHotkeys() override { log_.push_back("stop hotkeys"); }
  HotKeyPair HotKeys() override { return {}; }
  HotKeyEditor& Editor(BossKey) override { return editor; }
  // The options dialog's view of a hotkey control; the fakes' dialog leaves it alone.
  class IdleEditor : public HotKeyEditor {
   public:
    bool Enabled() const override { return false; }
    void SetEnabled(bool) override {}
    bool CtrlKey() const override { return true; }
    void SetCtrlKey(bool) override {}
    bool ShiftKey() const override { return false; }
    void SetShiftKey(bool) override {}
    bool AltKey() const override { return false; }
    void SetAltKey(bool) override {}
    bool WinKey() const override { return false; }
    void SetWinKey(bool) override {}
    const std::string& HotKey() const override { return key; }
    void SetHotKey(std::string_view) override {}
    std::string key = "F1";
  } editor;

 private:
  Log& log_;
};

}  // namespace kelvane::testing
