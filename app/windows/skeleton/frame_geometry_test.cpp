#include "app/windows/skeleton/frame_geometry.h"

#include <gtest/gtest.h>

namespace {

using ZuvraKestrum::Frame::PlaceMaximised;

// The caption band and the corner region are checked through real windows (dui_window_test).

TEST(FrameGeometry, MaximisedWindowFillsTheWorkAreaRelativeToItsMonitor) {
    MINMAXINFO info{};
    // Task bar on the left of the primary monitor.
    PlaceMaximised(RECT{48, 0, 1920, 1080}, RECT{0, 0, 1920, 1080}, info);
    EXPECT_EQ(info.ptMaxPosition.x, 48);
    EXPECT_EQ(info.ptMaxPosition.y, 0);
    EXPECT_EQ(info.ptMaxSize.x, 1872);
    EXPECT_EQ(info.ptMaxSize.y, 1080);

    // A monitor left of the primary one, task bar at its bottom.
    PlaceMaximised(RECT{-1280, 0, 0, 984}, RECT{-1280, 0, 0, 1024}, info);
    EXPECT_EQ(info.ptMaxPosition.x, 0);
    EXPECT_EQ(info.ptMaxPosition.y, 0);
    EXPECT_EQ(info.ptMaxSize.x, 1280);
    EXPECT_EQ(info.ptMaxSize.y, 984);
}

}  // namespace
