#include "app/windows/skeleton/dui_window.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/video_surface.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/testing/win_wait.h"
#include "skel_window.h"
#include "temp_folder.h"

namespace {

using kestrum::testing_support::PumpUntil;

constexpr DWORD kDialogStyle = 0x10CF0000;

// A window that logs as the program's windows do and builds its skin in the user's language.
class LoggingWindow : public CDuiWindow<LoggingWindow>, public CKestrumDump {
public:
    // complete: binds a table the test skin fills; otherwise one with a name it lacks and one
    // of another kind.
    LoggingWindow(const wchar_t* stem, const std::wstring& logPath, bool complete = true)
        : CKestrumDump("LoggingWindow", true, false, false, logPath),
          stem_(stem),
          complete_(complete) {}

    const wchar_t* GetWindowClassName() const override { return L"UISkelLoggingWnd"; }
    static CDuiMessageMap<LoggingWindow> MessageMap() {
        return StandardMessageMap(&LoggingWindow::OnCreate);
    }
    static CDuiNotifyMap<LoggingWindow> NotifyMap() { return {}; }

    // The source line of the skin's build, as the log names it.
    static inline int buildLine = 0;
    static inline int bindLine = 0;
    DuiLib::CControlUI* root = nullptr;
    bool bound = false;
    DuiLib::COptionUI* option = nullptr;
    DuiLib::CButtonUI* button = nullptr;
    DuiLib::CControlUI* label = nullptr;
    DuiLib::CButtonUI* nested = nullptr;
    DuiLib::CControlUI* outside = nullptr;
    DuiLib::CControlUI* absent = nullptr;

private:
    LRESULT OnCreate() {
        buildLine = __LINE__ + 1;
        root = BuildLanguageSkin(stem_.c_str(), nullptr, *this);
        if (!root) return 0;
        if (complete_) {
            // An option is a button too; the optional rows find nothing, "capbtn" being no
            // child of "lang".
            bound =
                BindControls(*this,
                             {{L"capopt", &LoggingWindow::option},
                              {L"capopt", &LoggingWindow::button},
                              {L"title", &LoggingWindow::label},
                              {L"MainFrame", L"capbtn", &LoggingWindow::nested},
                              {L"lang", L"capbtn", &LoggingWindow::outside, ControlNeed::kOptional},
                              {L"absent", &LoggingWindow::absent, ControlNeed::kOptional}},
                             *this);
            return 0;
        }
        bindLine = __LINE__ + 1;
        bound = BindControls(*this,
                             {{L"title", &LoggingWindow::label},
                              {L"capbtn", &LoggingWindow::option},
                              {L"nosuch", &LoggingWindow::button}},
                             *this);
        return 0;
    }

    std::wstring stem_;
    bool complete_;
};

// A video child's procedure: counts the clicks into the int its user data points at.
LRESULT CALLBACK CountClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN)
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return DefWindowProcW(window, message, wParam, lParam);
}

// A child's place in its parent's client coordinates.
RECT PlaceIn(HWND parent, HWND child) {
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

class SkeletonWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (HWND window : windows_) {
            if (IsWindow(window)) DestroyWindow(window);
        }
        g_language = 0;
        kestrum::testing_support::PumpPending();
    }

    // A shown window of the skin `stem`, laid out once ("windowinit" seen), or null.
    template <class Window>
    Window* Open(const wchar_t* stem, int x = 40, int y = 40) {
        auto* window = new Window(stem, &journal_);
        HWND handle = window->Create(nullptr, L"SkelTest", kDialogStyle, 0, x, y, 400, 300);
        if (!handle) return nullptr;
        windows_.push_back(handle);
        window->ShowWindow(true, true);
        if (!PumpUntil([this] { return Saw(L"windowinit:MainFrame"); })) return nullptr;
        return window;
    }

    bool Saw(const std::wstring& entry) const {
        return std::find(journal_.begin(), journal_.end(), entry) != journal_.end();
    }

    // The screen point of a client point, packed as WM_NCHITTEST carries it.
    static LPARAM ScreenParam(HWND window, POINT point) {
        ClientToScreen(window, &point);
        return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
    }

    static POINT Centre(DuiLib::CControlUI* control) {
        const RECT& pos = control->GetPos();
        return POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    }

    static LRESULT HitTest(CDuiFrameWindow* window, POINT client) {
        HWND handle = window->GetHWND();
        return SendMessageW(handle, WM_NCHITTEST, 0, ScreenParam(handle, client));
    }

    std::vector<std::wstring> journal_;
    std::vector<HWND> windows_;
};

