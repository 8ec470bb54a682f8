#include <windows.h>

#include <gtest/gtest.h>

#include "power/power.h"
#include "power/power_api_win32.h"

namespace kelvane {
namespace {

TEST(PowerWin32, WineReportsAnNtSystemThatOffersLocking) {
  const auto api = CreatePowerApi();
  const OsVersionRecord record = GetOsVersionInfo(*api);
  EXPECT_EQ(record.platformClass, 2);
  EXPECT_GE(record.build, 0);
  // Wine presents itself as Windows 7 (NT 6.1) or later by default.
  EXPECT_EQ(GetOsName(*api), "Windows Vista");
  EXPECT_TRUE(LockOffered(record));
}

TEST(PowerWin32, ShutdownPrivilegeRoundTrip) {
  SetShutdownPrivilegeOfProcess(true);
  EXPECT_TRUE(IsShutdownPrivilegeEnabled());
  SetShutdownPrivilegeOfProcess(false);
  EXPECT_FALSE(IsShutdownPrivilegeEnabled());
}

}  // namespace
}  // namespace kelvane
