#include <gtest/gtest.h>

#include "app/windows/live/bar_hiding.h"
#include "app/windows/live/live_layout.h"
#include "app/windows/live/tool_bar_state.h"

namespace {

using ZuvraKestrum::Live::BarHiding;

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult Is(const RECT& actual, const RECT& expected) {
    if (Same(actual, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "{" << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
           << "} instead of {" << expected.left << "," << expected.top << "," << expected.right
           << "," << expected.bottom << "}";
}

TEST(LiveLayout, TheBigViewFillsTheSpaceBetweenTheBarsWithTheStripAndPanelAlongItsSides) {
    struct Case {
        SIZE client;
        RECT title;
        RECT toolBar;
        RECT video;
    } cases[] = {
        // Before the skin was laid out the bars have their default heights.
        {{1280, 720}, {}, {}, {0, 34, 1280, 669}},
        // As laid out: the same.
        {{1280, 720}, {0, 0, 1280, 34}, {0, 669, 1280, 720}, {0, 34, 1280, 669}},
        // Maximised on a 1920 x 1040 work area, with a taller tool bar of the skin.
        {{1920, 1040}, {0, 0, 1920, 34}, {0, 980, 1920, 1040}, {0, 34, 1920, 980}},
        {{960, 560}, {}, {}, {0, 34, 960, 509}},
    };
    for (const Case& c : cases) {
        const ZuvraKestrum::Live::LiveLayout layout =
            ZuvraKestrum::Live::LayOut(c.client, c.title, c.toolBar);
        EXPECT_TRUE(Is(layout.video, c.video)) << c.client.cx;
        EXPECT_TRUE(Is(layout.strip, {0, c.video.top, 197, c.video.bottom})) << c.client.cx;
        EXPECT_TRUE(Is(layout.panel, {c.client.cx - 250, c.video.top, c.client.cx, c.video.bottom}))
            << c.client.cx;
        EXPECT_TRUE(Is(layout.selfTile, {c.client.cx - 190, 54, c.client.cx - 20, 228}))
            << c.client.cx;
    }
}

TEST(LiveHitTest, TheFrameSizesUnlessZoomedAndTheCaptionDragsExceptOverButtons) {
    const SIZE client{1280, 720};
    const RECT sizeBox{4, 4, 4, 4};
    const RECT caption{0, 0, 1280, 34};
    struct Case {
        POINT point;
        bool zoomed;
        bool overClickable;
        UINT expected;
    } cases[] = {
        {{0, 0}, false, false, HTTOPLEFT},
        {{600, 2}, false, false, HTTOP},
        {{1279, 3}, false, false, HTTOPRIGHT},
        {{1, 300}, false, false, HTLEFT},
        {{1276, 300}, false, false, HTRIGHT},
        {{2, 719}, false, false, HTBOTTOMLEFT},
        {{600, 716}, false, false, HTBOTTOM},
        {{1279, 719}, false, false, HTBOTTOMRIGHT},
        {{600, 20}, false, false, HTCAPTION},
        {{1250, 20}, false, true, HTCLIENT},  // a frame button in the title bar
        {{600, 34}, false, false, HTCLIENT},  // just below the caption
        {{600, 300}, false, false, HTCLIENT},
        // Zoomed, the edges are no sizing borders.
        {{0, 0}, true, false, HTCAPTION},
        {{1, 300}, true, false, HTCLIENT},
        {{600, 719}, true, false, HTCLIENT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZuvraKestrum::Live::HitTest(c.point, client, sizeBox, caption, c.zoomed,
                                              c.overClickable),
                  c.expected)
            << c.point.x << "," << c.point.y << (c.zoomed ? " zoomed" : "");
    }
}

class BarHidingTest : public ::testing::Test {
protected:
    BarHiding bars;
};

TEST_F(BarHidingTest, NothingHidesWhileTheWindowIsNotMaximised) {
    EXPECT_EQ(bars.onMouseMoved({10, 10}), BarHiding::Step::kNothing);
    EXPECT_EQ(bars.onTimerTicked({10, 10}, false), BarHiding::Step::kNothing);
    EXPECT_TRUE(bars.barsShown());
}

TEST_F(BarHidingTest, TheBarsHideOnceTheMouseRestsForAPeriodAndComeBackWhenItMoves) {
    EXPECT_EQ(bars.onMaximised({100, 100}), BarHiding::Step::kRestartTimer);
    // Moving restarts the rest period.
    EXPECT_EQ(bars.onMouseMoved({120, 100}), BarHiding::Step::kRestartTimer);
    // A tick after a move that the window did not see (over a child) waits another period.
    EXPECT_EQ(bars.onTimerTicked({140, 130}, false), BarHiding::Step::kNothing);
    EXPECT_TRUE(bars.barsShown());
    EXPECT_EQ(bars.onTimerTicked({140, 130}, false), BarHiding::Step::kHideBars);
    EXPECT_FALSE(bars.barsShown());
    // The system repeats the position when the cursor hides: nothing comes back.
    EXPECT_EQ(bars.onMouseMoved({140, 130}), BarHiding::Step::kNothing);
    EXPECT_EQ(bars.onMouseMoved({141, 130}), BarHiding::Step::kShowBars);
    EXPECT_TRUE(bars.barsShown());
}

TEST_F(BarHidingTest, AnOpenPanelKeepsTheBarsAndTheTimer) {
    bars.onMaximised({100, 100});
    EXPECT_EQ(bars.onTimerTicked({100, 100}, true), BarHiding::Step::kNothing);
    EXPECT_TRUE(bars.barsShown());
    EXPECT_EQ(bars.onTimerTicked({100, 100}, false), BarHiding::Step::kHideBars);
}

TEST_F(BarHidingTest, RestoringBringsHiddenBarsBack) {
    bars.onMaximised({100, 100});
    ASSERT_EQ(bars.onTimerTicked({100, 100}, false), BarHiding::Step::kHideBars);
    EXPECT_EQ(bars.onRestored(), BarHiding::Step::kShowBars);
    EXPECT_TRUE(bars.barsShown());
    EXPECT_FALSE(bars.maximised());
    EXPECT_EQ(bars.onRestored(), BarHiding::Step::kNothing);
}

TEST(ToolBarState, ChatAndParticipantsShareTheRightEdge) {
    ZuvraKestrum::Live::ToolBarState state;
    state.toggleChat();
    EXPECT_TRUE(state.chatOpen());
    state.toggleParticipants();
    EXPECT_TRUE(state.participantsOpen());
    EXPECT_FALSE(state.chatOpen());
    state.toggleParticipants();
    EXPECT_FALSE(state.anyPanelOpen());
    state.setStripOpen(true);
    EXPECT_TRUE(state.anyPanelOpen());
}

TEST(ToolBarState, OthersMessagesCountWhileTheChatIsClosedUpTo99Plus) {
    ZuvraKestrum::Live::ToolBarState state;
    state.chatMessageArrived(false);
    state.chatMessageArrived(true);  // the user's own echo
    state.chatMessageArrived(false);
    EXPECT_EQ(state.badgeText(), L"2");
    state.toggleChat();
    EXPECT_EQ(state.unread(), 0);
    state.chatMessageArrived(false);
    EXPECT_EQ(state.unread(), 0);
    state.chatClosed();
    for (int i = 0; i < 99; ++i) state.chatMessageArrived(false);
    EXPECT_EQ(state.badgeText(), L"99");
    for (int i = 0; i < 20000; ++i) state.chatMessageArrived(false);
    EXPECT_EQ(state.badgeText(), L"99+");
}

TEST(OwnToggleWait, OnlyAWaitingToggleIsFreedAndOnlyByARoomControlFailure) {
    ZuvraKestrum::Live::OwnToggleWait wait;
    EXPECT_FALSE(wait.settle());
    wait.sent();
    EXPECT_FALSE(wait.requestFailed("account/portrait"));  // an avatar's download
    EXPECT_TRUE(wait.waiting());
    EXPECT_TRUE(wait.requestFailed("room/ctrl"));
    EXPECT_FALSE(wait.settle());  // freed already: the echo that still comes changes nothing
    wait.sent();
    EXPECT_TRUE(wait.settle());
}

}  // namespace
