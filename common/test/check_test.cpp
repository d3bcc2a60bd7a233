#include "kestrum/common/check.h"

#include <gtest/gtest.h>

namespace {

// This program is built with KESTRUM_CHECKS=1; check_off_test.cpp holds the other half.
static_assert(KESTRUM_CHECK_IS_ON(), "the common tests are built with the checks on");

TEST(CheckDeathTest, AFailingCheckReportsWhereAndWhatThenAborts) {
    const int open = 0;
    EXPECT_DEATH(KESTRUM_CHECK(open == 1), "check_test\\.cpp:\\d+: check failed: open == 1\n");
    EXPECT_DEATH(KESTRUM_CHECK_MSG(open > 0, "no window"),
                 "check_test\\.cpp:\\d+: check failed: open > 0: no window\n");
}

TEST(CheckTest, AHoldingCheckEvaluatesItsConditionOnceAndGoesOn) {
    int evaluations = 0;
    KESTRUM_CHECK(++evaluations == 1);
    KESTRUM_CHECK_MSG(++evaluations == 2, "second");
    EXPECT_EQ(evaluations, 2);
}

}  // namespace
