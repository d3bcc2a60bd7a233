#include "app/kestrum/kestrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/windows/notice/dui_message_box.h"
#include "app/windows/skeleton/dui_window.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/testing/win_wait.h"
#include "notice_box_driver.h"
#include "temp_folder.h"

namespace {

using kestrum::testing_support::PumpUntil;
using notice_testing::NoticeSnapshot;
using notice_testing::ShownBoxWatch;

// A dialog of the table: an empty window on the skeleton that also stands in for the join
// window's join button.
class TestDialog : public CDuiWindow<TestDialog>, public CJoinButtonHost {
public:
    TestDialog() { ++live; }
    ~TestDialog() override { --live; }

    const wchar_t* GetWindowClassName() const override { return L"UIKestrumTestDlg"; }
    static CDuiMessageMap<TestDialog> MessageMap() {
        return StandardMessageMap(&TestDialog::OnCreate);
    }
    static CDuiNotifyMap<TestDialog> NotifyMap() { return CDuiNotifyMap<TestDialog>(); }

    void EnableJoinBtn() override { ++joinButtonEnabled; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW && wParam && !everShown) {
            everShown = true;
            GetWindowRect(GetHWND(), &firstShownAt);
        }
        return CDuiWindow<TestDialog>::HandleMessage(message, wParam, lParam);
    }
    // How the next windows fail to be created, if at all: before the system begins them (no
    // such window class) or half-way (their WM_CREATE refuses).
    enum class Failure { kNone, kBefore, kHalfWay };
    const wchar_t* GetSuperClassName() const override {
        return failure == Failure::kBefore ? L"KestrumNoSuchClass" : nullptr;
    }

    // Dialog objects alive now.
    static inline int live = 0;
    static inline Failure failure = Failure::kNone;
    int joinButtonEnabled = 0;
    // Where the window stood when it first showed.
    bool everShown = false;
    RECT firstShownAt = {};

private:
    LRESULT OnCreate() {
        if (failure == Failure::kHalfWay) return -1;
        BuildSkin(
            L"<Window size=\"360,500\"><VBox name=\"MainFrame\" bkcolor=\"window_bk\"/>"
            L"</Window>",
            nullptr);
        return 0;
    }
};

CDuiFrameWindow* MakeDialog(unsigned) { return new TestDialog(); }

// The ways out of the program, counted instead of taken.
int g_quits = 0;
int g_processEnds = 0;
void CountQuit() { ++g_quits; }
void CountProcessEnd() { ++g_processEnds; }
// Times a notice box was shown, also for a moment (a hide can cost seconds under Wine).
int g_noticeShows = 0;
class CountedNoticeBox : public CDuiMessageBox {
public:
    CountedNoticeBox()
        : CDuiMessageBox(*CSingleton<CKestrumConfig>::getInstance(),
                         NoticeBoxExits{&CountQuit, &CountProcessEnd}) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW && wParam) ++g_noticeShows;
        return CDuiMessageBox::HandleMessage(message, wParam, lParam);
    }
};
CDuiMessageBox* MakeNoticeBox() { return new CountedNoticeBox(); }

bool Chinese() { return g_language != 0; }

std::wstring WindowText(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

SIZE SizeOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentreOf(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class KestrumTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_quits = 0;
        g_processEnds = 0;
        g_noticeShows = 0;
        CKestrum::setDialogFactory(&MakeDialog);
        CKestrum::setNoticeBoxFactory(&MakeNoticeBox);
        // Opens the shared log file that the singleton writes into.
        logOpener_ = std::make_unique<CKestrumDump>("KestrumTest", true, false, false, logPath_);
        kestrum_ = std::make_unique<CKestrum>();
    }

    void TearDown() override {
        kestrum_.reset();
        EXPECT_TRUE(PumpUntil([] { return TestDialog::live == 0; }));
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        logOpener_.reset();
        CKestrum::setDialogFactory(nullptr);
        CKestrum::setNoticeBoxFactory(nullptr);
    }

    HWND Window(unsigned id) const {
        CDuiFrameWindow* dialog = kestrum_->getDlg(id);
        return dialog ? dialog->GetHWND() : nullptr;
    }

    // Shows the box through the service and closes it with its bottom button once it is up.
    NoticeSnapshot ShowAndClose(HWND owner, const wchar_t* text, int code, int type) {
        ShownBoxWatch watch(kestrum_->messageBox(), &ShownBoxWatch::CloseIt);
        kestrum_->showMsgBox(owner, text, code, type);
        return watch.snapshot();
    }

    // Whether the log has a line of that level ending in text.
    bool Logged(const std::string& level, const std::string& text) const {
        const std::string log = "\n" + ReadFileBytes(logPath_);
        const std::string start = "\n[" + level + "]";
        for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1)) {
            const size_t end = std::min(log.find_first_of("\r\n", at + 1), log.size());
            if (end - at > text.size() && log.compare(end - text.size(), text.size(), text) == 0) {
                return true;
            }
        }
        return false;
    }

    TempFolder folder_;
    std::wstring logPath_ = folder_.path() + L"kestrum.log";
    std::unique_ptr<CKestrumDump> logOpener_;
    std::unique_ptr<CKestrum> kestrum_;
};

