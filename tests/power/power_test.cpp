#include "power/power.h"

#include "fakes/recording_power_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kelvane {
namespace {

using testing::RecordingPowerApi;

TEST(Power, ClassifiesEveryReportedVersion) {
  const struct {
    ReportedVersion reported;
    int platformClass;
    const char* name;
    const char* text;
  } cases[] = {
      {{0, 3, 10, 0}, 0, "Windows 32", "3.10"},   {{1, 4, 0, 950}, 1, "Windows 95", "4.0"},
      {{1, 4, 10, 1998}, 1, "Windows 98", "4.10"}, {{1, 4, 90, 3000}, 1, "Windows ME", "4.90"},
      {{1, 4, 3, 0}, 1, "Windows 32", "4.3"},      {{2, 4, 0, 1381}, 2, "Windows NT", "4.0"},
      {{2, 5, 0, 2195}, 2, "Windows 2000", "5.0"}, {{2, 5, 1, 2600}, 2, "Windows XP", "5.1"},
      {{2, 5, 2, 3790}, 2, "Windows Vista", "5.2"}, {{2, 6, 1, 7601}, 2, "Windows Vista", "6.1"},
      {{2, 10, 0, 22631}, 2, "Windows Vista", "10.0"}, {{7, 6, 0, 0}, 0, "Windows 32", "6.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const OsVersionRecord record = ClassifyOsVersion(c.reported);
    EXPECT_EQ(record.platformClass, c.platformClass);
    EXPECT_EQ(OsDisplayName(record.osIndex), c.name);
    EXPECT_EQ(record.versionText, c.text);
    EXPECT_EQ(record.build, static_cast<std::int32_t>(c.reported.build));
  }
}

TEST(Power, ExitHoldsThePrivilegeAroundTheCallOnNt) {
  const struct {
    std::uint32_t flags;
    bool force;
    const char* call;
  } cases[] = {{kExitPowerOff, true, "exit 12"}, {kExitReboot, true, "exit 6"}, {kExitLogOff, true, "exit 4"},
               {kExitPowerOff, false, "exit 8"}, {kExitLogOff, false, "exit 0"}};
  for (const auto& c : cases) {
    for (bool succeed : {true, false}) {
      RecordingPowerApi api;
      api.succeed = succeed;
      EXPECT_EQ(ExitWindowsPower(api, c.flags, c.force), succeed);
      EXPECT_EQ(api.calls(), (std::vector<std::string>{"privilege on", c.call, "privilege off"}));
    }
  }
}

TEST(Power, Windows95FamilyExitsWithoutPrivileges) {
  RecordingPowerApi api;
  api.version = {1, 4, 10, 0};
  EXPECT_TRUE(ExitWindowsPower(api, kExitReboot, false));
  EXPECT_EQ(api.calls(), std::vector<std::string>{"exit 2"});
}

TEST(Power, SuspendAndLockOnlyWhereSupported) {
  const struct {
    ReportedVersion version;
    bool suspends;
    bool locks;
  } cases[] = {{{0, 3, 1, 0}, false, false}, {{1, 4, 0, 0}, false, false}, {{1, 4, 10, 0}, true, false},
               {{2, 4, 0, 0}, false, false}, {{2, 5, 0, 0}, true, true},  {{2, 6, 1, 0}, true, true}};
  for (const auto& c : cases) {
    RecordingPowerApi api;
    api.version = c.version;
    EXPECT_EQ(SuspendPower(api, 1, true, false), c.suspends);
    EXPECT_EQ(LockComputer(api), c.locks);
    EXPECT_EQ(LockOffered(ClassifyOsVersion(c.version)), c.locks);
    const bool calledSuspend = std::find(api.calls().begin(), api.calls().end(), "suspend 110") != api.calls().end();
    EXPECT_EQ(calledSuspend, c.suspends);
  }
}

TEST(Power, SuspendHoldsThePrivilegeAroundTheCall) {
  RecordingPowerApi api;
  api.succeed = false;
  EXPECT_FALSE(SuspendPower(api, 0, false, false));
  EXPECT_EQ(api.calls(), (std::vector<std::string>{"privilege on", "suspend 000", "privilege off"}));
}

}  // namespace
}  // namespace kelvane