TEST_F(SkeletonWindowTest, LaterRowOfAMessageTakesItsPlaceAndADecliningRowFallsThroughToDefault) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();

    EXPECT_EQ(SendMessageW(handle, StandardWindow::kTwoRows, 0, 0), 11);
    // The row runs, declines, and the default procedure answers the title's length.
    EXPECT_EQ(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0), 8);
    EXPECT_TRUE(Saw(L"declined"));
    // No row at all: default processing.
    wchar_t title[32] = {};
    SendMessageW(handle, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(title));
    EXPECT_STREQ(title, L"SkelTest");
    EXPECT_EQ(SendMessageW(handle, WM_NULL, 0, 0), 0);
}

TEST_F(SkeletonWindowTest, KeysStopAtTheStandardRowAndReachControlsWithoutIt) {
    StandardWindow* standard = Open<StandardWindow>(L"SkelTest");
    KeysWindow* keys = Open<KeysWindow>(L"SkelTest", 460, 40);
    ASSERT_NE(standard, nullptr);
    ASSERT_NE(keys, nullptr);

    for (CDuiFrameWindow* window :
         {static_cast<CDuiFrameWindow*>(standard), static_cast<CDuiFrameWindow*>(keys)}) {
        DuiLib::CPaintManagerUI& manager = window->paintManager();
        manager.SetFocus(manager.FindControl(L"bodybtn"));
        EXPECT_EQ(SendMessageW(window->GetHWND(), WM_KEYDOWN, VK_SPACE, 0), 0);
    }
    // A focused button clicks on Space only where the key reached the paint manager.
    EXPECT_EQ(std::count(journal_.begin(), journal_.end(), L"click:bodybtn"), 1);
}

TEST_F(SkeletonWindowTest, MouseClickReachesTheFirstMatchingNotifyRowOnly) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    const POINT point = Centre(window->paintManager().FindControl(L"bodybtn"));
    const LPARAM at = MAKELPARAM(point.x, point.y);
    SendMessageW(handle, WM_MOUSEMOVE, 0, at);
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(handle, WM_LBUTTONUP, 0, at);
    PumpUntil([this] { return Saw(L"click:bodybtn"); });

    EXPECT_EQ(std::count(journal_.begin(), journal_.end(), L"click:bodybtn"), 1);
    EXPECT_FALSE(Saw(L"second row"));
}

TEST_F(SkeletonWindowTest, NotifyMatchesTypeAndSenderNameExactly) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    journal_.clear();
    DuiLib::TNotifyUI notification;
    notification.pSender = window->paintManager().FindControl(L"capbtn");
    for (const wchar_t* type : {L"Click", L"selectchanged", L"click"}) {
        notification.sType = type;
        window->Notify(notification);
    }
    notification.pSender = window->paintManager().FindControl(L"capopt");
    window->Notify(notification);
    // Neither an unnamed sender with an empty type nor a missing sender finds a row.
    DuiLib::CControlUI unnamed;
    notification.sType = L"";
    notification.pSender = &unnamed;
    window->Notify(notification);
    notification.pSender = nullptr;
    window->Notify(notification);

    EXPECT_EQ(journal_, std::vector<std::wstring>{L"click:capbtn"});
}

TEST_F(SkeletonWindowTest, SkinFileFollowsTheLanguageFlag) {
    EXPECT_EQ(CDuiFrameWindow::SkinFile(L"home"), L"home-en.xml");
    g_language = 2;
    EXPECT_EQ(CDuiFrameWindow::SkinFile(L"home"), L"home-zh.xml");

    g_language = 1;
    StandardWindow* chinese = Open<StandardWindow>(L"SkelTest");
    g_language = 0;
    StandardWindow* english = Open<StandardWindow>(L"SkelTest", 460, 40);
    ASSERT_NE(chinese, nullptr);
    ASSERT_NE(english, nullptr);
    EXPECT_EQ(chinese->paintManager().FindControl(L"lang")->GetText(), L"中文");
    EXPECT_EQ(english->paintManager().FindControl(L"lang")->GetText(), L"English");
}