TEST_F(KestrumTest, StartShowsTheJoinWindowCentredAndBuildsTheNoticeBoxHidden) {
    HWND join = kestrum_->getDuiWnd(CKestrum::kLoginDlg);
    ASSERT_NE(join, nullptr);
    EXPECT_EQ(WindowText(join), L"LoginHome");
    EXPECT_EQ(SizeOf(join).cx, 360);
    EXPECT_EQ(SizeOf(join).cy, 500);
    EXPECT_TRUE(IsWindowVisible(join));
    EXPECT_TRUE(IsWindowEnabled(join));
    EXPECT_EQ(GetWindow(join, GW_OWNER), nullptr);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(join, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT placed;
    GetWindowRect(join, &placed);
    EXPECT_NEAR(CentreOf(placed).x, CentreOf(monitor.rcWork).x, 1);
    EXPECT_NEAR(CentreOf(placed).y, CentreOf(monitor.rcWork).y, 1);
    // Shown first where it stands, never at its creation's corner.
    const auto* dialog = dynamic_cast<TestDialog*>(kestrum_->getDlg(CKestrum::kLoginDlg));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(EqualRect(&dialog->firstShownAt, &placed));
    for (unsigned id = 1; id < CKestrum::kDialogCount; ++id)
        EXPECT_EQ(kestrum_->getDlg(id), nullptr);
    EXPECT_TRUE(Logged("Level_Info", "CKestrum::openDlg(0) Create LoginHome"));

    ASSERT_NE(kestrum_->messageBox(), nullptr);
    HWND box = kestrum_->messageBox()->GetHWND();
    EXPECT_EQ(WindowText(box), L"DuiMsgBox");
    wchar_t className[64] = {};
    GetClassNameW(box, className, 64);
    EXPECT_STREQ(className, L"DuiMessageBox");
    EXPECT_EQ(SizeOf(box).cx, 500);
    EXPECT_EQ(SizeOf(box).cy, 200);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(g_noticeShows, 0);
}

TEST_F(KestrumTest, DialogsDisableTheWindowsTheyStandOverUntilTheyClose) {
    struct Row {
        unsigned id;
        const wchar_t* name;
        bool ownedByJoin;
        bool overJoin;
        bool overMeeting;
    };
    const Row rows[] = {
        {CKestrum::kNickNameDlg, L"SettingNickName", true, true, false},
        {CKestrum::kSetAVDlg, L"SetAV", true, true, true},
        {CKestrum::kSetRoomDlg, L"SetRoom", false, false, true},
        {CKestrum::kSetOwnRoomDlg, L"SetOwnRoom", false, false, true},
        {CKestrum::kUserConfigDlg, L"UserConfig", false, true, false},
    };
    HWND join = Window(CKestrum::kLoginDlg);
    kestrum_->openDlg(CKestrum::kLiveDlg);
    HWND meeting = Window(CKestrum::kLiveDlg);
    ASSERT_NE(meeting, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        // The meeting window has taken the join window's place; both start usable here.
        EnableWindow(join, TRUE);
        kestrum_->openDlg(row.id);
        HWND dialog = kestrum_->getDuiWnd(row.id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), row.name);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), row.ownedByJoin ? join : nullptr);
        EXPECT_EQ(SizeOf(dialog).cx, 360);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(IsWindowEnabled(join) != FALSE, !row.overJoin);
        EXPECT_EQ(IsWindowEnabled(meeting) != FALSE, !row.overMeeting);

        kestrum_->closeDlg(row.id);
        EXPECT_EQ(kestrum_->getDlg(row.id), nullptr);
        EXPECT_TRUE(IsWindowEnabled(join));
        EXPECT_TRUE(IsWindowEnabled(meeting));
        EXPECT_TRUE(PumpUntil([dialog] { return !IsWindow(dialog); }));
    }
}

