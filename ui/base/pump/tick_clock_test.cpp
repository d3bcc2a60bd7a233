#include "ui/base/pump/tick_clock.h"

#include <gtest/gtest.h>

#include "ui/base/pump/message_pump.h"

namespace kbase {
namespace {

DWORD g_fake_tick = 0;
DWORD FakeTick() { return g_fake_tick; }

TEST(TickClockTest, KeepsRisingAcrossTheTickWrap) {
  TickClock clock(&FakeTick);
  g_fake_tick = 0xFFFFFFF0u;
  const int64_t before = clock.NowMicroseconds();
  EXPECT_EQ(before, int64_t{0xFFFFFFF0} * 1000);
  g_fake_tick = 0x10;
  const int64_t after = clock.NowMicroseconds();
  EXPECT_EQ(after, ((int64_t{1} << 32) + 0x10) * 1000);
  g_fake_tick = 0x20;
  EXPECT_EQ(clock.NowMicroseconds(), after + 0x10 * 1000);
  g_fake_tick = 0x5;  // a second wrap
  EXPECT_EQ(clock.NowMicroseconds(), ((int64_t{2} << 32) + 0x5) * 1000);
}

TEST(TickClockTest, SystemClockIsMonotonic) {
  const int64_t first = NowMicroseconds();
  Sleep(2);
  EXPECT_GT(NowMicroseconds(), first);
}

TEST(PumpDelayTest, DelaysRoundUpToWholeMillisecondsAndClampToFiniteWaits) {
  EXPECT_EQ(DelayMilliseconds(1000, 2000), 0);  // past
  EXPECT_EQ(DelayMilliseconds(2000, 2000), 0);
  EXPECT_EQ(DelayMilliseconds(2001, 2000), 1);
  EXPECT_EQ(DelayMilliseconds(5000, 2000), 3);
  EXPECT_EQ(DelayMilliseconds(5001, 2000), 4);
  EXPECT_EQ(ClampWaitMilliseconds(-5), 0u);
  EXPECT_EQ(ClampWaitMilliseconds(25), 25u);
  EXPECT_EQ(ClampWaitMilliseconds(int64_t{1} << 40), 4294967294u);
}

}  // namespace
}  // namespace kbase