TEST_F(SkeletonWindowTest, LanguageSkinIsBuiltAndAMissingOneIsLoggedAsTheCallingWindow) {
    TempFolder folder;
    const std::wstring log = folder.path() + L"windows.log";
    g_language = 1;
    auto* present = new LoggingWindow(L"SkelTest", log);
    auto* missing = new LoggingWindow(L"NoSuchSkin", log);
    HWND handles[] = {present->Create(nullptr, L"SkelTest", kDialogStyle, 0, 40, 40, 400, 300),
                      missing->Create(nullptr, L"SkelTest", kDialogStyle, 0, 40, 40, 400, 300)};
    ASSERT_NE(handles[0], nullptr);
    ASSERT_NE(handles[1], nullptr);
    ASSERT_NE(present->root, nullptr);
    EXPECT_EQ(present->paintManager().FindControl(L"lang")->GetText(), L"中文");
    EXPECT_EQ(missing->root, nullptr);
    // The windows delete themselves, and the last logger closes the log.
    for (HWND handle : handles) DestroyWindow(handle);

    const std::string text = ReadFileBytes(log);
    const std::string line = "[LoggingWindow:" + std::to_string(LoggingWindow::buildLine) +
                             "] LoggingWindow::OnCreate(NoSuchSkin-zh.xml) skin missing\r\n";
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find("SkelTest"), std::string::npos) << text;
}

TEST_F(SkeletonWindowTest,
       ControlTableBindsByKindInsideParentsAndOnlyAMissingRequiredRowLeavesTheWindowInert) {
    TempFolder folder;
    const std::wstring log = folder.path() + L"windows.log";
    auto* complete = new LoggingWindow(L"SkelTest", log);
    auto* incomplete = new LoggingWindow(L"SkelTest", log, false);
    HWND handles[] = {complete->Create(nullptr, L"SkelTest", kDialogStyle, 0, 40, 40, 400, 300),
                      incomplete->Create(nullptr, L"SkelTest", kDialogStyle, 0, 40, 40, 400, 300)};
    ASSERT_NE(handles[0], nullptr);
    ASSERT_NE(handles[1], nullptr);
    DuiLib::CPaintManagerUI& manager = complete->paintManager();
    EXPECT_TRUE(complete->bound);
    EXPECT_EQ(complete->option, manager.FindControl(L"capopt"));
    EXPECT_EQ(complete->button, complete->option);
    EXPECT_EQ(complete->label, manager.FindControl(L"title"));
    EXPECT_EQ(complete->nested, manager.FindControl(L"capbtn"));
    EXPECT_EQ(complete->outside, nullptr);
    EXPECT_EQ(complete->absent, nullptr);
    EXPECT_TRUE(manager.RemoveNotifier(complete));

    EXPECT_FALSE(incomplete->bound);
    EXPECT_EQ(incomplete->label, nullptr);
    EXPECT_EQ(incomplete->option, nullptr);
    EXPECT_EQ(incomplete->button, nullptr);
    EXPECT_FALSE(incomplete->paintManager().RemoveNotifier(incomplete));
    for (HWND handle : handles) DestroyWindow(handle);

    const std::string text = ReadFileBytes(log);
    const std::string at = "[LoggingWindow:" + std::to_string(LoggingWindow::bindLine) +
                           "] LoggingWindow::OnCreate control ";
    EXPECT_NE(text.find(at + "capbtn of another kind\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(at + "nosuch missing\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("title"), std::string::npos) << text;
    EXPECT_EQ(text.find("capbtn missing"), std::string::npos) << text;
    EXPECT_EQ(text.find("absent"), std::string::npos) << text;
}

TEST_F(SkeletonWindowTest, CaptionDragsExceptOverButtonsAndOptions) {
    // Left of the primary monitor: the point's coordinates are negative.
    StandardWindow* window = Open<StandardWindow>(L"SkelTest", -150, 60);
    ASSERT_NE(window, nullptr);
    DuiLib::CPaintManagerUI& manager = window->paintManager();

    const POINT title = Centre(manager.FindControl(L"title"));
    EXPECT_EQ(HitTest(window, title), HTCAPTION);
    EXPECT_EQ(HitTest(window, POINT{title.x, 0}), HTCAPTION);
    EXPECT_EQ(HitTest(window, POINT{title.x, 39}), HTCAPTION);
    EXPECT_EQ(HitTest(window, POINT{title.x, 40}), HTCLIENT);
    EXPECT_EQ(HitTest(window, Centre(manager.FindControl(L"capbtn"))), HTCLIENT);
    EXPECT_EQ(HitTest(window, Centre(manager.FindControl(L"capopt"))), HTCLIENT);
    EXPECT_EQ(HitTest(window, Centre(manager.FindControl(L"lang"))), HTCLIENT);
}

TEST_F(SkeletonWindowTest, CaptionSidesAreInsetFromTheClientEdges) {
    StandardWindow* window = Open<StandardWindow>(L"SkelInset");
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window->GetHWND(), &client);
    EXPECT_EQ(HitTest(window, POINT{9, 20}), HTCLIENT);
    EXPECT_EQ(HitTest(window, POINT{10, 20}), HTCAPTION);
    EXPECT_EQ(HitTest(window, POINT{client.right - 11, 20}), HTCAPTION);
    EXPECT_EQ(HitTest(window, POINT{client.right - 10, 20}), HTCLIENT);
}