TEST_F(KestrumTest, SettingsTabsKeepTheMeetingDisabledToTheLastAndCloseWithIt) {
    kestrum_->openDlg(CKestrum::kLiveDlg);
    HWND meeting = Window(CKestrum::kLiveDlg);
    HWND join = Window(CKestrum::kLoginDlg);
    ASSERT_NE(meeting, nullptr);
    // Each tab opens its neighbour, then closes itself.
    kestrum_->openDlg(CKestrum::kSetRoomDlg);
    kestrum_->openDlg(CKestrum::kSetAVDlg);
    kestrum_->closeDlg(CKestrum::kSetRoomDlg);
    EXPECT_FALSE(IsWindowEnabled(meeting));
    kestrum_->openDlg(CKestrum::kSetOwnRoomDlg);
    kestrum_->closeDlg(CKestrum::kSetAVDlg);
    EXPECT_FALSE(IsWindowEnabled(meeting));

    // The meeting ends (left, or the user removed) under its settings windows: they act for the
    // meeting and close with it, and the join window comes back usable.
    kestrum_->openDlg(CKestrum::kSetAVDlg);
    kestrum_->openDlg(CKestrum::kSetRoomDlg);
    const HWND settings[] = {Window(CKestrum::kSetAVDlg), Window(CKestrum::kSetRoomDlg),
                             Window(CKestrum::kSetOwnRoomDlg)};
    kestrum_->closeDlg(CKestrum::kLiveDlg);
    for (unsigned id : {CKestrum::kSetAVDlg, CKestrum::kSetRoomDlg, CKestrum::kSetOwnRoomDlg})
        EXPECT_EQ(kestrum_->getDlg(id), nullptr) << id;
    EXPECT_TRUE(IsWindowVisible(join));
    EXPECT_TRUE(IsWindowEnabled(join));
    EXPECT_TRUE(PumpUntil(
        [&settings] { return std::none_of(std::begin(settings), std::end(settings), IsWindow); }));
}

TEST_F(KestrumTest, MeetingWindowTakesTheJoinWindowsPlaceAndGivesItBackWithItsButton) {
    HWND join = Window(CKestrum::kLoginDlg);
    auto* joinDialog = dynamic_cast<TestDialog*>(kestrum_->getDlg(CKestrum::kLoginDlg));
    ASSERT_NE(joinDialog, nullptr);
    ASSERT_TRUE(PumpUntil([join] { return !GetUpdateRect(join, nullptr, FALSE); }));

    kestrum_->openDlg(CKestrum::kLiveDlg);
    HWND meeting = Window(CKestrum::kLiveDlg);
    ASSERT_NE(meeting, nullptr);
    // It carries the profile window's name.
    EXPECT_EQ(WindowText(meeting), L"UserConfig");
    EXPECT_FALSE(IsWindowVisible(join));
    EXPECT_FALSE(IsWindowEnabled(join));
    EXPECT_TRUE(Logged("Level_Info", "CKestrum::openDlg(6) Create Live"));

    kestrum_->closeDlg(CKestrum::kLiveDlg);
    EXPECT_EQ(joinDialog->joinButtonEnabled, 1);
    EXPECT_TRUE(IsWindowVisible(join));
    // Painted before the meeting window is torn down.
    EXPECT_FALSE(GetUpdateRect(join, nullptr, FALSE));
    EXPECT_TRUE(IsWindow(meeting));
    EXPECT_TRUE(IsWindowEnabled(join));
    EXPECT_EQ(GetActiveWindow(), join);
    EXPECT_TRUE(Logged("Level_Info", "CKestrum::closeDlg(6)"));
    EXPECT_TRUE(PumpUntil([meeting] { return !IsWindow(meeting); }));
}

