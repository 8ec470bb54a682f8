#include "app/app_win32.h"

#include <commctrl.h>

#include <memory>

#include "about/frm_about_win32.h"
#include "app/boss_key_controls_win32.h"
#include "app/command_line_win32.h"
#include "bosskeys/crash_guard_win32.h"
#include "bosskeys/hidden_record_win32.h"
#include "bosskeys/window_list_win32.h"
#include "conditions/condition_sampler_win32.h"
#include "core/frm_main_win32.h"
#include "base/registry_settings_store_win32.h"
#include "base/system_time_win32.h"
#include "base/control_ids.h"
#include "base/handles_win32.h"
#include "base/system_win32.h"
#include "base/wide_text_win32.h"
#include "options/run_key_win32.h"
#include "power/power.h"
#include "prompt/frm_prompt_win32.h"
#include "tasks/task_runner_win32.h"
#include "tray/frm_main1_win32.h"
#include "tray/tray_icon_win32.h"
#include "tray/window_hook_win32.h"

namespace kelvane {
namespace {

class Folders : public FileSystem {
 public:
  void CreateFolder(const std::string& path) override {
    CreateDirectoryW(Widen(path).c_str(), nullptr);  // Existing or impossible: ignored.
  }
};

// The tray icon's events; the main window handles only the mouse going down.
class TrayEvents : public SystrayEvents {
 public:
  void Bind(MainForm* form) { form_ = form; }
  void MouseDown(TrayButton button) override {
    if (form_ != nullptr) form_->OnTrayMouseDown(button);
  }

 private:
  MainForm* form_ = nullptr;
};

class Tasks : public TaskRunnerPart {
 public:
  explicit Tasks(std::string dataFolder) : runner_(std::move(dataFolder)) {}
  void RunTasks(const TaskList& tasks) override { runner_.RunTasks(tasks); }
  void Cancel() override { runner_.Cancel(); }
  void LogNote(const std::string& text) override { runner_.LogNote(text); }

 private:
  TaskRunnerWin32 runner_;
};

// The running program's main window. It may not exist yet when both were
// started at once, so it is looked for a little while.
HWND FindRunningProgram() {
  for (int tries = 0; tries < 100; ++tries) {
    if (const HWND running = FindWindowW(kMainWindowClass, nullptr)) return running;
    Sleep(50);
  }
  return nullptr;
}

// Asks the program that runs already to show its main window.
void ShowRunningInstance() {
  const HWND running = FindRunningProgram();
  if (running == nullptr) return;
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  // This process was just started by the user and may hand the foreground
  // on; the running one may not take it by itself.
  AllowSetForegroundWindow(process);
  PostMessageW(running, RegisterWindowMessageW(kShowRequestMessage), 0, 0);
}

int HandToRunningInstance(const std::vector<std::string>& arguments, CommandKind kind) {
  const HWND running = FindRunningProgram();
  const auto reply = running != nullptr ? SendToRunningProgram(running, arguments) : std::nullopt;
  if (!reply) {
    ReportToCaller("Kelvane runs but does not answer.", MB_ICONERROR);
    return kExitNotArmed;
  }
  // A script that armed or disarmed without a console needs no box; one
  // that asked for the state, or was refused, is told.
  const bool tell = kind == CommandKind::Status || reply->exitCode != kExitOk;
  ReportToCaller(reply->text, tell ? (reply->exitCode == kExitOk ? MB_ICONINFORMATION : MB_ICONWARNING) : 0);
  return reply->exitCode;
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  const std::vector<std::string> arguments = ProgramArguments();
  // Bad arguments change nothing: they are refused before anything starts.
  const std::optional<Command> command = ParseCommandLine(arguments);
  if (!command || command->kind == CommandKind::Help) {
    ReportToCaller(UsageText(), command ? MB_ICONINFORMATION : MB_ICONERROR);
    return command ? kExitOk : kExitUsage;
  }
  // One program per session: the object goes with the process that made
  // it, so a crashed instance leaves nothing behind that blocks a start.
  UniqueHandle single(CreateMutexW(nullptr, FALSE, kInstanceName));
  if (single && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (command->kind != CommandKind::Start) return HandToRunningInstance(arguments, command->kind);
    ShowRunningInstance();
    return 0;
  }
  // Nothing runs, so nothing is armed; starting only to say so would leave
  // a program behind that nobody asked for.
  if (command->kind == CommandKind::Status) {
    ReportToCaller("Disabled", MB_ICONINFORMATION);
    return kExitNotArmed;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                     ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  RegistrySettingsStore store;
  const std::unique_ptr<PowerApi> power = CreatePowerApi();
  const SystemClock clock;
  const UserLocalTimeZone zone;
  frmMain1 main1;
  TrayEvents trayEvents;
  EventLogErrorReporter hookErrors;
  SystrayTrayIcon tray(instance, main1, trayEvents, hookErrors);
  frmAbout about;
  RegistryRunKey runKey;
  Folders folders;
  const std::string appData = ChooseAppDataFolder(EnvironmentVariable("APPDATA"), RoamingAppDataFolder);
  Tasks tasks(DataFolderPath(appData));
  Win32WindowList desktop;
  VolatileHiddenWindowsRecord hiddenRecord;
  WindowHider windows(desktop, &hiddenRecord);
  // Windows hidden by an instance that died are given back before anything else.
  windows.ShowRecordedWindows();
  ShowHiddenWindowsOnCrash();
  BossKeyControls hotKeys(instance, store);
  ConditionSamplerWin32 conditions;

  MainWindow window(MainServices{store, *power, clock, zone, tray, runKey, folders, tasks, windows, hotKeys,
                                 Narrow(ModulePath()), appData, &conditions},
                    main1, about);
  window.HoldRunningMark(std::move(single));
  hotKeys.Bind(&window.form());
  trayEvents.Bind(&window.form());
  if (!window.Create()) return 1;
  if (command->kind != CommandKind::Start) window.form().ApplyCommand(*command);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.hwnd() != nullptr && IsDialogMessageW(window.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kelvane
