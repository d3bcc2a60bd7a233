#include "ui/base/timer/timer_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "kestrum/testing/win_wait.h"

namespace ui {
namespace {

// What the manager asked of its tick source, on a clock counting milliseconds.
struct TickLog {
  int64_t now = 0;
  std::vector<UINT> starts;  // periods of every start, in order
  int stops = 0;
  bool running = false;
  UINT refuse_periods_above = 0xFFFFFFFF;
};

class FakeBackend : public TimerManager::Backend {
 public:
  explicit FakeBackend(TickLog* log) : log_(log) {}
  int64_t Now() override { return log_->now; }
  int64_t Frequency() override { return 1000; }
  bool StartTicking(UINT period_ms) override {
    log_->starts.push_back(period_ms);
    log_->running = period_ms <= log_->refuse_periods_above;
    return log_->running;
  }
  void StopTicking() override {
    ++log_->stops;
    log_->running = false;
  }

 private:
  TickLog* log_;
};

class TimerManagerTest : public ::testing::Test {
 protected:
  TimerManagerTest() : manager_(std::make_unique<FakeBackend>(&log_)) {}

  void TickAt(int64_t now) {
    log_.now = now;
    manager_.Tick(now);
  }

  std::function<void()> Count(int* runs) {
    return [runs] { ++*runs; };
  }

  TickLog log_;
  TimerManager manager_;
  kbase::WeakCallbackFlag owner_;
};

TEST_F(TimerManagerTest, OneShotRunsOnceAndStopsTheTick) {
  int runs = 0;
  ASSERT_TRUE(manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 300, 1));
  EXPECT_EQ(log_.starts, (std::vector<UINT>{16}));
  TickAt(16);
  EXPECT_EQ(runs, 0);
  TickAt(300);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(log_.running);
  TickAt(600);
  EXPECT_EQ(runs, 1);
}

TEST_F(TimerManagerTest, EndlessRepeatRunsUntilItsFlagExpires) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 500, -1);
  TickAt(500);
  TickAt(1000);
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(log_.running);
  owner_.Cancel();
  TickAt(1500);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(log_.running);  // the cancelled record is gone: nothing left to tick for
}

TEST_F(TimerManagerTest, RepeatCountRunsThatManyTimes) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 100, 3);
  for (int64_t t = 100; t <= 600; t += 100) TickAt(t);
  EXPECT_EQ(runs, 3);
}

TEST_F(TimerManagerTest, DistantTimerSlowsTheTickThenRunsAndStops) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 5000, 1);
  TickAt(16);
  EXPECT_EQ(log_.starts, (std::vector<UINT>{16, 4986}));
  TickAt(5002);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(log_.running);
}

TEST_F(TimerManagerTest, SlowTickReturnsToFastWithinTheLastSecond) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 1500, 1);
  TickAt(16);
  TickAt(1000);  // 500 ms remain
  EXPECT_EQ(log_.starts, (std::vector<UINT>{16, 1486, 16}));
  EXPECT_EQ(runs, 0);
}

TEST_F(TimerManagerTest, VeryLongWaitIsTakenInPeriodsTheSystemAccepts) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 200000, 1);
  TickAt(16);
  EXPECT_EQ(log_.starts.back(), TimerManager::kLongestPeriodMs);
  TickAt(16 + TimerManager::kLongestPeriodMs);
  EXPECT_TRUE(log_.running);
  TickAt(200000);
  EXPECT_EQ(runs, 1);
}

TEST_F(TimerManagerTest, RefusedSlowTickFallsBackToTheFastOne) {
  int runs = 0;
  log_.refuse_periods_above = 16;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 3000, 1);
  TickAt(16);
  EXPECT_EQ(log_.starts, (std::vector<UINT>{16, 2986, 16}));
  EXPECT_TRUE(log_.running);
}

TEST_F(TimerManagerTest, EqualDueTimesRunInTheSameTick) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 100, 1);
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 100, 1);
  TickAt(100);
  EXPECT_EQ(runs, 2);
}

TEST_F(TimerManagerTest, ZeroPeriodRepeatRunsOncePerTick) {
  int runs = 0;
  manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 0, -1);
  TickAt(0);  // must return
  TickAt(16);
  EXPECT_EQ(runs, 2);
}

TEST_F(TimerManagerTest, RefusesEmptyCallbacksAndDropsFlaglessRecords) {
  EXPECT_FALSE(manager_.Schedule(owner_.AcquireWeakFlag(), nullptr, 100, 1));
  EXPECT_TRUE(log_.starts.empty());
  int runs = 0;
  manager_.Schedule(std::weak_ptr<kbase::WeakFlag>(), Count(&runs), 100, 1);
  TickAt(100);
  EXPECT_EQ(runs, 0);
  EXPECT_FALSE(log_.running);
}

TEST_F(TimerManagerTest, CallbackMayScheduleAnotherTimer) {
  int runs = 0;
  manager_.Schedule(
      owner_.AcquireWeakFlag(),
      [&] { manager_.Schedule(owner_.AcquireWeakFlag(), Count(&runs), 50, 1); }, 100, 1);
  TickAt(100);
  TickAt(150);
  EXPECT_EQ(runs, 1);
}

TEST(TimerManagerLifetimeTest, DestructionStopsTheTick) {
  TickLog log;
  {
    TimerManager manager(std::make_unique<FakeBackend>(&log));
    kbase::WeakCallbackFlag owner;
    manager.Schedule(
        owner.AcquireWeakFlag(), [] {}, 100, 1);
    EXPECT_TRUE(log.running);
  }
  EXPECT_FALSE(log.running);
}

// Pumps this thread's messages for the given time: a deliberate wait, not a bound.
void PumpFor(std::chrono::milliseconds duration) {
  kestrum::testing_support::PumpUntil([] { return false; }, nullptr, duration);
}

TEST(TimerManagerRealTest, OneShotFiresOnceOnTheOwningThread) {
  TimerManager& manager = TimerManager::Instance();  // the first window may take a while
  kbase::WeakCallbackFlag owner;
  int runs = 0;
  DWORD ran_on = 0;
  DWORD fired_at = 0;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(manager.Schedule(
      owner.AcquireWeakFlag(),
      [&] {
        ++runs;
        ran_on = GetCurrentThreadId();
        fired_at = GetTickCount();
      },
      300, 1));
  kestrum::testing_support::PumpUntil([&runs] { return runs != 0; });
  PumpFor(std::chrono::milliseconds(200));  // long enough for a wrongly repeated run
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(ran_on, GetCurrentThreadId());
  EXPECT_GE(fired_at - start, 290u);
}

}  // namespace
}  // namespace ui
