#include "kestrum/testing/win_wait.h"

#include <gtest/gtest.h>

#include <chrono>

#include "kestrum/common/scoped_handle.h"

namespace kestrum::testing_support {
namespace {

using namespace std::chrono_literals;

int fired = 0;
void CALLBACK CountTimer(HWND, UINT, UINT_PTR, DWORD) { ++fired; }

TEST(PumpUntilTest, DispatchesThisThreadsMessagesUntilTheConditionHolds) {
    fired = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CountTimer);
    ASSERT_NE(timer, 0u);
    EXPECT_TRUE(PumpUntil([] { return fired >= 2; }));
    KillTimer(nullptr, timer);
}

TEST(PumpUntilTest, AFilterTakesTheMessagesItWantsBeforeTheyAreDispatched) {
    constexpr UINT kKept = WM_APP + 7;
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), kKept, 42, 0));
    WPARAM kept = 0;
    EXPECT_TRUE(PumpUntil([&] { return kept == 42; },
                          [&](MSG& message) {
                              if (message.message != kKept) return false;
                              kept = message.wParam;
                              return true;
                          }));
}

TEST(PumpUntilTest, GivesUpWithFalseOnceTheTimeoutHasPassed) {
    EXPECT_FALSE(PumpUntil([] { return false; }, nullptr, 50ms));
}

TEST(WaitForHandleTest, TellsASignalledHandleFromOneThatStaysUnset) {
    const common::ScopedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    EXPECT_FALSE(WaitForHandle(event.get(), 20ms));
    SetEvent(event.get());
    EXPECT_TRUE(WaitForHandle(event.get()));
}

}  // namespace
}  // namespace kestrum::testing_support
