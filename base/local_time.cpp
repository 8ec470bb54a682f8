#include "base/local_time.h"

namespace kelvane {

using namespace std::chrono;

sys_seconds WallAsUtc(const LocalDateTime& local) {
  const sys_days day = year_month_day{year{local.year}, month{static_cast<unsigned>(local.month)},
                                      std::chrono::day{static_cast<unsigned>(local.day)}};
  return day + hours{local.hour} + minutes{local.minute} + seconds{local.second};
}

LocalDateTime UtcAsWall(sys_seconds instant) {
  const sys_days day = floor<days>(instant);
  const year_month_day ymd{day};
  const hh_mm_ss<seconds> tod{instant - day};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(tod.hours().count()),
          static_cast<int>(tod.minutes().count()), static_cast<int>(tod.seconds().count())};
}

LocalDateTime ToLocal(const LocalTimeZone& zone, Instant instant) {
  return UtcAsWall(floor<seconds>(instant) + zone.UtcOffsetAt(instant));
}

Instant FromLocal(const LocalTimeZone& zone, const LocalDateTime& local) {
  const sys_seconds wall = WallAsUtc(local);
  // Offsets a day either side bracket any single clock change.
  const seconds before = zone.UtcOffsetAt(wall - days{1});
  const seconds after = zone.UtcOffsetAt(wall + days{1});
  const Instant early = wall - std::max(before, after);
  const Instant late = wall - std::min(before, after);
  const bool earlyValid = ToLocal(zone, early) == local;
  const bool lateValid = ToLocal(zone, late) == local;
  if (earlyValid) return early;
  if (lateValid) return late;
  // Inside a forward gap: find the first instant carrying the later offset,
  // which is where the wall clock resumes.
  Instant lo = early;
  Instant hi = late;
  const seconds offsetAtLo = zone.UtcOffsetAt(lo);
  while (hi - lo > seconds{1}) {
    const Instant mid = lo + (hi - lo) / 2;
    if (zone.UtcOffsetAt(mid) == offsetAtLo) lo = mid; else hi = mid;
  }
  return zone.UtcOffsetAt(lo) == offsetAtLo ? hi : lo;
}

std::vector<Instant> LocalOccurrences(const LocalTimeZone& zone, const LocalDateTime& local) {
  const sys_seconds wall = WallAsUtc(local);
  const seconds before = zone.UtcOffsetAt(wall - days{1});
  const seconds after = zone.UtcOffsetAt(wall + days{1});
  const Instant early = wall - std::max(before, after);
  const Instant late = wall - std::min(before, after);
  if (early != late && ToLocal(zone, early) == local && ToLocal(zone, late) == local) return {early, late};
  return {FromLocal(zone, local)};
}

LocalDateTime NextDay(const LocalDateTime& local) {
  LocalDateTime next = UtcAsWall(WallAsUtc(local) + days{1});
  next.hour = local.hour;
  next.minute = local.minute;
  next.second = local.second;
  return next;
}

std::string FormatGeneralDate(const LocalTimeZone& zone, Instant instant) {
  const LocalDateTime local = ToLocal(zone, instant);
  std::string text = zone.FormatShortDate(local);
  if (local.hour != 0 || local.minute != 0 || local.second != 0) {
    text += ' ';
    text += zone.FormatLongTime(local);
  }
  return text;
}

}  // namespace kelvane
