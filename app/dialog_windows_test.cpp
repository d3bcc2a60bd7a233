#include "app/dialog_windows.h"

#include <gtest/gtest.h>

#include <thread>

#include "kestrum/core/kestrum_course.h"

namespace {

using ZuvraKestrum::Startup::FindDialogWindow;

// A top-level window of the calling thread with a dialog's window name.
class NamedWindow {
public:
    explicit NamedWindow(const wchar_t* name, bool visible = true)
        : window_(CreateWindowExW(0, L"STATIC", name, WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                                  10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~NamedWindow() { DestroyWindow(window_); }
    NamedWindow(const NamedWindow&) = delete;
    NamedWindow& operator=(const NamedWindow&) = delete;
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// What a service library thread finds, asked while this thread goes on.
HWND FoundFromAnotherThread(int dialog) {
    HWND found = nullptr;
    std::thread([&] { found = FindDialogWindow(dialog); }).join();
    return found;
}

TEST(DialogWindowsTest, TheBridgeFindsTheUiThreadsDialogsByTheirNamesFromAnyThread) {
    ZuvraKestrum::Startup::InstallDialogWindowLookup();
    const NamedWindow join(L"LoginHome", false);  // hidden, as during a meeting
    const NamedWindow room(L"SetRoom");
    const NamedWindow hostRoom(L"SetOwnRoom");

    EXPECT_EQ(FoundFromAnotherThread(CKestrumCourse::kJoinDialog), join.handle());
    EXPECT_EQ(FoundFromAnotherThread(3), room.handle());
    EXPECT_EQ(FoundFromAnotherThread(4), hostRoom.handle());
}

TEST(DialogWindowsTest, ClosedDialogsOtherThreadsWindowsAndTheInMeetingWindowAreNotFound) {
    ZuvraKestrum::Startup::InstallDialogWindowLookup();
    EXPECT_EQ(FindDialogWindow(CKestrumCourse::kJoinDialog), nullptr);

    // A window of that name on another thread is not the program's dialog.
    HWND foreign = nullptr;
    std::thread([&] {
        const NamedWindow other(L"LoginHome");
        foreign = FindDialogWindow(CKestrumCourse::kJoinDialog);
    }).join();
    EXPECT_EQ(foreign, nullptr);

    const NamedWindow profile(L"UserConfig");
    EXPECT_EQ(FindDialogWindow(5), profile.handle());
    EXPECT_EQ(FindDialogWindow(6), nullptr);
    EXPECT_EQ(FindDialogWindow(-1), nullptr);
    EXPECT_EQ(FindDialogWindow(7), nullptr);
}

}  // namespace