TEST_F(KestrumTest, OpeningAnOpenDialogOnlyBringsItForwardAndClosingAClosedOneGivesBack) {
    kestrum_->openDlg(CKestrum::kLiveDlg);
    kestrum_->openDlg(CKestrum::kSetRoomDlg);
    CDuiFrameWindow* room = kestrum_->getDlg(CKestrum::kSetRoomDlg);
    HWND meeting = Window(CKestrum::kLiveDlg);
    ShowWindow(room->GetHWND(), SW_HIDE);
    EnableWindow(meeting, TRUE);
    const int dialogs = TestDialog::live;
    kestrum_->openDlg(CKestrum::kSetRoomDlg);
    EXPECT_EQ(kestrum_->getDlg(CKestrum::kSetRoomDlg), room);
    EXPECT_EQ(TestDialog::live, dialogs);
    EXPECT_TRUE(IsWindowVisible(room->GetHWND()));
    EXPECT_EQ(GetActiveWindow(), room->GetHWND());
    EXPECT_TRUE(IsWindowEnabled(meeting));  // nothing is disabled again

    HWND join = Window(CKestrum::kLoginDlg);
    kestrum_->closeDlg(CKestrum::kLiveDlg);
    EnableWindow(join, FALSE);
    kestrum_->closeDlg(CKestrum::kUserConfigDlg);
    EXPECT_TRUE(IsWindowEnabled(join));
    ShowWindow(join, SW_HIDE);
    kestrum_->closeDlg(CKestrum::kLiveDlg);
    EXPECT_TRUE(IsWindowVisible(join));
    EXPECT_EQ(dynamic_cast<TestDialog*>(kestrum_->getDlg(CKestrum::kLoginDlg))->joinButtonEnabled,
              2);
}

TEST_F(KestrumTest, IdsOutsideTheTableAndWindowsGoneWithoutCloseDlgAreNoDialogs) {
    const int dialogs = TestDialog::live;
    kestrum_->openDlg(7);
    kestrum_->closeDlg(7);
    EXPECT_EQ(TestDialog::live, dialogs);
    EXPECT_EQ(kestrum_->getDlg(7), nullptr);
    EXPECT_EQ(kestrum_->getDuiWnd(7), nullptr);
    EXPECT_EQ(kestrum_->getDuiWnd(CKestrum::kSetRoomDlg), nullptr);
    EXPECT_TRUE(Logged("Level_Error", "CKestrum::getDuiWnd(7)"));
    EXPECT_TRUE(Logged("Level_Error", "CKestrum::getDuiWnd(3)"));
    EXPECT_TRUE(Logged("Level_Info", "CKestrum::closeDlg(7)"));
    EXPECT_FALSE(Logged("Level_Info", "CKestrum::openDlg(7) Create "));

    // The object of a window destroyed directly is gone: the slot is free again.
    kestrum_->openDlg(CKestrum::kSetOwnRoomDlg);
    DestroyWindow(Window(CKestrum::kSetOwnRoomDlg));
    EXPECT_EQ(kestrum_->getDlg(CKestrum::kSetOwnRoomDlg), nullptr);
    kestrum_->openDlg(CKestrum::kSetOwnRoomDlg);
    EXPECT_NE(Window(CKestrum::kSetOwnRoomDlg), nullptr);
    EXPECT_EQ(TestDialog::live, dialogs + 1);

    // A window that fails to be created, before it was begun or half-way, leaves no object.
    for (TestDialog::Failure failure :
         {TestDialog::Failure::kBefore, TestDialog::Failure::kHalfWay}) {
        TestDialog::failure = failure;
        kestrum_->openDlg(CKestrum::kSetRoomDlg);
        TestDialog::failure = TestDialog::Failure::kNone;
        EXPECT_EQ(kestrum_->getDlg(CKestrum::kSetRoomDlg), nullptr);
        EXPECT_EQ(TestDialog::live, dialogs + 1);
    }
}

