#include <windows.h>

#include <gtest/gtest.h>

#include "base/local_time.h"
#include "base/system_time_win32.h"

namespace kelvane {
namespace {

TEST(SystemTime, LocalConversionsAgreeWithThePlatform) {
  const SystemClock clock;
  const UserLocalTimeZone zone;
  const Instant now = clock.Now();
  const LocalDateTime local = ToLocal(zone, now);
  // Local date-times hold whole seconds.
  EXPECT_EQ(FromLocal(zone, local), std::chrono::floor<std::chrono::seconds>(now));
  SYSTEMTIME platform{};
  GetLocalTime(&platform);
  EXPECT_EQ(local.year, platform.wYear);
  EXPECT_EQ(local.hour, platform.wHour);
}

TEST(SystemTime, GeneralDateUsesTheUserFormats) {
  const UserLocalTimeZone zone;
  const Instant noon = FromLocal(zone, {2026, 12, 4, 22, 15, 3});
  const std::string text = FormatGeneralDate(zone, noon);
  EXPECT_NE(text.find("2026"), std::string::npos) << text;
  EXPECT_NE(text.find("15"), std::string::npos) << text;
  const std::string midnight = FormatGeneralDate(zone, FromLocal(zone, {2026, 12, 5, 0, 0, 0}));
  EXPECT_EQ(midnight, zone.FormatShortDate({2026, 12, 5, 0, 0, 0}));
}

}  // namespace
}  // namespace kelvane
