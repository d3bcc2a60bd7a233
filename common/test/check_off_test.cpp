// The same macros as a product translation unit sees them: every target of the product build is
// compiled without KESTRUM_CHECKS.
#undef KESTRUM_CHECKS
#include "kestrum/common/check.h"

#include <gtest/gtest.h>

namespace {

static_assert(!KESTRUM_CHECK_IS_ON(), "this file is compiled with the checks off");

TEST(CheckOffTest, AChecklessBuildNeitherEvaluatesNorFires) {
    int evaluations = 0;
    KESTRUM_CHECK(++evaluations == 5);
    KESTRUM_CHECK_MSG(++evaluations == 5, "never shown");
    EXPECT_EQ(evaluations, 0);
}

}  // namespace
