#include "conditions/condition_sampler_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;

// The real figures, taken twice: what the quiet conditions measure their
// rates from must be there and only grow.
TEST(ConditionSamplerWin32, NetworkCountersAndProcessorTimesArePlausibleAndOnlyGrow) {
  ConditionSamplerWin32 sampler;
  const auto octets = sampler.NetworkOctets();
  const auto times = sampler.SystemTimes();
  ASSERT_TRUE(octets.has_value()) << "iphlpapi.dll's interface table";
  // A test machine has a network adapter besides loopback, which is left out.
  ASSERT_FALSE(octets->empty());
  ASSERT_TRUE(times.has_value());
  EXPECT_LE(times->idle, times->total) << "the kernel's time includes the idle time";

  // The processors' times move at the system's tick, idle or not.
  std::optional<ProcessorTimes> later;
  ASSERT_TRUE(testing::PumpUntil([&] { return (later = sampler.SystemTimes()) && later->total > times->total; }, 5s));
  EXPECT_GE(later->idle, times->idle);
  EXPECT_GE(later->total - times->total, later->idle - times->idle);

  const auto again = sampler.NetworkOctets();
  ASSERT_TRUE(again.has_value());
  for (const InterfaceOctets& before : *octets) {
    const auto after = std::find_if(again->begin(), again->end(), [&](const auto& i) { return i.id == before.id; });
    if (after == again->end()) continue;  // gone down meanwhile
    EXPECT_GE(after->received, before.received) << before.id;
    EXPECT_GE(after->sent, before.sent) << before.id;
  }
}

}  // namespace
}  // namespace kelvane
