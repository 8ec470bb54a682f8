#include "base/local_time.h"

#include <gtest/gtest.h>

#include "fakes/fake_time.h"

namespace kelvane {
namespace {

using testing::FakeZone;
using testing::Utc;
using namespace std::chrono_literals;

// Central European rules for 2026: summer time from 29 March 01:00 UTC to
// 25 October 01:00 UTC.
FakeZone Berlin() {
  FakeZone zone(3600s);
  zone.SetSummer(Utc(2026, 3, 29, 1), Utc(2026, 10, 25, 1));
  return zone;
}

TEST(LocalTime, ConvertsBothWaysOutsideChanges) {
  const FakeZone zone = Berlin();
  const Instant winter = Utc(2026, 12, 6, 21, 15, 3);
  EXPECT_EQ(ToLocal(zone, winter), (LocalDateTime{2026, 12, 6, 22, 15, 3}));
  EXPECT_EQ(FromLocal(zone, {2026, 12, 6, 22, 15, 3}), winter);
  EXPECT_EQ(FromLocal(zone, {2026, 7, 1, 12, 0, 0}), Utc(2026, 7, 1, 10));
}

TEST(LocalTime, SkippedWallTimeResolvesToTheEndOfTheGap) {
  const FakeZone zone = Berlin();
  // 02:30 does not exist on 29 March; the clock jumps from 02:00 to 03:00.
  const Instant resolved = FromLocal(zone, {2026, 3, 29, 2, 30, 0});
  EXPECT_EQ(resolved, Utc(2026, 3, 29, 1));
  EXPECT_EQ(ToLocal(zone, resolved), (LocalDateTime{2026, 3, 29, 3, 0, 0}));
}

TEST(LocalTime, RepeatedWallTimeResolvesToItsFirstOccurrence) {
  const FakeZone zone = Berlin();
  // 02:30 occurs twice on 25 October: at 00:30 UTC in summer time and 01:30 UTC.
  EXPECT_EQ(FromLocal(zone, {2026, 10, 25, 2, 30, 0}), Utc(2026, 10, 25, 0, 30));
}

TEST(LocalTime, OccurrencesListBothShowingsOfTheRepeatedHour) {
  const FakeZone zone = Berlin();
  EXPECT_EQ(LocalOccurrences(zone, {2026, 10, 25, 2, 30, 0}),
            (std::vector<Instant>{Utc(2026, 10, 25, 0, 30), Utc(2026, 10, 25, 1, 30)}));
  EXPECT_EQ(LocalOccurrences(zone, {2026, 10, 25, 3, 30, 0}), std::vector<Instant>{Utc(2026, 10, 25, 2, 30)});
  EXPECT_EQ(LocalOccurrences(zone, {2026, 3, 29, 2, 30, 0}), std::vector<Instant>{Utc(2026, 3, 29, 1)});
}

TEST(LocalTime, NextDayFollowsTheCalendar) {
  EXPECT_EQ(NextDay({2026, 12, 31, 22, 30, 0}), (LocalDateTime{2027, 1, 1, 22, 30, 0}));
  EXPECT_EQ(NextDay({2028, 2, 28, 0, 0, 0}), (LocalDateTime{2028, 2, 29, 0, 0, 0}));
}

TEST(LocalTime, GeneralDateLeavesOutMidnight) {
  const FakeZone zone(0s);
  EXPECT_EQ(FormatGeneralDate(zone, Utc(2026, 12, 4, 22, 15, 3)), "2026-12-04 22:15:03");
  EXPECT_EQ(FormatGeneralDate(zone, Utc(2026, 12, 5)), "2026-12-05");
  EXPECT_EQ(FormatGeneralDate(zone, Utc(2026, 12, 5, 0, 0, 1)), "2026-12-05 00:00:01");
}

}  // namespace
}  // namespace kelvane