TEST_F(KestrumTest, CloseAllClosesEveryWindowAndTheDestructorAlsoEndsTheMessageLoop) {
    kestrum_->openDlg(CKestrum::kNickNameDlg);
    kestrum_->openDlg(CKestrum::kLiveDlg);
    kestrum_->closeAll();
    for (unsigned id = 0; id < CKestrum::kDialogCount; ++id)
        EXPECT_EQ(kestrum_->getDlg(id), nullptr);
    EXPECT_EQ(kestrum_->messageBox(), nullptr);
    // The notice box's end is the process's end.
    EXPECT_TRUE(PumpUntil([] { return TestDialog::live == 0 && g_processEnds == 1; }));
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    kestrum_->showMsgBox(nullptr, L"Room join failed", 2006, 1);  // no box: returns at once

    kestrum_.reset();
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(KestrumTest, BoxShowsOverItsOwnerUntilClosedAndOnlyUpgradeOffersShowUpdate) {
    HWND join = Window(CKestrum::kLoginDlg);
    NoticeSnapshot shown = ShowAndClose(join, L"server said no", 2006, CKestrum::kErrorBox);
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.title, L"Error");
    EXPECT_EQ(shown.tips,
              Chinese() ? L"无法加入房间，密码错误" : L"Room join failed, incorrect password");
    EXPECT_FALSE(shown.updateVisible);
    RECT joinRect;
    GetWindowRect(join, &joinRect);
    EXPECT_NEAR(CentreOf(shown.window).x, CentreOf(joinRect).x, 1);
    EXPECT_NEAR(CentreOf(shown.window).y, CentreOf(joinRect).y, 1);
    EXPECT_TRUE(shown.topmost);
    EXPECT_FALSE(IsWindowVisible(kestrum_->messageBox()->GetHWND()));
    EXPECT_EQ(g_quits, 0);

    shown = ShowAndClose(join, L"--to 1.2.0", 0, CKestrum::kForceUpdateBox);
    EXPECT_EQ(shown.title, L"ForceUpdate");
    EXPECT_EQ(shown.tips,
              Chinese() ? L"版本过旧，请升级到最新版本。" : L"Please update app to new version.");
    EXPECT_TRUE(shown.updateVisible);
    EXPECT_EQ(kestrum_->messageBox()->argument(), L"--to 1.2.0");
    EXPECT_EQ(g_quits, 1);  // declined

    // A later error offers no upgrade, and closing it does not quit.
    shown = ShowAndClose(join, L"no host", 2008, CKestrum::kErrorBox);
    EXPECT_FALSE(shown.updateVisible);
    EXPECT_EQ(g_quits, 1);
}

TEST_F(KestrumTest, DeclinedOptionalUpgradeShowsTheJoinWindowAgainAndIsRemembered) {
    CKestrumConfig* config = CSingleton<CKestrumConfig>::getInstance();
    config->setUpdateOption("0");
    HWND join = Window(CKestrum::kLoginDlg);
    ShowWindow(join, SW_HIDE);
    const NoticeSnapshot shown =
        ShowAndClose(nullptr, L"--to 1.3.0", 0, CKestrum::kOptionUpdateBox);
    EXPECT_EQ(shown.title, L"OptionUpdate");
    EXPECT_EQ(shown.closeText, Chinese() ? L"以后再说" : L"Later");
    EXPECT_TRUE(IsWindowVisible(join));
    std::string option;
    EXPECT_EQ(config->getUpdateOption(option), "1");
    EXPECT_EQ(g_quits, 0);
}

TEST_F(KestrumTest, CallerOnAnotherThreadWaitsWhileTheUiThreadRunsTheBox) {
    CDuiMessageBox* box = kestrum_->messageBox();
    std::atomic<bool> returned{false};
    bool callerWaitedWhileShown = false;
    ShownBoxWatch watch(box, [&](CDuiMessageBox* shownBox) {
        callerWaitedWhileShown = !returned.load();
        ShownBoxWatch::CloseIt(shownBox);
    });
    std::thread reconnect([&] {
        kestrum_->showMsgBox(nullptr, L"Reconnecting", 0, CKestrum::kErrorBox);
        returned = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
    reconnect.join();
    ASSERT_TRUE(watch.snapshot().seen);
    EXPECT_TRUE(callerWaitedWhileShown);
    EXPECT_EQ(watch.snapshot().title, L"Error");
    EXPECT_EQ(watch.snapshot().tips, L"Reconnecting");
    EXPECT_FALSE(IsWindowVisible(box->GetHWND()));

    // And the reconnected notice hides a box shown meanwhile.
    box->ShowWindow(true, false);
    returned = false;
    std::thread reconnected([&] {
        kestrum_->showMsgBox(nullptr, L"", 0, CKestrum::kHideBox);
        returned = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
    reconnected.join();
    EXPECT_FALSE(IsWindowVisible(box->GetHWND()));
}

}  // namespace
