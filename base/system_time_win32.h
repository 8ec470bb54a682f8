#pragma once
#include "base/clock.h"

namespace kelvane {

class SystemClock : public Clock {
 public:
  Instant Now() const override;
};

// The user's time zone and regional date and time formats.
class UserLocalTimeZone : public LocalTimeZone {
 public:
  std::chrono::seconds UtcOffsetAt(Instant instant) const override;
  std::string FormatShortDate(const LocalDateTime& local) const override;
  std::string FormatLongTime(const LocalDateTime& local) const override;
};

}  // namespace kelvane
