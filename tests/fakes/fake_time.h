#pragma once
#include <chrono>
#include <cstdio>
#include <string>

#include "base/clock.h"
#include "base/local_time.h"

namespace kelvane::testing {

// Time passes on both clocks alike (Set, Advance); setting the wall clock
// or changing the zone moves only the wall clock (JumpWall).
class FakeClock : public Clock {
 public:
  explicit FakeClock(Instant now = Instant{}) : now_(now) {}
  Instant Now() const override { return now_; }
  Elapsed SinceStart() const override { return elapsed_; }
  // Lets time pass until the wall clock shows `now`.
  void Set(Instant now) { Advance(now - now_); }
  void Advance(std::chrono::milliseconds by) {
    now_ += by;
    elapsed_ += by;
  }
  void JumpWall(std::chrono::milliseconds by) { now_ += by; }

 private:
  Instant now_;
  Elapsed elapsed_{123456789};
};

// A zone with a standard offset and, optionally, one summer period between
// two UTC instants during which an extra hour applies. Formats as
// "YYYY-MM-DD" and "HH:MM:SS".
class FakeZone : public LocalTimeZone {
 public:
  explicit FakeZone(std::chrono::seconds standard = std::chrono::seconds{0}) : standard_(standard) {}
  void SetSummer(Instant startUtc, Instant endUtc) {
    summerStart_ = startUtc;
    summerEnd_ = endUtc;
  }
  std::chrono::seconds UtcOffsetAt(Instant instant) const override {
    const bool summer = instant >= summerStart_ && instant < summerEnd_;
    return standard_ + (summer ? std::chrono::seconds{3600} : std::chrono::seconds{0});
  }
  std::string FormatShortDate(const LocalDateTime& t) const override {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", t.year, t.month, t.day);
    return buffer;
  }
  std::string FormatLongTime(const LocalDateTime& t) const override {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buffer;
  }

 private:
  std::chrono::seconds standard_;
  Instant summerStart_{};
  Instant summerEnd_{};
};

// The instant at which a zone shows the given wall time (unambiguous cases).
inline Instant Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return WallAsUtc({y, mo, d, h, mi, s});
}

}  // namespace kelvane::testing
