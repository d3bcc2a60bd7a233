#include "app/startup_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/testing/win_wait.h"

namespace {

std::vector<std::string> happened;

constexpr UINT kPosted = WM_APP + 1;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPosted) happened.push_back("posted");
    if (message == WM_PAINT) {
        happened.push_back("paint");
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(StartupStepsTest, AStepAfterPendingPaintsWaitsForTheShownWindowsPaintAndPostedMessages) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &RecordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"StartupStepsTestWindow";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 200, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    PostMessageW(window, kPosted, 0, 0);

    ZuvraKestrum::Startup::AfterPendingPaints([] { happened.push_back("step"); });
    EXPECT_TRUE(happened.empty());
    EXPECT_TRUE(kestrum::testing_support::PumpUntil([] { return happened.size() >= 3; }));
    EXPECT_EQ(happened, (std::vector<std::string>{"posted", "paint", "step"}));
    DestroyWindow(window);
}

}  // namespace
