#include "kestrum/core/qz_engine_event_handler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "kestrum/testing/heap_blocks.h"
#include "message_window.h"

namespace {

using kestrum::testing_support::UsedHeapBlocks;
using zuvra::rtc::AudioVolumeInfo;

// A payload taken from the queue and freed as a receiver frees it.
struct Received {
    UINT message = 0;
    WPARAM payload = 0;
    LPARAM lParam = -1;
    ~Received() { FreeEngineEventPayload(message, payload); }
    template <class Record>
    const Record& as() const {
        return *reinterpret_cast<const Record*>(payload);
    }
};

class EngineEventHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window_.handle(), nullptr);
        sink_.SetReceiver(window_.handle());
    }

    // The one engine message the event posted.
    void fire(const std::function<void()>& event, Received& out) {
        event();
        MSG message;
        ASSERT_TRUE(window_.take(message, WM_ENGINE_EVENT_FIRST, WM_ENGINE_EVENT_LAST));
        out.message = message.message;
        out.payload = message.wParam;
        out.lParam = message.lParam;
        MSG extra;
        EXPECT_FALSE(window_.take(extra, 0, 0)) << "more than one message posted";
    }

    bool nothingPosted() {
        MSG message;
        return !window_.take(message, 0, 0);
    }

    MessageWindow window_;
    CQZEngineEventHandler sink_;
};

TEST_F(EngineEventHandlerTest, ChannelEventsCopyTheChannelText) {
    std::string channel = "room-7";
    Received joined;
    fire([&] { sink_.onJoinChannelSuccess(channel.c_str(), 42, 310); }, joined);
    channel[0] = 'X';  // the payload must not point into the engine's text
    EXPECT_EQ(joined.message, 0x601u);
    EXPECT_EQ(joined.lParam, 0);
    EXPECT_STREQ(joined.as<EngineChannelEvent>().channel.get(), "room-7");
    EXPECT_EQ(joined.as<EngineChannelEvent>().uid, 42u);
    EXPECT_EQ(joined.as<EngineChannelEvent>().elapsed, 310);

    Received rejoined;
    fire([&] { sink_.onRejoinChannelSuccess("room-7", 43, 5); }, rejoined);
    EXPECT_EQ(rejoined.message, 0x602u);
    EXPECT_EQ(rejoined.as<EngineChannelEvent>().uid, 43u);
}

TEST_F(EngineEventHandlerTest, ErrorKeepsItsTextOrNull) {
    Received withText;
    fire([&] { sink_.onError(-17, "no route"); }, withText);
    EXPECT_EQ(withText.message, 0x603u);
    EXPECT_EQ(withText.as<EngineErrorEvent>().code, -17);
    EXPECT_STREQ(withText.as<EngineErrorEvent>().text.get(), "no route");

    Received withoutText;
    fire([&] { sink_.onError(5, nullptr); }, withoutText);
    EXPECT_EQ(withoutText.as<EngineErrorEvent>().text, nullptr);
}

TEST_F(EngineEventHandlerTest, RecordsAreCopiedByteForByte) {
    zuvra::rtc::RtcStats stats;
    for (uint32_t i = 0; i < 14; ++i) stats.values[i] = 0x01010101u * (i + 1);
    Received left;
    fire([&] { sink_.onLeaveChannel(stats); }, left);
    EXPECT_EQ(left.message, 0x609u);
    EXPECT_EQ(std::memcmp(&left.as<zuvra::rtc::RtcStats>(), &stats, 56), 0);

    Received record8;
    fire([&] { sink_.onRecord20(zuvra::rtc::EventRecord8{{7, 8}}); }, record8);
    EXPECT_EQ(record8.message, 0x616u);
    EXPECT_EQ(record8.as<zuvra::rtc::EventRecord8>().values[1], 8u);

    const zuvra::rtc::EventRecord28 source{{1, 2, 3, 4, 5, 6, 7}};
    Received record28;
    fire([&] { sink_.onRecord21(source); }, record28);
    EXPECT_EQ(record28.message, 0x617u);
    EXPECT_EQ(std::memcmp(&record28.as<zuvra::rtc::EventRecord28>(), &source, 28), 0);
}

