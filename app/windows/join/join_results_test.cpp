#include "app/windows/join/join_results.h"

#include <gtest/gtest.h>

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Join;

// Results applied to the data and the configuration of a fresh installation in a folder of the
// test's own; what the next start finds is read by a data made anew from the file.
class JoinResultsTest : public ::testing::Test {
protected:
    std::string Stored(const char* key) const {
        std::wstring value;
        return kestrum::common::WideToUtf8(
            config_.ReadString(value, CKestrumConfig::kSection, key));
    }

    TempFolder root_;
    std::wstring bin_ = root_.MakeFolder(L"bin");
    CKestrumConfig config_{bin_};
    CKestrumData data_{L"", config_};
};

TEST_F(JoinResultsTest, TheNextStartSignsInAsTheSameUser) {
    const std::string name = "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E";  // "王小明"
    std::string portraitBefore;
    config_.getPortraitPath(portraitBefore);
    ApplySignIn({"30007", name, "p9", 77, "tok"}, "own.png", data_, config_);
    EXPECT_EQ(data_.uid + "|" + data_.nickname + "|" + data_.portraitId + "|" + data_.token,
              "30007|" + name + "|p9|tok");
    EXPECT_EQ(data_.streamId, 77);
    EXPECT_EQ(data_.portraitPath, "own.png");

    CKestrumConfig reopened(bin_);
    const CKestrumData next(L"", reopened);
    EXPECT_EQ(next.uid + "|" + next.nickname + "|" + next.portraitId + "|" + next.token,
              "30007|" + name + "|p9|tok");
    EXPECT_EQ(next.streamId, 77);
    // The picture shown stays until the download has arrived.
    EXPECT_EQ(next.portraitPath, portraitBefore);

    ApplyOwnPortrait("p10", data_, config_);
    EXPECT_EQ(data_.portraitId, "p10");
    CKestrumConfig arrived(bin_);
    const CKestrumData after(L"", arrived);
    EXPECT_EQ(after.portraitId + "|" + after.portraitPath, "p10|own.png");

    // A token the services refused is not offered again, now or at the next start; the user
    // and the name stay for the sign-in that follows.
    ApplyDroppedToken(data_, config_);
    CKestrumConfig refused(bin_);
    const CKestrumData restarted(L"", refused);
    EXPECT_EQ(data_.token + "|" + restarted.token + "|" + restarted.nickname, "||" + name);
}

TEST_F(JoinResultsTest, TheServiceKeepsOnlyTheNicknameItTook) {
    data_.portraitId = "p1";
    ApplyNickname(L"Zo\u00EB \u5F20", data_);  // "Zoë 张"
    const std::string taken = "Zo\xC3\xAB \xE5\xBC\xA0";
    EXPECT_EQ(data_.nickname, taken);
    ApplyAccountUpdate(data_, config_);
    EXPECT_EQ(Stored("Nickname") + "|" + Stored("PortraitId"), taken + "|p1");

    ApplyNickname(L"refused", data_);
    data_.portraitId = "p2";
    EXPECT_EQ(Stored("Nickname"), taken);
    ApplyRefusedUpdate(data_, config_);
    EXPECT_EQ(data_.nickname + "|" + data_.portraitId, taken + "|p1");
}

TEST_F(JoinResultsTest, OnlyAnOptionalUpgradeOfferIsRemembered) {
    config_.setUpdateOption("1");
    config_.setUpdateVersion("1.0");
    for (const auto kind : {UpgradeOffer::kNone, UpgradeOffer::kForced}) {
        ApplyUpgradeOffer({kind, "arg", "2.0"}, config_);
        EXPECT_EQ(Stored("UpdateOption") + "|" + Stored("UpdateVersion"), "1|1.0") << kind;
    }
    ApplyUpgradeOffer({UpgradeOffer::kOptional, "arg", "2.0"}, config_);
    EXPECT_EQ(Stored("UpdateOption") + "|" + Stored("UpdateVersion"), "0|2.0");
}

TEST_F(JoinResultsTest, UnmuteRequestsWaitASecondBeyondTheServicesTimeOut) {
    for (const int timeout : {0, 20}) {
        ConfigRoomPayload config;
        config.unmuteRequestTimeout = timeout;
        ApplyClientConfig(config, data_);
        EXPECT_EQ(data_.unmuteRequestTimeout, timeout + 1);
    }
}

TEST_F(JoinResultsTest, AJoinRemembersTheRoomAndStoresItsHostsAndTheOwnStatus) {
    ApplyJoinForm({L"ROOM7", L"pw\u00E9"}, data_);  // "pwé"
    EXPECT_EQ(data_.roomName, "ROOM7");
    data_.micOff = false;
    data_.cameraOff = true;
    JoinRoomPayload join;
    join.rid = "ROOM7";
    join.initialStatus = kStatusMicOff;
    join.hosts = {"40001", "40002"};
    join.mediaToken = "media";
    ApplyJoin(join, data_, config_);
    EXPECT_EQ(Stored("Classname") + "|" + Stored("ClassPwd") + "|" + Stored("Mediatoken"),
              "ROOM7|pw\xC3\xA9|media");
    EXPECT_EQ(data_.mediaToken, "media");
    EXPECT_EQ(data_.hosts, (std::vector<std::string>{"40001", "40002"}));
    EXPECT_EQ(data_.initialStatus, kStatusMicOff);
    // The room turns the microphone off, the user's own switch the camera.
    EXPECT_EQ(data_.status, kStatusMicOff | kStatusCameraOff);
}

}  // namespace
