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
    };
    const Row rows[] = {
        {-1, false, false, CloseStep::kNothing},  // never set
        {kWarning, false, false, CloseStep::kNothing},
        {kError, false, false, CloseStep::kNothing},
        {2, false, false, CloseStep::kNothing},
        {kForcedUpgrade, true, true, CloseStep::kQuit},
        {kOptionalUpgrade, true, true, CloseStep::kShowJoinWindow},
        {5, true, false, CloseStep::kNothing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        EXPECT_EQ(ShowsUpdateButton(row.type), row.showsUpdate);
        EXPECT_EQ(RunsUpgrade(row.type), row.runsUpgrade);
        EXPECT_EQ(StepAfterClose(row.type), row.afterClose);
    }
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
