#include "app/windows/skeleton/kinetic_scroll.h"

#include <gtest/gtest.h>

namespace {

TEST(KineticScrollTest, OneNotchFromRestGlidesAndSlowsDown) {
    KineticScroll scroll;
    scroll.wheel(KineticScroll::kWheelUp);
    EXPECT_EQ(scroll.velocity(), 8);
    EXPECT_EQ(scroll.steps(), 10);  // 5 x trunc(sqrt(8))

    int moved = 0;
    int previous = 1000;
    for (int i = 0; i < 10; ++i) {
        const int step = scroll.tick();
        if (i == 0) {
            EXPECT_EQ(step, 6);  // trunc(0.9^2 x 8)
        }
        EXPECT_LE(step, previous);
        previous = step;
        moved += step;
    }
    EXPECT_EQ(scroll.tick(), 0) << "the motion ends after its steps";
    EXPECT_GT(moved, 8);

    scroll.stop();
    scroll.wheel(KineticScroll::kWheelDown);
    EXPECT_EQ(scroll.velocity(), -8);
    EXPECT_LT(scroll.tick(), 0);
}

TEST(KineticScrollTest, NotchesAccumulateUpToTheLimitAndReversalBrakesHarder) {
    KineticScroll scroll;
    for (int i = 0; i < 30; ++i) scroll.wheel(KineticScroll::kWheelDown);
    EXPECT_EQ(scroll.velocity(), -KineticScroll::kMaxVelocity);
    EXPECT_EQ(scroll.steps(), 50);

    // At the start of a motion the current step is the full speed: -100 + 12.
    scroll.wheel(KineticScroll::kWheelUp);
    EXPECT_EQ(scroll.velocity(), -88);

    KineticScroll forward;
    forward.wheel(KineticScroll::kWheelUp);
    forward.wheel(KineticScroll::kWheelDown);
    EXPECT_EQ(forward.velocity(), 8 - 12);

    forward.wheel(7);  // neither up nor down: the speed stays, the motion restarts
    EXPECT_EQ(forward.velocity(), -4);
    EXPECT_EQ(forward.stepsLeft(), 10);
}

}  // namespace