TEST_F(SkeletonWindowTest, NoSystemFrameIsReservedOrPaintedAndActivationAnswersDirectly) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    RECT frame;
    RECT client;
    GetWindowRect(handle, &frame);
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right, frame.right - frame.left);
    EXPECT_EQ(client.bottom, frame.bottom - frame.top);
    EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(GetClassLongW(handle, GCL_STYLE) & CS_DBLCLKS, static_cast<DWORD>(CS_DBLCLKS));

    EXPECT_EQ(SendMessageW(handle, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(SendMessageW(handle, WM_NCACTIVATE, FALSE, 0), TRUE);
    EXPECT_EQ(SendMessageW(handle, WM_NCACTIVATE, TRUE, 0), FALSE);
}

TEST_F(SkeletonWindowTest, SystemCloseEndsTheMessageLoopAndKeepsTheWindow) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    EXPECT_EQ(SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_TRUE(IsWindow(handle));

    SendMessageW(handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(handle));
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(SkeletonWindowTest, SkinCornersShapeTheWindowAndAMinimisedWindowKeepsItsRegion) {
    StandardWindow* rounded = Open<StandardWindow>(L"SkelTest");
    StandardWindow* square = Open<StandardWindow>(L"SkelInset", 460, 40);
    ASSERT_NE(rounded, nullptr);
    ASSERT_NE(square, nullptr);
    for (CDuiFrameWindow* window :
         {static_cast<CDuiFrameWindow*>(rounded), static_cast<CDuiFrameWindow*>(square)}) {
        SetWindowPos(window->GetHWND(), nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(square->GetHWND(), region), ERROR);

    ASSERT_NE(GetWindowRgn(rounded->GetHWND(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 210, 319));
    EXPECT_TRUE(PtInRegion(region, 419, 160));
    RECT shaped;
    GetRgnBox(region, &shaped);

    ShowWindow(rounded->GetHWND(), SW_MINIMIZE);
    SendMessageW(rounded->GetHWND(), WM_SIZE, SIZE_MINIMIZED, 0);
    ASSERT_NE(GetWindowRgn(rounded->GetHWND(), region), ERROR);
    RECT kept;
    GetRgnBox(region, &kept);
    EXPECT_TRUE(EqualRect(&kept, &shaped));
    DeleteObject(region);
}

TEST_F(SkeletonWindowTest, UploadWaitTimerStopsItselfAndEnablesTheWindow) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    SetTimer(handle, CDuiFrameWindow::kUploadWaitTimer, 600000, nullptr);
    EnableWindow(handle, FALSE);

    SendMessageW(handle, WM_TIMER, 77, 0);
    EXPECT_FALSE(IsWindowEnabled(handle));
    SendMessageW(handle, WM_TIMER, CDuiFrameWindow::kUploadWaitTimer, 0);
    EXPECT_TRUE(IsWindowEnabled(handle));
    EXPECT_FALSE(KillTimer(handle, CDuiFrameWindow::kUploadWaitTimer));
}

TEST_F(SkeletonWindowTest, DestroyedWindowDeletesItsObject) {
    const int before = StandardWindow::live;
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StandardWindow::live, before + 1);
    DestroyWindow(window->GetHWND());
    EXPECT_EQ(StandardWindow::live, before);
}

TEST_F(SkeletonWindowTest, RecordsStillQueuedWhenTheWindowIsDestroyedAreFreed) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    const int before = SkelNote::living;
    ASSERT_TRUE(PostPayload<WM_SKEL_NOTE>(handle, std::make_unique<SkelNote>(1)));
    ASSERT_TRUE(PostPayload<WM_SKEL_OTHER>(handle, std::make_unique<SkelNote>(2)));
    ASSERT_TRUE(PumpUntil([this] { return Saw(L"note 1"); }));
    kestrum::testing_support::PumpPending();
    EXPECT_EQ(SkelNote::living, before);

    ASSERT_TRUE(PostPayload<WM_SKEL_NOTE>(handle, std::make_unique<SkelNote>(3)));
    ASSERT_TRUE(PostPayload<WM_SKEL_OTHER>(handle, std::make_unique<SkelNote>(4)));
    DestroyWindow(handle);
    EXPECT_EQ(SkelNote::living, before);
    EXPECT_FALSE(Saw(L"note 3"));
}

TEST_F(SkeletonWindowTest, RegistrationsAreUndoneAfterTheDestroyRowAndBeforeTheQueueIsFreed) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    const int before = SkelNote::living;
    int source = 0;
    std::vector<int> queuedAtUndo;
    bool destroyRowFirst = false;
    const auto undo = [&] {
        queuedAtUndo.push_back(SkelNote::living - before);
        destroyRowFirst = Saw(L"destroy row");
    };
    window->registerWith(source, undo);
    // Registering with the same source again undoes the first one at once.
    window->registerWith(source, undo);
    EXPECT_EQ(queuedAtUndo, std::vector<int>{0});
    ASSERT_TRUE(PostPayload<WM_SKEL_NOTE>(handle, std::make_unique<SkelNote>(1)));
    DestroyWindow(handle);
    // A poster stopped then: the note it posted was still queued, and went with the queue.
    EXPECT_EQ(queuedAtUndo, (std::vector<int>{0, 1}));
    EXPECT_TRUE(destroyRowFirst);
    EXPECT_EQ(SkelNote::living, before);
}

