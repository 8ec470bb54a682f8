#include "app/app_win32.h"

#include <commctrl.h>

#include <memory>

#include "about/frm_about_win32.h"
#include "app/boss_key_controls_win32.h"
#include "bosskeys/window_list_win32.h"
#include "core/frm_main_win32.h"
#include "base/registry_settings_store_win32.h"
#include "base/system_time_win32.h"
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

 private:
  TaskRunnerWin32 runner_;
};

std::string ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string EnvironmentValue(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return Narrow(value);
}

}  // namespace

int RunApplication(HINSTANCE instance) {
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
  const std::string appData = EnvironmentValue(L"APPDATA");
  Tasks tasks(DataFolderPath(appData));
  Win32WindowList desktop;
  WindowHider windows(desktop);
  BossKeyControls hotKeys(instance, store);

  MainWindowParts parts;
  parts.prompt = [](HWND owner, const std::string& action, HICON icon) { return ShowPromptDialog(owner, action, icon); };
  parts.trayMenu = [&main1](HWND owner) { return main1.ShowPopup(owner); };
  parts.setMenuEnabledCheck = [&main1](bool checked) { main1.SetEnabledChecked(checked); };
  // The about box belongs to the hidden tray form, so the main window stays usable.
  parts.aboutBox = [&about](HWND) { about.ShowModal(nullptr); };
  parts.closeAboutBox = [&about] { about.Close(); };

  MainWindow window(MainServices{store, *power, clock, zone, tray, runKey, folders, tasks, windows, hotKeys, ModulePath(), appData},
                    std::move(parts));
  hotKeys.Bind(&window.form());
  trayEvents.Bind(&window.form());
  if (!window.Create()) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.hwnd() != nullptr && IsDialogMessageW(window.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kelvane
