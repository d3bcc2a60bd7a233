#include "kestrum/core/kestrum_data.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <thread>

#include "chinese_emoji_text.h"
#include "failing_allocations.h"
#include "kestrum/bugtrap/bugtrap_journal.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/util_system.h"
#include "kestrum/core/util_text.h"
#include "temp_folder.h"

namespace {

using ZuvraKestrum::Util::StringToCString;

void FixedClock(SYSTEMTIME* now) { *now = SYSTEMTIME{2019, 8, 1, 12, 10, 15, 0, 123}; }

std::wstring CrashHandlerJournal() {
    const size_t length = KestrumBugTrapJournal(nullptr, 0);
    std::wstring text(length + 1, L'\0');
    KestrumBugTrapJournal(&text[0], text.size());
    text.resize(length);
    return text;
}

UserInfoRecord User(const std::string& uid, const std::string& name, const std::string& portrait) {
    return UserInfoRecord(uid, name, portrait, 7, "", 0, -1, 0);
}

class KestrumDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        KestrumBugTrapJournalClear();
        CKestrumDump::setLocalTimeSource(FixedClock);
        WriteFileBytes(root_.path() + L"version.txt", "5.6.7");
    }
    void TearDown() override { CKestrumDump::setLocalTimeSource(nullptr); }

    std::unique_ptr<CKestrumData> Make() {
        config_ = std::make_unique<CKestrumConfig>(bin_);
        return std::make_unique<CKestrumData>(logPath_, *config_);
    }

    TempFolder root_;
    std::wstring bin_ = root_.MakeFolder(L"bin");
    std::wstring logPath_ = root_.MakeFolder(L"logger") + L"app.log";
    std::unique_ptr<CKestrumConfig> config_;
};

TEST_F(KestrumDataTest, StartsFromTheConfiguration) {
    {
        CKestrumConfig preset(bin_);
        preset.setNickname("Alice");
        preset.setUid("u-1");
        preset.setStreamid("4711");
        preset.setToken("secret-token");
        preset.setPortraitId("p9");
        preset.setMediatoken("media");
        preset.setSharetoken("share");
        preset.setEnableCamera("1");
        preset.setPortraitPath(std::string("C:\\") + kChineseEmojiUtf8 + ".png");
    }
    std::unique_ptr<CKestrumData> data = Make();
    EXPECT_EQ(data->appId, "5b1e7c9a20d64f3e8a7b6c5d4e3f2a10");
    EXPECT_EQ(data->nickname, "Alice");
    EXPECT_EQ(data->uid, "u-1");
    EXPECT_EQ(data->streamId, 4711);
    EXPECT_EQ(data->token, "secret-token");
    EXPECT_EQ(data->portraitId, "p9");
    EXPECT_EQ(data->portraitPath, std::string("C:\\") + kChineseEmojiUtf8 + ".png");
    EXPECT_EQ(data->mediaToken, "media");
    EXPECT_EQ(data->shareToken, "share");
    EXPECT_TRUE(data->cameraOff);
    EXPECT_FALSE(data->micOff);
    EXPECT_EQ(data->appVersion, "5.6.7");
    EXPECT_EQ(data->language, CKestrumConfig::UserLanguage());
    EXPECT_EQ(g_language, data->language);
    EXPECT_EQ(data->videoQuality, 40);
    EXPECT_EQ(data->status, 0);
    EXPECT_EQ(data->appLogPath, logPath_);
    EXPECT_EQ(data->engineLogPath, L"");
    EXPECT_EQ(data->videoSourceLogName, L"VideoSourceStream.txt");
    EXPECT_EQ(data->screenLogName, L"ScreenSDK.log");
    std::string os;
    config_->ReadString(os, "BaseInfo", "OsVersion");
    EXPECT_EQ(os, ZuvraKestrum::Util::GetOsProductName());
}

TEST_F(KestrumDataTest, HandsExistingLogFilesToTheCrashHandlerInOrder) {
    std::unique_ptr<CKestrumData> data = Make();
    EXPECT_EQ(CrashHandlerJournal(), L"BT_AddLogFile(" + logPath_ +
                                         L")\nBT_AddLogFile(VideoSourceStream.txt)\n"
                                         L"BT_AddLogFile(ScreenSDK.log)\n");
}

