#include "kestrum/core/util_display.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Util;

TEST(SignalLevelTest, QualityBandsMapToBars) {
    const int expected[] = {-1, 2, 2, 1, 1, 0, 0, -1};
    for (unsigned quality = 0; quality < 8; ++quality) {
        EXPECT_EQ(QualityToSignalLevel(quality), expected[quality]) << quality;
    }
    EXPECT_EQ(QualityToSignalLevel(0xFFFFFFFFu), -1);
}

TEST(TextWidthTest, EmptyTextIsZero) { EXPECT_EQ(EstimateTextWidth(L""), 0.0); }

TEST(TextWidthTest, WidthsAddUp) {
    EXPECT_EQ(EstimateTextWidth(L"Hi!"), 19.0);
    EXPECT_EQ(EstimateTextWidth(L"Aa 0%&\"`"), 9 + 7 + 5 + 11 + 12 + 13 + 14 + 3.0);
    EXPECT_EQ(EstimateTextWidth(L"\x4F60\x597D"), 28.0);
}

TEST(TextWidthTest, ControlAndWideCharactersCountFourteen) {
    EXPECT_EQ(EstimateTextWidth(L"\t"), 14.0);
    EXPECT_EQ(EstimateTextWidth(L"\x7F"), 14.0);
    EXPECT_EQ(EstimateTextWidth(L"\x00E9"), 14.0);
    EXPECT_EQ(EstimateTextWidth(L"\xD83D\xDE00"), 28.0);  // one emoji, two UTF-16 units
}

TEST(TextWidthTest, FullWidthPunctuationIsNarrower) {
    EXPECT_EQ(EstimateTextWidth(L"\x3002\xFF01\xFF08\xFF09\xFF0C\xFF1F"), 6 * 13.0);
    EXPECT_EQ(EstimateTextWidth(L"\xA1A3"), 14.0);  // the code-page value is not a UTF-16 mark
}

}  // namespace
