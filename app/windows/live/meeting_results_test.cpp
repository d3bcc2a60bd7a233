#include "app/windows/live/meeting_results.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Live;
using kestrum::common::WideToUtf8;

// What the window writes, read back as the other windows read the data and as the next start
// reads the configuration file of a fresh installation in a folder of the test's own.
class MeetingResultsTest : public ::testing::Test {
protected:
    void TearDown() override { ZuvraKestrum::Util::SetResourcePathSource(nullptr); }

    std::string Stored(const char* key) const {
        std::wstring value;
        return WideToUtf8(config_.ReadString(value, CKestrumConfig::kSection, key));
    }

    TempFolder root_;
    std::wstring bin_ = root_.MakeFolder(L"bin");
    CKestrumConfig config_{bin_};
    CKestrumData data_{L"", config_};
};

TEST_F(MeetingResultsTest, TheSignallingsRecordsAreWhatTheOtherWindowsRead) {
    ApplyParticipants({UserInfoRecord("40001", "Ann", "", 11, "", 0, -1, 0),
                       UserInfoRecord("40002", "Bob", "p2", 12, "", 0, -1, 0)},
                      data_);
    std::string name;
    std::string portraitId;
    data_.getUserNickName("40002", name);
    EXPECT_EQ(name + "|" + data_.getUserPortraitId(portraitId, "40002"), "Bob|p2");
    // A list that kept its entries in place copies what changed; one of another length, all.
    const std::vector<size_t> second{1};
    ApplyParticipants({UserInfoRecord("40001", "Ann", "", 11, "", 0, -1, 0),
                       UserInfoRecord("40002", "Bo", "p2", 12, "", 0, -1, 0)},
                      data_, &second);
    data_.getUserNickName("40002", name);
    ApplyParticipants({UserInfoRecord("40003", "Cy", "", 13, "", 0, -1, 0)}, data_, &second);
    EXPECT_EQ(name + "|" + std::to_string(data_.userList.size()), "Bo|1");
    ApplyOwnInfo(UserInfoRecord("40009", "Me", "", 19, "", 0, -1, 0), data_);
    EXPECT_EQ(data_.ownInfo.streamId, 19);
    ApplyOwnStatus(kStatusMicOff, data_);
    EXPECT_EQ(data_.status, kStatusMicOff);
}

// The skin folder's name is no ANSI text: the path reaches both as UTF-8 or not at all.
TEST_F(MeetingResultsTest, TheOwnAvatarIsItsCachedPictureOrTheDefaultOne) {
    static std::wstring skin;
    skin = root_.path() + L"skin-\u0151\u76AE\\";
    CreateDirectoryW(skin.c_str(), nullptr);
    ZuvraKestrum::Util::SetResourcePathSource([] { return skin; });
    const std::wstring cached = ZuvraKestrum::Util::GetPortraitCachePath("p9");
    ASSERT_FALSE(cached.empty());
    CloseHandle(CreateFileW(cached.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    struct Case {
        const char* portraitId;
        std::string shown;
    };
    for (const Case& c :
         {Case{"p9", WideToUtf8(cached)}, Case{"p10", "profile picture-light.png"}}) {
        data_.portraitId = c.portraitId;
        ApplyOwnAvatar(data_, config_);
        std::string stored;
        EXPECT_EQ(data_.portraitPath + "|" + config_.getPortraitPath(stored),
                  c.shown + "|" + c.shown)
            << c.portraitId;
    }
}

TEST_F(MeetingResultsTest, AShareResultIsRememberedAndLeavesTheMeetingsMediaToken) {
    data_.mediaToken = "media";
    ApplyShareResult({7, "share"}, data_, config_);
    EXPECT_EQ(data_.shareToken + "|" + data_.mediaToken, "share|media");
    EXPECT_EQ(Stored("ShareID") + "|" + Stored("Sharetoken"), "7|share");
}

}  // namespace
