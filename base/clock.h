#pragma once
// Time seams: an absolute clock and the user's local time zone and formats.
// Targets are absolute instants; local time is used only for input and display.

#include <chrono>
#include <string>

namespace kelvane {

// An instant of the wall clock (UTC), to the millisecond.
using Instant = std::chrono::sys_time<std::chrono::milliseconds>;
// Time on a clock that counts time spent asleep and never jumps when the
// wall clock is set or the zone changes; only differences mean anything.
using Elapsed = std::chrono::milliseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Instant Now() const = 0;
  virtual Elapsed SinceStart() const = 0;
};

struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class LocalTimeZone {
 public:
  virtual ~LocalTimeZone() = default;
  // Local time minus UTC at the given instant.
  virtual std::chrono::seconds UtcOffsetAt(Instant instant) const = 0;
  // The user's short date and long time formats for a local wall time.
  virtual std::string FormatShortDate(const LocalDateTime& local) const = 0;
  virtual std::string FormatLongTime(const LocalDateTime& local) const = 0;
};

}  // namespace kelvane
