#include "app/windows/join/upgrade_decision.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Join;

TEST(CompareVersionsTest, ComparesNumberByNumber) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"1.10", "1.9", 1},  // a decimal reading would say 1.1 < 1.9
        {"1.9", "1.10", -1},    {"2.1.0", "2.1", 0}, {"2.1", "2.1.0.0", 0}, {"1.2.3", "1.2.10", -1},
        {"1.0", "1.1", -1},     {"10", "9.99", 1},   {"", "0", 0},          {"", "0.1", -1},
        {" 1.2\r\n", "1.2", 0},  // as "..\version.txt" may hold it
        {"1.2-beta", "1.2", 0},  // a part counts by its leading digits
    };
    for (const Case& c : cases) {
        const int result = CompareVersions(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(StoredVersionTest, ReadsTheOldSixDecimalFormTolerantly) {
    EXPECT_EQ(ReadStoredVersion("1.900000"), "1.9");
    EXPECT_EQ(ReadStoredVersion("1.200000"), "1.2");
    EXPECT_EQ(ReadStoredVersion("2.000000"), "2.0");
    EXPECT_EQ(ReadStoredVersion("1.100000"), "1.1");
    EXPECT_EQ(CompareVersions(ReadStoredVersion("1.900000"), "1.10"), -1);
    // Texts that are not the old form stay as they are.
    EXPECT_EQ(ReadStoredVersion("1.10"), "1.10");
    EXPECT_EQ(ReadStoredVersion("1.2.300000"), "1.2.300000");
    EXPECT_EQ(ReadStoredVersion("1.2000000"), "1.2000000");
    EXPECT_EQ(ReadStoredVersion(""), "");
}

UpgradeInputs Inputs(const char* app, const char* minimum, const char* latest,
                     const char* option = "", const char* offered = "") {
    UpgradeInputs inputs;
    inputs.appVersion = app;
    inputs.minimumVersion = minimum;
    inputs.minimumArgument = "min-arg";
    inputs.latestVersion = latest;
    inputs.latestArgument = "latest-arg";
    inputs.updateOption = option;
    inputs.updateVersion = offered;
    return inputs;
}

TEST(UpgradeDecisionTest, BelowTheMinimumTheUpgradeIsForcedAtEveryStart) {
    for (const char* option : {"", "0", "1"}) {
        const UpgradeOffer offer = DecideUpgrade(Inputs("1.0", "1.1", "1.2", option, "1.2"));
        EXPECT_EQ(offer.kind, UpgradeOffer::kForced) << option;
        EXPECT_EQ(offer.argument, "min-arg");
        EXPECT_EQ(offer.rememberVersion, "");
    }
    EXPECT_EQ(DecideUpgrade(Inputs("1.9", "1.10", "1.10")).kind, UpgradeOffer::kForced);
}

TEST(UpgradeDecisionTest, BelowTheLatestAnUpgradeIsOfferedOncePerVersion) {
    UpgradeOffer offer = DecideUpgrade(Inputs("1.0", "1.0", "1.2"));
    EXPECT_EQ(offer.kind, UpgradeOffer::kOptional);
    EXPECT_EQ(offer.argument, "latest-arg");
    EXPECT_EQ(offer.rememberVersion, "1.2");

    // The program ended without the user closing the offer: "UpdateOption" is still "0".
    EXPECT_EQ(DecideUpgrade(Inputs("1.0", "1.0", "1.2", "0", "1.2")).kind, UpgradeOffer::kNone);
    EXPECT_EQ(DecideUpgrade(Inputs("1.0", "1.0", "1.2", "0", "1.200000")).kind,
              UpgradeOffer::kNone);
    EXPECT_EQ(DecideUpgrade(Inputs("1.0", "1.0", "1.3", "0", "1.200000")).kind,
              UpgradeOffer::kOptional);
    // Once the user closed an offer no optional offer comes again.
    EXPECT_EQ(DecideUpgrade(Inputs("1.0", "1.0", "1.3", "1", "1.2")).kind, UpgradeOffer::kNone);
}

TEST(UpgradeDecisionTest, TwoDigitPartsCountAsNumbers) {
    // An offer of 1.9 was remembered in the old form; 1.10 is newer and is offered.
    const UpgradeOffer offer = DecideUpgrade(Inputs("1.8", "1.0", "1.10", "0", "1.900000"));
    EXPECT_EQ(offer.kind, UpgradeOffer::kOptional);
    EXPECT_EQ(offer.rememberVersion, "1.10");
    // The service's "1.10" against a program at 1.9, never offered anything yet.
    const UpgradeOffer newer = DecideUpgrade(Inputs("1.9", "1.0", "1.10"));
    EXPECT_EQ(newer.kind, UpgradeOffer::kOptional);
    EXPECT_EQ(newer.rememberVersion, "1.10");
    // A program at 1.10 is above 1.9: nothing to offer.
    EXPECT_EQ(DecideUpgrade(Inputs("1.10", "1.9", "1.9")).kind, UpgradeOffer::kNone);
}

TEST(UpgradeDecisionTest, UpToDateProgramsGetNothing) {
    EXPECT_EQ(DecideUpgrade(Inputs("1.2", "1.0", "1.2")).kind, UpgradeOffer::kNone);
    EXPECT_EQ(DecideUpgrade(Inputs("2.1.0", "2.1", "2.1")).kind, UpgradeOffer::kNone);
    EXPECT_EQ(DecideUpgrade(Inputs("3.0", "1.0", "1.2")).kind, UpgradeOffer::kNone);
}

}  // namespace
