#include "power/power.h"

#include <algorithm>
#include <array>

namespace kelvane {
namespace {

struct ActionEntry {
  PowerAction action;
  std::string_view name;
};

constexpr std::array<ActionEntry, 6> kActions{{
    {PowerAction::Shutdown, "Shutdown"},
    {PowerAction::Restart, "Restart"},
    {PowerAction::LogOff, "Log Off"},
    {PowerAction::Suspend, "Suspend"},
    {PowerAction::Hibernate, "Hibernate"},
    {PowerAction::LockComputer, "Lock Computer"},
}};

std::size_t OfferedCount(bool lockOffered) { return lockOffered ? kActions.size() : kActions.size() - 1; }

}  // namespace

std::string_view ActionName(PowerAction action) {
  for (const ActionEntry& entry : kActions) {
    if (entry.action == action) return entry.name;
  }
  return {};
}

std::optional<PowerAction> ActionFromName(std::string_view name) {
  const auto it = std::find_if(kActions.begin(), kActions.end(), [&](const ActionEntry& e) { return e.name == name; });
  if (it == kActions.end()) return std::nullopt;
  return it->action;
}

std::optional<PowerAction> ActionAt(int index, bool lockOffered) {
  if (index < 0 || static_cast<std::size_t>(index) >= OfferedCount(lockOffered)) return std::nullopt;
  return kActions[static_cast<std::size_t>(index)].action;
}

std::vector<std::string> ActionListItems(bool lockOffered) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < OfferedCount(lockOffered); ++i) items.emplace_back(kActions[i].name);
  return items;
}

bool EndsSession(PowerAction action) { return action == PowerAction::Shutdown || action == PowerAction::Restart; }

OsVersionRecord ClassifyOsVersion(const ReportedVersion& reported) {
  OsVersionRecord record;
  record.build = static_cast<std::int32_t>(reported.build);
  record.versionText = std::to_string(reported.major) + "." + std::to_string(reported.minor);
  switch (reported.platformId) {
    case 1:
      record.platformClass = 1;
      switch (reported.minor) {
        case 0: record.osIndex = 1; break;
        case 10: record.osIndex = 2; break;
        case 90: record.osIndex = 3; break;
        default: record.osIndex = 0; break;
      }
      break;
    case 2:
      record.platformClass = 2;
      if (reported.major < 5) {
        record.osIndex = 4;
      } else if (reported.major == 5 && reported.minor == 0) {
        record.osIndex = 5;
      } else if (reported.major == 5 && reported.minor == 1) {
        record.osIndex = 6;
      } else {
        record.osIndex = 7;
      }
      break;
    default:
      record.platformClass = 0;
      record.osIndex = 0;
      break;
  }
  return record;
}

std::string OsDisplayName(std::int32_t osIndex) {
  static const std::array<const char*, 8> names{"Windows 32",   "Windows 95", "Windows 98", "Windows ME",
                                                "Windows NT",   "Windows 2000", "Windows XP", "Windows Vista"};
  if (osIndex < 0 || osIndex >= static_cast<std::int32_t>(names.size())) return names[0];
  return names[static_cast<std::size_t>(osIndex)];
}

bool LockOffered(const OsVersionRecord& version) { return version.osIndex >= 5 && version.osIndex <= 7; }

std::uint32_t ExitFlags(std::uint32_t flags, bool force) { return force ? flags + kExitForce : flags; }

OsVersionRecord GetOsVersionInfo(PowerApi& api) { return ClassifyOsVersion(api.QueryVersion()); }

std::string GetOsName(PowerApi& api) { return OsDisplayName(GetOsVersionInfo(api).osIndex); }

bool ExitWindowsPower(PowerApi& api, std::uint32_t flags, bool force) {
  const std::uint32_t exitFlags = ExitFlags(flags, force);
  if (GetOsVersionInfo(api).platformClass != 2) return api.ExitSession(exitFlags);
  api.SetShutdownPrivilege(true);
  const bool ok = api.ExitSession(exitFlags);
  api.SetShutdownPrivilege(false);
  return ok;
}

bool SuspendPower(PowerApi& api, std::int32_t hibernate, bool forceCritical, bool disableWakeEvent) {
  const std::int32_t index = GetOsVersionInfo(api).osIndex;
  if (index == 0 || index == 1 || index == 4) return false;
  // Suspending needs the shutdown privilege as much as powering off does;
  // without it the request fails on the NT family.
  api.SetShutdownPrivilege(true);
  const bool ok = api.SetSuspendState(hibernate != 0, forceCritical, disableWakeEvent);
  api.SetShutdownPrivilege(false);
  return ok;
}

bool LockComputer(PowerApi& api) {
  if (!LockOffered(GetOsVersionInfo(api))) return false;
  return api.LockWorkStation();
}

bool PerformPowerAction(PowerApi& api, PowerAction action, bool force) {
  switch (action) {
    case PowerAction::Shutdown: return ExitWindowsPower(api, kExitPowerOff, force);
    case PowerAction::Restart: return ExitWindowsPower(api, kExitReboot, force);
    case PowerAction::LogOff: return ExitWindowsPower(api, kExitLogOff, force);
    case PowerAction::Suspend: return SuspendPower(api, 0, force, false);
    case PowerAction::Hibernate: return SuspendPower(api, 1, force, false);
    case PowerAction::LockComputer: return LockComputer(api);
  }
  return false;
}

}  // namespace kelvane
