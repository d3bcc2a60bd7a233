#include "app/windows/notice/notice_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Notice;

TEST(NoticeRulesTest, OnlyTheUpgradeOffersShowUpdateAndOnlyTheyLeadAnywhereWhenClosed) {
    struct Row {
        int type;
        bool showsUpdate;
        bool runsUpgrade;
        CloseStep afterClose;
        const wchar_t* icon;
        const wchar_t* closeText;
    };
    const Row rows[] = {
        {-1, false, false, CloseStep::kNothing, L"notice/warning.png", L"OK"},  // never set
        {kWarning, false, false, CloseStep::kNothing, L"notice/warning.png", L"OK"},
        {kError, false, false, CloseStep::kNothing, L"notice/error.png", L"OK"},
        {2, false, false, CloseStep::kNothing, L"notice/warning.png", L"OK"},
        {kForcedUpgrade, true, true, CloseStep::kQuit, L"notice/upgrade.png", L"Quit"},
        {kOptionalUpgrade, true, true, CloseStep::kShowJoinWindow, L"notice/upgrade.png", L"Later"},
        {5, true, false, CloseStep::kNothing, L"notice/upgrade.png", L"OK"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        EXPECT_EQ(ShowsUpdateButton(row.type), row.showsUpdate);
        EXPECT_EQ(RunsUpgrade(row.type), row.runsUpgrade);
        EXPECT_EQ(StepAfterClose(row.type), row.afterClose);
        const BoxDecor decor = DecorOf(row.type, 0);
        EXPECT_EQ(decor.showsUpdate, row.showsUpdate);
        EXPECT_STREQ(decor.icon, row.icon);
        EXPECT_STREQ(decor.closeText, row.closeText);
    }
    EXPECT_STREQ(DecorOf(kForcedUpgrade, 1).closeText, L"退出");
}

TEST(NoticeRulesTest, UpdateRunsOnlyForAnOfferAndAnUpgraderThatDoesNotStartKeepsTheProgram) {
    const UpgradeRoad road{"NoSuchReporter.exe", "NoSuchUpgrader.exe"};
    EXPECT_EQ(PressUpdate(kError, road, L"v2"), UpdateStep::kNothing);
    EXPECT_EQ(PressUpdate(5, road, L"v2"), UpdateStep::kNothing);
    EXPECT_EQ(PressUpdate(kForcedUpgrade, road, L"v2"), UpdateStep::kSayNotStarted);
    EXPECT_EQ(PressUpdate(kOptionalUpgrade, road, L"v2"), UpdateStep::kSayNotStarted);
}

TEST(NoticeRulesTest, BoxIsCentredOverItsOwnerWithHalvesTruncatedTowardZero) {
    // The join window's size under the box's.
    POINT at = CentreOver(RECT{100, 100, 460, 600}, SIZE{500, 200});
    EXPECT_EQ(at.x, 30);
    EXPECT_EQ(at.y, 250);
    // Odd remainders, one negative: -141 / 2 is -70, 1 / 2 is 0.
    at = CentreOver(RECT{-300, 10, 60, 211}, SIZE{501, 200});
    EXPECT_EQ(at.x, -370);
    EXPECT_EQ(at.y, 10);
}

TEST(NoticeRulesTest, UpgradeRoadNamesTheProgramsBesideTheProgram) {
    const UpgradeRoad road;
    EXPECT_EQ(road.crashReporter, "Faultpost.exe");
    EXPECT_EQ(road.upgrader, "Updrift.exe");
}

}  // namespace
