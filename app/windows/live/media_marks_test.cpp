// Where signal icons go, speaker marks and the talking batch over a roster in a meeting, and what
// the big view shows of its participant.

#include "app/windows/live/media_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/core/kestrum_data.h"

namespace {

using namespace ZuvraKestrum::Live;

constexpr int32_t kOwnStream = 100;

UserInfoRecord User(const std::string& uid, int32_t stream, int32_t share = -1) {
    return UserInfoRecord(uid, uid, "p", stream, "acct", 0, share, 0);
}

// Oneself, Ann (101) in the big view, Bob (102) in the strip; Cid (103) listed but not in the
// engine yet.
struct Meeting {
    Meeting() : roster(0, kOwnStream) {
        static_cast<void>(roster.onOwnJoin(User("me", kOwnStream)));
        roster.onOwnEngineJoin(0);
        for (int i = 1; i <= 3; ++i) {
            static_cast<void>(roster.onUserJoin(User("u" + std::to_string(i), 100 + i)));
        }
        static_cast<void>(roster.onEngineUserJoined(101, 0));
        static_cast<void>(roster.onEngineUserJoined(102, 0));
    }
    MeetingRoster roster;
};

std::string Describe(const std::vector<SpeechMark>& marks) {
    static const char* const kPlaces[] = {"big", "self", "strip"};
    std::string text;
    for (const SpeechMark& mark : marks) {
        if (!text.empty()) text += " ";
        text += std::string(kPlaces[static_cast<int>(mark.place)]) + ":" +
                std::to_string(mark.streamId) + (mark.speaking ? "+" : "-");
    }
    return text;
}

TEST(MediaMarks, NetworkQualityGoesWhereTheStreamIsShown) {
    MeetingRoster alone(0, kOwnStream);
    static_cast<void>(alone.onOwnJoin(User("me", kOwnStream)));
    // Alone, oneself fills the big view; uid 0 is oneself.
    EXPECT_EQ(NetworkQualityPlace(alone, 0), MarkPlace::kBigView);

    Meeting m;
    EXPECT_EQ(NetworkQualityPlace(m.roster, 101), MarkPlace::kBigView);
    EXPECT_EQ(NetworkQualityPlace(m.roster, 0), MarkPlace::kSelfTile);
    EXPECT_EQ(NetworkQualityPlace(m.roster, kOwnStream), MarkPlace::kSelfTile);
    EXPECT_EQ(NetworkQualityPlace(m.roster, 102), MarkPlace::kStrip);
    EXPECT_EQ(NetworkQualityPlace(m.roster, 555), MarkPlace::kStrip);
}

// The picture under the video stays centred at its size; the person shows only when neither
// microphone nor camera is on.
TEST(MediaMarks, TheBigViewShowsVideoMarkAndPictureByTheRecordedStatus) {
    const RECT view{0, 0, 400, 300};
    const struct {
        int status;
        bool video, micMuted;
        const wchar_t* picture;
    } cases[] = {
        {0, true, false, L"file='live/no_signal_bk.png' dest='152,102,248,198'"},
        {kStatusMicOff, true, true, L"file='live/no_signal_bk.png' dest='152,102,248,198'"},
        {kStatusCameraOff, false, false, L"file='live/no_signal_bk.png' dest='152,102,248,198'"},
        {kStatusMicOff | kStatusCameraOff, false, true,
         L"file='live/default.png' dest='152,102,248,198'"},
    };
    for (const auto& c : cases) {
        const BigViewLook look = BigViewLookOf(c.status, view);
        EXPECT_EQ(look.video, c.video) << c.status;
        EXPECT_EQ(look.micMuted, c.micMuted) << c.status;
        EXPECT_EQ(look.picture, c.picture) << c.status;
    }
    EXPECT_EQ(BigViewLookOf(0, RECT{197, 34, 797, 434}).picture,
              L"file='live/no_signal_bk.png' dest='252,152,348,248'");

    // A first frame shows the video only for the big view's stream with its camera on.
    UserInfoRecord big = User("u1", 101);
    EXPECT_TRUE(FirstFrameShowsBigView(big, 101));
    EXPECT_FALSE(FirstFrameShowsBigView(big, 102));
    big.status = kStatusCameraOff;
    EXPECT_FALSE(FirstFrameShowsBigView(big, 101));
}

TEST(MediaMarks, TheSpeakerMarkCoversEveryShownParticipantAndClearsAfterOneTick) {
    Meeting m;
    ActiveSpeakerMark mark;
    mark.onActiveSpeaker(m.roster, 102);
    mark.onActiveSpeaker(m.roster, 0);  // the last report counts: oneself
    EXPECT_EQ(mark.speaker(), kOwnStream);
    // Cid has no tile yet and gets no mark.
    EXPECT_EQ(Describe(mark.onTick(m.roster)), "self:100+ big:101- strip:102-");
    EXPECT_EQ(Describe(mark.onTick(m.roster)), "self:100- big:101- strip:102-");
    mark.onActiveSpeaker(m.roster, 102);
    EXPECT_EQ(Describe(mark.onTick(m.roster)), "self:100- big:101- strip:102+");
}

TEST(MediaMarks, TheTalkingBatchHoldsTheStreamsOfTheLastAudibleReport) {
    SpeakingBatch batch;
    const zuvra::rtc::AudioVolumeInfo first[] = {{101, 30}, {0, 90}, {102, 0}, {103, 5}};
    batch.onVolumeIndication(first, 4);
    EXPECT_EQ(batch.streams(), (std::vector<int32_t>{101, 103}));
    // A later report replaces the batch; one of oneself or of silence leaves it empty.
    const zuvra::rtc::AudioVolumeInfo second[] = {{104, 1}};
    batch.onVolumeIndication(second, 1);
    const zuvra::rtc::AudioVolumeInfo quiet[] = {{0, 80}, {101, 0}};
    batch.onVolumeIndication(quiet, 2);
    EXPECT_TRUE(batch.streams().empty());
    batch.onVolumeIndication(nullptr, 0);
    EXPECT_TRUE(batch.streams().empty());
}

// The rows show the microphone as the room reports it: hearing a participant the host muted (or
// one nobody lists) never shows that row's microphone as on again.
TEST(MediaMarks, OnlyParticipantsWhoseMicrophoneIsOnAreTakenAsTalking) {
    Meeting m;
    UserInfoRecord muted = User("u2", 102);
    muted.status = kStatusMicOff;
    static_cast<void>(
        m.roster.onUserList({User("me", kOwnStream), User("u1", 101), muted, User("u3", 103)}));
    SpeakingBatch batch;
    const zuvra::rtc::AudioVolumeInfo heard[] = {{101, 60}, {102, 60}, {103, 60}, {555, 60}};
    batch.onVolumeIndication(heard, 4);
    // The batch is keyed by stream (engine uid), the key the panel's update by stream takes.
    EXPECT_EQ(batch.take(m.roster), (std::vector<int32_t>{101, 103}));
    EXPECT_TRUE(batch.take(m.roster).empty());
}

}  // namespace
