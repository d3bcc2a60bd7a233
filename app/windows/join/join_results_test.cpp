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
    std::string bin_ = root_.MakeFolder("bin");
    CKestrumConfig config_{bin_};
    CKestrumData data_{"", config_};
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
    const CKestrumData next("", reopened);
    EXPECT_EQ(next.uid + "|" + next.nickname + "|" + next.portraitId + "|" + next.token,
              "30007|" + name + "|p9|tok");
    EXPECT_EQ(next.streamId, 77);
    // The picture shown stays until the download has arrived.
    EXPECT_EQ(next.portraitPath, portraitBefore);
}

TEST_F(JoinResultsTest, AJoinRemembersTheRoomAndStoresItsHostsAndTheOwnStatus) {
    data_.roomPassword = "pw\xC3\xA9";  // "pwé"
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