TEST_F(KestrumDataTest, EngineLogIsHandedOverOnceItsPathIsKnown) {
    std::unique_ptr<CKestrumData> data = Make();
    KestrumBugTrapJournalClear();
    data->setEngineLogPath(L"");
    EXPECT_EQ(CrashHandlerJournal(), L"");
    data->setEngineLogPath(L"C:\\app\\logger\\media.log");
    EXPECT_EQ(data->engineLogPath, L"C:\\app\\logger\\media.log");
    EXPECT_EQ(CrashHandlerJournal(), L"BT_AddLogFile(C:\\app\\logger\\media.log)\n");
}

TEST_F(KestrumDataTest, SettingsDumpOpensTheLogWithoutTheFullToken) {
    {
        CKestrumConfig preset(bin_);
        preset.setNickname("Alice");
        preset.setUid("u-1");
        preset.setStreamid("12");
        preset.setToken("eyJhbGciOiJIUzI1NiJ9.secret");
    }
    { std::unique_ptr<CKestrumData> data = Make(); }
    const std::string log = ReadFileBytes(logPath_);
    const std::string language = std::to_string(CKestrumConfig::UserLanguage());
    // One line of the log: its line breaks are written as escapes, like any in a log line.
    EXPECT_EQ(log,
              "20190812:101500:123 [Kestrum] AppId: '5b1e7c9a20d64f3e8a7b6c5d4e3f2a10' \\n"
              "NickName: 'Alice' \\nUid: 'u-1' \\nnStream:12 \\nnLanguage: " +
                  language +
                  " \\nstrToken: 'eyJh***' \\nPortraidId: ''  \\n"
                  "PortraidPath: 'profile picture-light.png' \r\n");
    EXPECT_EQ(log.find("secret"), std::string::npos);
}

TEST_F(KestrumDataTest, JoinStatusTurnsADeviceOffWhenRoomOrUserSaysSo) {
    std::unique_ptr<CKestrumData> data = Make();
    struct Case {
        int room;
        bool micOff;
        bool cameraOff;
        int status;
    };
    const Case cases[] = {
        {3, false, false, 3}, {0, false, false, 0}, {1, false, false, 1}, {2, false, false, 2},
        {0, true, false, 1},  {0, false, true, 2},  {0, true, true, 3},   {1, false, true, 3},
        {4, false, false, 0},  // bits beyond the two devices are not used
    };
    for (const Case& c : cases) {
        data->micOff = c.micOff;
        data->cameraOff = c.cameraOff;
        EXPECT_EQ(data->applyJoinStatus(c.room), c.status) << c.room << c.micOff << c.cameraOff;
        EXPECT_EQ(data->status, c.status);
    }
}

// Whatever the system's code page: the windows widen the name from UTF-8 themselves.
TEST_F(KestrumDataTest, NicknameLookupGivesTheFirstMatchAsUtf8) {
    std::unique_ptr<CKestrumData> data = Make();
    data->userList = {User("a", "Ann", ""), User("b", kChineseEmojiUtf8, ""),
                      User("c", "Ren\xC3\xA9", ""), User("a", "Second Ann", "")};
    std::string name;
    data->getUserNickName("a", name);
    EXPECT_EQ(name, "Ann");
    data->getUserNickName("b", name);
    EXPECT_EQ(name, kChineseEmojiUtf8);
    data->getUserNickName("c", name);
    EXPECT_EQ(name, "Ren\xC3\xA9");
}

// The signalling thread looks the nickname up; a copy that throws must not leave the lock held,
// or every later look-up and every window that locks the meeting data would stop.
TEST_F(KestrumDataTest, NicknameTryThatThrowsLeavesTheLock) {
    ASSERT_TRUE(FailingAllocations::Install());
    std::unique_ptr<CKestrumData> data = Make();
    const std::string longName(60, 'n');  // too long to be kept without a heap block
    data->userList = {User("a", longName, "")};
    std::string name;
    {
        const FailingAllocations failing;
        EXPECT_THROW(data->tryGetUserNickName("a", name), std::bad_alloc);
    }
    bool takenElsewhere = false;
    std::thread([&] {
        takenElsewhere = data->lock.TryEnter();
        if (takenElsewhere) data->lock.Leave();
    }).join();
    if (!takenElsewhere) data->lock.Leave();  // this thread kept it: undo for what follows
    EXPECT_TRUE(takenElsewhere) << "the lock stayed held";
    EXPECT_TRUE(data->tryGetUserNickName("a", name));
    EXPECT_EQ(name, longName);
}

