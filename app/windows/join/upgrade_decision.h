#pragma once

#include <string>

namespace ZuvraKestrum::Join {

// Compares two version texts of dot-separated numbers ("1.10", "2.1.0") number by number, so
// that 1.10 is above 1.9 and 2.1.0 equals 2.1 (missing numbers count as 0). Each part counts by
// its leading digits (none: 0); blanks around the text are ignored. Negative when a is lower,
// 0 when equal, positive when a is higher.
int CompareVersions(const std::string& a, const std::string& b);

// A version kept in the configuration. Older programs wrote it with "%f" ("1.900000"): such a
// text (two parts, the second of exactly six digits) loses its trailing zeros ("1.9"), so that
// it compares as the version it was written for. Other texts come back as they are.
std::string ReadStoredVersion(const std::string& text);

// What the client configuration means for this installation.
// The service's versions come as it wrote them (ConfigRoomPayload).
struct UpgradeInputs {
    std::string appVersion;      // "AppVersion"
    std::string minimumVersion;  // below it the program must be upgraded
    std::string minimumArgument;
    std::string latestVersion;  // below it an upgrade is offered
    std::string latestArgument;
    std::string updateOption;   // "UpdateOption": "1" once the user declined an offer
    std::string updateVersion;  // "UpdateVersion": the latest version last offered
};

struct UpgradeOffer {
    enum Kind { kNone = -1, kForced = 3, kOptional = 4 };  // the notice box's types
    Kind kind = kNone;
    std::string argument;  // the upgrade program's argument, as the service gave it
    // For an optional offer: "UpdateOption" := "0" and "UpdateVersion" := this version, so that
    // the same version is not offered twice.
    std::string rememberVersion;
};

// A program below the minimum must upgrade. Otherwise, below the latest version, an upgrade is
// offered unless the user declined one before ("UpdateOption" "1") or this latest version was
// already offered (it is not above "UpdateVersion").
UpgradeOffer DecideUpgrade(const UpgradeInputs& inputs);

}  // namespace ZuvraKestrum::Join
