#pragma once
// Power actions and the Windows version classification that decides which
// of them are offered and attempted.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"

namespace kelvane {

struct OsVersionRecord {
  std::int32_t platformClass = 0;  // 0 unknown or Win32s, 1 Windows 95 family, 2 NT family
  std::int32_t osIndex = 0;        // 0 to 7, see GetOsName
  std::int32_t build = 0;
  std::string versionText;         // "major.minor"
};

// Raw values reported by the system's version query.
struct ReportedVersion {
  std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 95 family, 2 NT family
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

OsVersionRecord ClassifyOsVersion(const ReportedVersion& reported);
std::string OsDisplayName(std::int32_t osIndex);
// Windows 2000, XP and Vista or later can lock the workstation.
bool LockOffered(const OsVersionRecord& version);

// The actions in the order of the action list, whose index is stored.
enum class PowerAction { Shutdown = 0, Restart, LogOff, Suspend, Hibernate, LockComputer };

// The action's name as the user reads it: "Shutdown", "Log Off", "Lock Computer"...
std::string_view ActionName(PowerAction action);
// The action a stored or shown name stands for; nullopt for any other text.
std::optional<PowerAction> ActionFromName(std::string_view name);
// The action at a position of the list; nullopt outside it.
std::optional<PowerAction> ActionAt(int index, bool lockOffered);
// The action list's texts: the first five always, "Lock Computer" only where
// the system offers it.
std::vector<std::string> ActionListItems(bool lockOffered);
// Shutdown and restart end the session, and the program with it.
bool EndsSession(PowerAction action);

inline constexpr std::uint32_t kExitLogOff = 0;
inline constexpr std::uint32_t kExitReboot = 2;
inline constexpr std::uint32_t kExitPowerOff = 8;
inline constexpr std::uint32_t kExitForce = 4;

std::uint32_t ExitFlags(std::uint32_t flags, bool force);

// The operating-system calls behind the power actions.
class PowerApi {
 public:
  virtual ~PowerApi() = default;
  virtual ReportedVersion QueryVersion() = 0;
  virtual void SetShutdownPrivilege(bool enable) = 0;
  virtual bool ExitSession(std::uint32_t flags) = 0;
  virtual bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
  virtual bool LockWorkStation() = 0;
  // Asks the system not to sleep on idle (the display may still turn off),
  // or withdraws the request.
  virtual void KeepSystemAwake(bool awake) = 0;
  // A timer that wakes the computer from sleep at `at`, replacing an earlier
  // one; nullopt cancels it.
  virtual void SetWakeTimer(std::optional<Instant> at) = 0;
  // How long a session end that other programs may refuse is given before
  // it counts as refused; the recording backend of the test build, which
  // ends nothing, may shorten it.
  virtual std::chrono::milliseconds SessionEndWait() { return std::chrono::seconds{60}; }
};

// The program's power backend: the real calls in the shipped program, a
// recording one in the end-to-end test build.
std::unique_ptr<PowerApi> CreatePowerApi();

OsVersionRecord GetOsVersionInfo(PowerApi& api);
std::string GetOsName(PowerApi& api);
// Logs off, restarts or powers off; on the NT family the shutdown privilege
// is held exactly around the call.
bool ExitWindowsPower(PowerApi& api, std::uint32_t flags, bool force);
bool SuspendPower(PowerApi& api, std::int32_t hibernate, bool forceCritical, bool disableWakeEvent);
bool LockComputer(PowerApi& api);
// Makes the call behind `action`: exit with its flags, suspend, hibernate or
// lock. False when the system refused or the action is not offered here.
bool PerformPowerAction(PowerApi& api, PowerAction action, bool force);

}  // namespace kelvane
