#include "kestrum/testing/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kestrum::testing_support {
namespace {

using namespace std::chrono_literals;

TEST(TestTimeoutTest, ScaleStretchesTheDefaultAndAnythingButAPositiveNumberLeavesIt) {
    EXPECT_EQ(ScaledTestTimeout("2"), 2 * kTestTimeout);
    EXPECT_EQ(ScaledTestTimeout("0.5"), kTestTimeout / 2);
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "x", "2x", "0", "-3"}) {
        EXPECT_EQ(ScaledTestTimeout(ignored), kTestTimeout) << (ignored ? ignored : "(null)");
    }
}

TEST(WaitUntilTest, ReturnsOnceAnotherThreadMakesTheConditionTrue) {
    std::atomic<bool> done{false};
    std::thread setter([&] {
        std::this_thread::sleep_for(50ms);
        done = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
    setter.join();
}

TEST(WaitUntilTest, GivesUpWithFalseOnceTheTimeoutHasPassed) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitUntil([] { return false; }, 100ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
}

}  // namespace
}  // namespace kestrum::testing_support