TEST_F(KestrumDataTest, UnknownUidLeavesTheNicknameAndEmptiesThePortraitId) {
    std::unique_ptr<CKestrumData> data = Make();
    data->userList = {User("a", "Ann", "p-a"), User("b", "Bob", "p-b")};
    std::string name = "previous";
    data->getUserNickName("A", name);
    EXPECT_EQ(name, "previous");
    std::string id = "stale";
    EXPECT_EQ(data->getUserPortraitId(id, "b"), "p-b");
    EXPECT_EQ(data->getUserPortraitId(id, "z"), "");
    EXPECT_EQ(id, "");
}

TEST_F(KestrumDataTest, StreamAndFeatureLookupsTakeTheFirstParticipant) {
    std::unique_ptr<CKestrumData> data = Make();
    data->userList = {User("a", "Ann", ""), User("b", "Bob", ""), User("a", "Ann again", "")};
    data->userList[0].streamId = 7;
    data->userList[1].streamId = 7;
    data->userList[1].feature = 1;
    data->userList[2].feature = 1;
    EXPECT_EQ(data->getUidByStreamId(7), "a");
    EXPECT_EQ(data->getUidByStreamId(8), "");
    EXPECT_FALSE(data->isFeatureSupported("a")) << "the first record with the uid decides";
    EXPECT_TRUE(data->isFeatureSupported("b"));
    EXPECT_FALSE(data->isFeatureSupported("nobody"));
}

TEST_F(KestrumDataTest, RoomInfoUpdateStoresTheRoomAndReportsHostChanges) {
    std::unique_ptr<CKestrumData> data = Make();
    data->roomPassword = "the one joined with";
    SdkConfigsRecord sdk;
    sdk.channelProfile = 1;
    const RoomInfoRecord room("r1", "pw", {"h1", "h2"}, "Host One", 2, "topic", sdk);
    EXPECT_TRUE(data->updateRoomInfo(room));
    EXPECT_EQ(data->roomPassword, "pw") << "another host's change";
    EXPECT_EQ(data->hosts, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(data->hostName, "Host One");
    EXPECT_EQ(data->initialStatus, 2);
    EXPECT_EQ(data->roomInfo.sdkConfigs.channelProfile, 1);
    EXPECT_STREQ(data->roomInfo.rid, "r1");
    EXPECT_FALSE(data->updateRoomInfo(room));
    EXPECT_TRUE(data->updateRoomInfo(RoomInfoRecord()));
    EXPECT_TRUE(data->hosts.empty());
    EXPECT_EQ(data->roomInfo.sdkConfigs.channelProfile, -1);
}

// The windows read the hosts and the room's mode while the signalling thread stores a new room.
TEST_F(KestrumDataTest, HostsAndRoomModeAreReadUnderTheLock) {
    std::unique_ptr<CKestrumData> data = Make();
    EXPECT_EQ(data->getChannelProfile(), -1);
    SdkConfigsRecord sdk;
    sdk.channelProfile = 1;
    static_cast<void>(data->updateRoomInfo(RoomInfoRecord("r1", "", {"h1", "h2"}, "", 0, "", sdk)));
    std::atomic<bool> held = false;
    std::atomic<bool> release = false;
    std::thread holder([&] {
        data->lock.Enter();
        held = true;
        while (!release) Sleep(1);
        data->lock.Leave();
    });
    while (!held) Sleep(1);
    std::atomic<int> reads = 0;
    std::vector<std::string> hosts;
    int profile = -1;
    std::thread hostsReader([&] {
        hosts = data->getHosts();
        ++reads;
    });
    std::thread modeReader([&] {
        profile = data->getChannelProfile();
        ++reads;
    });
    Sleep(50);
    EXPECT_EQ(reads, 0) << "read while another thread held the lock";
    release = true;
    holder.join();
    hostsReader.join();
    modeReader.join();
    EXPECT_EQ(hosts, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(profile, 1);
}

// Nothing of an ended meeting's room speaks for the next one: its host least of all.
TEST_F(KestrumDataTest, AMeetingsEndForgetsItsRoomAndParticipants) {
    std::unique_ptr<CKestrumData> data = Make();
    SdkConfigsRecord sdk;
    sdk.channelProfile = 1;
    static_cast<void>(data->updateRoomInfo(RoomInfoRecord("r1", "pw", {"h1"}, "Host", 0, "", sdk)));
    data->userList = {User("h1", "Host", "")};
    data->ownInfo = User("me", "Me", "");
    data->endMeeting();
    EXPECT_TRUE(data->hosts.empty());
    EXPECT_EQ(data->hostName, "");
    EXPECT_EQ(data->roomInfo.sdkConfigs.channelProfile, -1);
    EXPECT_TRUE(data->userList.empty());
    EXPECT_STREQ(data->ownInfo.uid, "");
}

}  // namespace