TEST_F(EngineEventHandlerTest, UserEventsCarryUidAndValues) {
    struct Case {
        const char* name;
        std::function<void()> event;
        UINT message;
        uint32_t uid;
    };
    const Case cases[] = {
        {"joined", [&] { sink_.onUserJoined(11, 90); }, 0x611, 11},
        {"offline", [&] { sink_.onUserOffline(12, 1); }, 0x612, 12},
        {"mute audio", [&] { sink_.onUserMuteAudio(13, true); }, 0x613, 13},
        {"mute video", [&] { sink_.onUserMuteVideo(14, false); }, 0x614, 14},
        {"enable video", [&] { sink_.onUserEnableVideo(15, true); }, 0x624, 15},
        {"enable local video", [&] { sink_.onUserEnableLocalVideo(16, true); }, 0x625, 16},
        {"active speaker", [&] { sink_.onActiveSpeaker(17); }, 0x623, 17},
        {"network quality", [&] { sink_.onNetworkQuality(18, 2, 5); }, 0x60D, 18},
        {"remote decoded", [&] { sink_.onFirstRemoteVideoDecoded(19, 640, 480, 33); }, 0x60F, 19},
        {"remote frame", [&] { sink_.onFirstRemoteVideoFrame(20, 640, 480, 34); }, 0x610, 20},
    };
    for (const Case& c : cases) {
        Received received;
        fire(c.event, received);
        EXPECT_EQ(received.message, c.message) << c.name;
        // Every one of these records starts with the uid.
        EXPECT_EQ(*reinterpret_cast<const uint32_t*>(received.payload), c.uid) << c.name;
    }
}

TEST_F(EngineEventHandlerTest, FlagAndValueFieldsFollowTheUid) {
    Received offline;
    fire([&] { sink_.onUserOffline(12, 2); }, offline);
    EXPECT_EQ(offline.as<EngineUserOfflineEvent>().reason, 2u);

    Received muted;
    fire([&] { sink_.onUserMuteVideo(14, true); }, muted);
    EXPECT_TRUE(muted.as<EngineUserFlagEvent>().flag);

    Received quality;
    fire([&] { sink_.onNetworkQuality(18, 2, 5); }, quality);
    EXPECT_EQ(quality.as<EngineNetworkQualityEvent>().txQuality, 2);
    EXPECT_EQ(quality.as<EngineNetworkQualityEvent>().rxQuality, 5);

    Received frame;
    fire([&] { sink_.onFirstRemoteVideoFrame(20, 640, 360, 34); }, frame);
    EXPECT_EQ(frame.as<EngineRemoteFrameEvent>().height, 360);
    EXPECT_EQ(frame.as<EngineRemoteFrameEvent>().elapsed, 34);

    Received local;
    fire([&] { sink_.onFirstLocalVideoFrame(320, 240, 12); }, local);
    EXPECT_EQ(local.message, 0x60Eu);
    EXPECT_EQ(local.as<EngineLocalFrameEvent>().width, 320);

    Received probe;
    fire([&] { sink_.onLastmileQuality(3); }, probe);
    EXPECT_EQ(probe.message, 0x621u);
    EXPECT_EQ(probe.as<EngineQualityEvent>().quality, 3);

    Received four;
    fire([&] { sink_.onValues17(1, 2, 3, 65535); }, four);
    EXPECT_EQ(four.message, 0x604u);
    EXPECT_EQ(four.as<EngineValues17Event>().d, 65535);

    Received v67, v71;
    fire([&] { sink_.onValue67(67); }, v67);
    fire([&] { sink_.onValue71(71); }, v71);
    EXPECT_EQ(v67.message, 0x60Bu);
    EXPECT_EQ(v67.as<EngineValueEvent>().value, 67u);
    EXPECT_EQ(v71.message, 0x61Fu);
    EXPECT_EQ(v71.as<EngineValueEvent>().value, 71u);
}

TEST_F(EngineEventHandlerTest, TextAndValuesEventsCopyTheirText) {
    Received t32, t43, empty;
    fire([&] { sink_.onTextValues32("first", 1, 2); }, t32);
    fire([&] { sink_.onTextValues43("second", 3, 4); }, t43);
    fire([&] { sink_.onTextValues43(nullptr, 5, 6); }, empty);
    EXPECT_EQ(t32.message, 0x60Cu);
    EXPECT_STREQ(t32.as<EngineTextValuesEvent>().text.get(), "first");
    EXPECT_EQ(t32.as<EngineTextValuesEvent>().b, 2u);
    EXPECT_EQ(t43.message, 0x61Bu);
    EXPECT_STREQ(t43.as<EngineTextValuesEvent>().text.get(), "second");
    EXPECT_EQ(empty.as<EngineTextValuesEvent>().text, nullptr);
    EXPECT_EQ(empty.as<EngineTextValuesEvent>().a, 5u);
}

