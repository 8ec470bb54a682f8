#include "app/app_win32.h"

#include <commctrl.h>

#include <memory>

#include "about/frm_about_win32.h"
#include "app/boss_key_controls_win32.h"
#include "bosskeys/crash_guard_win32.h"
#include "bosskeys/hidden_record_win32.h"
#include "bosskeys/window_list_win32.h"
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

// Asks the program that runs already to show its main window. Its window
// may not exist yet when both were started at once, so it is looked for a
// little while.
void ShowRunningInstance() {
  const UINT showRequest = RegisterWindowMessageW(kShowRequestMessage);
  for (int tries = 0; tries < 100; ++tries) {
    if (const HWND running = FindWindowW(kMainWindowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      // This process was just started by the user and may hand the
      // foreground on; the running one may not take it by itself.
      AllowSetForegroundWindow(process);
      PostMessageW(running, showRequest, 0, 0);
      return;
    }
    Sleep(50);
  }
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  // One program per session: the object goes with the process that made
  // it, so a crashed instance leaves nothing behind that blocks a start.
  UniqueHandle single(CreateMutexW(nullptr, FALSE, kInstanceName));
  if (single && GetLastError() == ERROR_ALREADY_EXISTS) {
    ShowRunningInstance();
    return 0;
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
  const std::string appData = ChooseAppDataFolder(EnvironmentVariable("APPDATA"), RoamingAppDataFolder());
  Tasks tasks(DataFolderPath(appData));
  Win32WindowList desktop;
  VolatileHiddenWindowsRecord hiddenRecord;
  WindowHider windows(desktop, &hiddenRecord);
  // Windows hidden by an instance that died are given back before anything else.
  windows.ShowRecordedWindows();
  ShowHiddenWindowsOnCrash();
  BossKeyControls hotKeys(instance, store);

  MainWindow window(MainServices{store, *power, clock, zone, tray, runKey, folders, tasks, windows, hotKeys,
                                 Narrow(ModulePath()), appData},
                    main1, about);
  window.HoldRunningMark(std::move(single));
  hotKeys.Bind(&window.form());
  trayEvents.Bind(&window.form());
  if (!window.Create()) return 1;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.hwnd() != nullptr && IsDialogMessageW(window.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kelvane