TEST_F(SkeletonWindowTest, MissingSkinLeavesAnEmptyWorkingWindow) {
    auto* window = new StandardWindow(L"NoSuchSkin", &journal_);
    HWND handle = window->Create(nullptr, L"SkelTest", kDialogStyle, 0, 40, 40, 400, 300);
    ASSERT_NE(handle, nullptr);
    windows_.push_back(handle);
    UpdateWindow(handle);
    EXPECT_EQ(SendMessageW(handle, WM_NCHITTEST, 0, ScreenParam(handle, POINT{20, 10})), HTCLIENT);
    SendMessageW(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_EQ(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0), 8);
    EXPECT_FALSE(Saw(L"windowinit:MainFrame"));
}

TEST_F(SkeletonWindowTest,
       AVideoSurfaceCoversItsPlaceRunsItsProcedureAndGoesWithItsOwnerOrItsParent) {
    StandardWindow* window = Open<StandardWindow>(L"SkelTest");
    ASSERT_NE(window, nullptr);
    HWND parent = window->GetHWND();
    int clicks = 0;
    HWND child = nullptr;
    {
        CVideoSurface surface;
        ASSERT_TRUE(
            surface.create(parent, RECT{10, 20, 110, 70}, WS_VISIBLE, &CountClicks, &clicks));
        child = surface.handle();
        EXPECT_EQ(GetParent(child), parent);
        EXPECT_EQ(PlaceIn(parent, child).left, 10);
        EXPECT_EQ(PlaceIn(parent, child).bottom, 70);
        EXPECT_TRUE(IsWindowVisible(child));
        SendMessageW(child, WM_LBUTTONDOWN, 0, 0);
        EXPECT_EQ(clicks, 1);

        surface.moveTo(RECT{0, 0, 50, 40});
        EXPECT_EQ(PlaceIn(parent, child).right, 50);
        surface.show(false);
        EXPECT_FALSE(IsWindowVisible(child));
    }
    EXPECT_FALSE(IsWindow(child));

    CVideoSurface surface;
    ASSERT_TRUE(surface.create(parent, RECT{0, 0, 10, 10}));
    DestroyWindow(parent);
    EXPECT_FALSE(surface);
}

}  // namespace
