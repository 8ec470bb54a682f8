#pragma once
#include <windows.h>

#include "base/clock.h"

namespace kelvane {

class SystemClock : public Clock {
 public:
  SystemClock();
  Instant Now() const override;
  // The interrupt time where the system has its precise reading (it counts
  // sleep and is exact to 100 ns); the tick count before Windows 10, whose
  // steps of up to 16 ms a firing may then lag by.
  Elapsed SinceStart() const override;

 private:
  using PreciseFn = void(WINAPI*)(unsigned long long*);
  PreciseFn interruptTime_ = nullptr;
};

// The user's time zone and regional date and time formats.
class UserLocalTimeZone : public LocalTimeZone {
 public:
  std::chrono::seconds UtcOffsetAt(Instant instant) const override;
  std::string FormatShortDate(const LocalDateTime& local) const override;
  std::string FormatLongTime(const LocalDateTime& local) const override;
};

}  // namespace kelvane
