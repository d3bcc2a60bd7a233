// The snapshot thread's life: it never offers a window of its own program nor one that went
// away, ends by itself after the last window, and ends with its owner however many are left.

#include "app/windows/share/window_shot_thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/windows/share/share_messages.h"
#include "message_window.h"

namespace {

using ZuvraKestrum::Share::WindowShotThread;

HWND GoneWindow() {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(window);
    return window;
}

TEST(WindowShotThreadTest, OffersNoOwnOrVanishedWindowAndEndsWithItsOwner) {
    MessageWindow target;
    ASSERT_NE(target.handle(), nullptr);
    const HWND gone = GoneWindow();
    {
        WindowShotThread shots;
        shots.start({target.handle(), gone}, L"", target.handle());
        EXPECT_TRUE(shots.running());
        EXPECT_TRUE(kestrum::testing_support::WaitUntil([&] { return !shots.running(); }));
    }
    MSG message = {};
    EXPECT_FALSE(target.take(message, WM_SHARE_SOURCE_FOUND, WM_SHARE_SOURCE_FOUND));

    // A run of a minute and more ends as soon as its owner goes.
    const DWORD before = GetTickCount();
    {
        WindowShotThread shots;
        shots.start(std::vector<HWND>(2000, gone), L"", target.handle());
        Sleep(5 * WindowShotThread::kPeriodMs);
        EXPECT_TRUE(shots.running());
    }
    EXPECT_LT(GetTickCount() - before, 2000u);

    WindowShotThread idle;
    idle.start({}, L"", target.handle());
    EXPECT_FALSE(idle.running());
}

}  // namespace