TEST_F(EngineEventHandlerTest, ShortTextIsCutTo127Characters) {
    const std::string longText(300, 'x');
    Received cut;
    fire([&] { sink_.onTextValue68(longText.c_str(), 68); }, cut);
    EXPECT_EQ(cut.message, 0x620u);
    EXPECT_EQ(std::string(cut.as<EngineShortTextEvent>().text), std::string(127, 'x'));
    EXPECT_EQ(cut.as<EngineShortTextEvent>().value, 68u);

    Received none;
    fire([&] { sink_.onTextValue68(nullptr, 1); }, none);
    EXPECT_STREQ(none.as<EngineShortTextEvent>().text, "");
}

TEST_F(EngineEventHandlerTest, VolumeIndicationCopiesTheArray) {
    AudioVolumeInfo speakers[] = {{0, 200}, {77, 15}};
    Received two;
    fire([&] { sink_.onAudioVolumeIndication(speakers, 2, 200); }, two);
    speakers[1].volume = 99;
    const EngineVolumeEvent& event = two.as<EngineVolumeEvent>();
    EXPECT_EQ(two.message, 0x608u);
    ASSERT_EQ(event.count, 2u);
    EXPECT_EQ(event.totalVolume, 200);
    EXPECT_EQ(event.speakers[1].uid, 77u);
    EXPECT_EQ(event.speakers[1].volume, 15u);

    Received none;
    fire([&] { sink_.onAudioVolumeIndication(speakers, 0, 0); }, none);
    EXPECT_EQ(none.as<EngineVolumeEvent>().count, 0u);
    EXPECT_EQ(none.as<EngineVolumeEvent>().speakers, nullptr);

    Received missing;
    fire([&] { sink_.onAudioVolumeIndication(nullptr, 3, 9); }, missing);
    EXPECT_EQ(missing.as<EngineVolumeEvent>().count, 0u);
}

TEST_F(EngineEventHandlerTest, SignalsCarryNoPayload) {
    struct Case {
        std::function<void()> event;
        UINT message;
    };
    const Case cases[] = {
        {[&] { sink_.onSignal12(); }, 0x619}, {[&] { sink_.onSignal15(); }, 0x622},
        {[&] { sink_.onSignal25(); }, 0x61C}, {[&] { sink_.onSignal34(); }, 0x618},
        {[&] { sink_.onValue69(1); }, 0x61D}, {[&] { sink_.onValue70(1); }, 0x61E},
    };
    for (const Case& c : cases) {
        Received received;
        fire(c.event, received);
        EXPECT_EQ(received.message, c.message);
        EXPECT_EQ(received.payload, 0u);
    }
}

TEST_F(EngineEventHandlerTest, WarningsInterruptionsAndStatisticsPostNothing) {
    sink_.onWarning(8, "warn");
    sink_.onConnectionInterrupted();
    sink_.onRtcStats(zuvra::rtc::RtcStats{});
    EXPECT_TRUE(nothingPosted());
}

TEST_F(EngineEventHandlerTest, WithoutReceiverEventsAreDroppedAndNothingIsAllocated) {
    sink_.SetReceiver(nullptr);
    const long before = UsedHeapBlocks();
    sink_.onJoinChannelSuccess("room", 1, 1);
    sink_.onSignal12();
    EXPECT_EQ(UsedHeapBlocks(), before);
    EXPECT_TRUE(nothingPosted());
}

TEST_F(EngineEventHandlerTest, PayloadOfAFailedPostIsFreed) {
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    sink_.SetReceiver(gone);
    AudioVolumeInfo speakers[] = {{1, 2}};
    const long before = UsedHeapBlocks();
    sink_.onError(1, "text");
    sink_.onJoinChannelSuccess("room", 1, 1);
    sink_.onAudioVolumeIndication(speakers, 1, 2);
    sink_.onTextValue68("short", 1);
    EXPECT_EQ(UsedHeapBlocks(), before);
}

TEST(EngineEventPayloadTest, FreeingIgnoresNullAndForeignMessages) {
    FreeEngineEventPayload(WM_ENGINE_ERROR, 0);
    FreeEngineEventPayload(WM_ENGINE_SIGNAL_12, 0);
    const long before = UsedHeapBlocks();
    EngineQualityEvent* event = new EngineQualityEvent{1};
    FreeEngineEventPayload(WM_ENGINE_LASTMILE_QUALITY, reinterpret_cast<WPARAM>(event));
    EXPECT_EQ(UsedHeapBlocks(), before);
}

}  // namespace
