#pragma once
// Conversions between absolute instants and local wall time.

#include <vector>

#include "base/clock.h"

namespace kelvane {

LocalDateTime ToLocal(const LocalTimeZone& zone, Instant instant);

// The instant at which the local wall clock shows `local`. A wall time that
// is skipped by a forward clock change resolves to the first instant after
// the gap; one that occurs twice resolves to its first occurrence.
Instant FromLocal(const LocalTimeZone& zone, const LocalDateTime& local);

// Every instant at which the local wall clock shows `local`, earliest first:
// two in the hour that repeats when the clocks go back, one otherwise (for a
// skipped wall time, the first instant after the gap).
std::vector<Instant> LocalOccurrences(const LocalTimeZone& zone, const LocalDateTime& local);

// The calendar day after the given local date (time fields unchanged).
LocalDateTime NextDay(const LocalDateTime& local);

// Short date, a blank and the long time; the date alone at exactly midnight.
std::string FormatGeneralDate(const LocalTimeZone& zone, Instant instant);

// Naive conversions that treat a wall time as if it were UTC.
std::chrono::sys_seconds WallAsUtc(const LocalDateTime& local);
LocalDateTime UtcAsWall(std::chrono::sys_seconds instant);

}  // namespace kelvane
