#include "kestrum/core/qz_engine_event_handler.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// A heap copy with its NUL; null stays null.
std::unique_ptr<char[]> CopyText(const char* text) {
    if (!text) return nullptr;
    const size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), text, size);
    return copy;
}

}  // namespace

template <UINT kMessage, class Make>
void CQZEngineEventHandler::post(Make make) {
    const HWND receiver = Receiver();
    if (!receiver) return;
    PostPayload<kMessage>(receiver, make());
}

template <UINT kMessage>
void CQZEngineEventHandler::postEmpty() {
    PostEmpty<kMessage>(Receiver());
}

template <UINT kMessage>
void CQZEngineEventHandler::postChannel(const char* channel, uint32_t uid, int elapsed) {
    post<kMessage>([&] {
        return NewRecord<EngineChannelEvent>(CopyText(channel ? channel : ""), uid, elapsed);
    });
}

template <UINT kMessage>
void CQZEngineEventHandler::postUserFlag(uint32_t uid, bool flag) {
    post<kMessage>([&] { return NewRecord<EngineUserFlagEvent>(uid, flag); });
}

template <UINT kMessage>
void CQZEngineEventHandler::postTextValues(const char* text, uint32_t a, uint32_t b) {
    post<kMessage>([&] { return NewRecord<EngineTextValuesEvent>(CopyText(text), a, b); });
}

template <UINT kMessage>
void CQZEngineEventHandler::postValue(uint32_t value) {
    post<kMessage>([&] { return NewRecord<EngineValueEvent>(value); });
}

// Warnings, interruptions and statistics change nothing the user sees: not posted, not logged.
void CQZEngineEventHandler::onWarning(int, const char*) {}

void CQZEngineEventHandler::onError(int code, const char* text) {
    post<WM_ENGINE_ERROR>([&] { return NewRecord<EngineErrorEvent>(code, CopyText(text)); });
}

void CQZEngineEventHandler::onJoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) {
    postChannel<WM_ENGINE_JOIN_CHANNEL_SUCCESS>(channel, uid, elapsed);
}

void CQZEngineEventHandler::onRejoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) {
    postChannel<WM_ENGINE_REJOIN_CHANNEL_SUCCESS>(channel, uid, elapsed);
}

void CQZEngineEventHandler::onLeaveChannel(const zuvra::rtc::RtcStats& stats) {
    post<WM_ENGINE_LEAVE_CHANNEL>([&] { return NewRecord<zuvra::rtc::RtcStats>(stats); });
}

void CQZEngineEventHandler::onUserJoined(uint32_t uid, int elapsed) {
    post<WM_ENGINE_USER_JOINED>([&] { return NewRecord<EngineUserJoinedEvent>(uid, elapsed); });
}

void CQZEngineEventHandler::onUserOffline(uint32_t uid, uint32_t reason) {
    post<WM_ENGINE_USER_OFFLINE>([&] { return NewRecord<EngineUserOfflineEvent>(uid, reason); });
}

void CQZEngineEventHandler::onLastmileQuality(int quality) {
    post<WM_ENGINE_LASTMILE_QUALITY>([&] { return NewRecord<EngineQualityEvent>(quality); });
}

void CQZEngineEventHandler::onConnectionInterrupted() {}

void CQZEngineEventHandler::onSignal12() { postEmpty<WM_ENGINE_SIGNAL_12>(); }

void CQZEngineEventHandler::onSignal15() { postEmpty<WM_ENGINE_SIGNAL_15>(); }

void CQZEngineEventHandler::onValues17(uint32_t a, uint32_t b, uint16_t c, uint16_t d) {
    post<WM_ENGINE_VALUES_17>([&] { return NewRecord<EngineValues17Event>(a, b, c, d); });
}

void CQZEngineEventHandler::onRtcStats(const zuvra::rtc::RtcStats&) {}

void CQZEngineEventHandler::onNetworkQuality(uint32_t uid, int txQuality, int rxQuality) {
    post<WM_ENGINE_NETWORK_QUALITY>(
        [&] { return NewRecord<EngineNetworkQualityEvent>(uid, txQuality, rxQuality); });
}

void CQZEngineEventHandler::onRecord20(const zuvra::rtc::EventRecord8& record) {
    post<WM_ENGINE_RECORD_20>([&] { return NewRecord<zuvra::rtc::EventRecord8>(record); });
}

void CQZEngineEventHandler::onRecord21(const zuvra::rtc::EventRecord28& record) {
    post<WM_ENGINE_RECORD_21>([&] { return NewRecord<zuvra::rtc::EventRecord28>(record); });
}

void CQZEngineEventHandler::onAudioVolumeIndication(const zuvra::rtc::AudioVolumeInfo* speakers,
                                                    unsigned count, int totalVolume) {
    // An engine that names entries without giving them reports no entries.
    const uint32_t kept = speakers ? count : 0;
    post<WM_ENGINE_AUDIO_VOLUME_INDICATION>([&] {
        std::unique_ptr<zuvra::rtc::AudioVolumeInfo[]> copy;
        if (kept > 0) {
            copy.reset(new zuvra::rtc::AudioVolumeInfo[kept]);
            std::copy(speakers, speakers + kept, copy.get());
        }
        return NewRecord<EngineVolumeEvent>(std::move(copy), kept, totalVolume);
    });
}

void CQZEngineEventHandler::onActiveSpeaker(uint32_t uid) {
    post<WM_ENGINE_ACTIVE_SPEAKER>([&] { return NewRecord<EngineUidEvent>(uid); });
}

void CQZEngineEventHandler::onSignal25() { postEmpty<WM_ENGINE_SIGNAL_25>(); }

void CQZEngineEventHandler::onFirstLocalVideoFrame(int width, int height, int elapsed) {
    post<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>(
        [&] { return NewRecord<EngineLocalFrameEvent>(width, height, elapsed); });
}

void CQZEngineEventHandler::onFirstRemoteVideoDecoded(uint32_t uid, int width, int height,
                                                      int elapsed) {
    post<WM_ENGINE_FIRST_REMOTE_VIDEO_DECODED>(
        [&] { return NewRecord<EngineRemoteFrameEvent>(uid, width, height, elapsed); });
}

void CQZEngineEventHandler::onFirstRemoteVideoFrame(uint32_t uid, int width, int height,
                                                    int elapsed) {
    post<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>(
        [&] { return NewRecord<EngineRemoteFrameEvent>(uid, width, height, elapsed); });
}

void CQZEngineEventHandler::onUserMuteAudio(uint32_t uid, bool muted) {
    postUserFlag<WM_ENGINE_USER_MUTE_AUDIO>(uid, muted);
}

void CQZEngineEventHandler::onUserMuteVideo(uint32_t uid, bool muted) {
    postUserFlag<WM_ENGINE_USER_MUTE_VIDEO>(uid, muted);
}

void CQZEngineEventHandler::onUserEnableVideo(uint32_t uid, bool enabled) {
    postUserFlag<WM_ENGINE_USER_ENABLE_VIDEO>(uid, enabled);
}

void CQZEngineEventHandler::onTextValues32(const char* text, uint32_t a, uint32_t b) {
    postTextValues<WM_ENGINE_TEXT_VALUES_32>(text, a, b);
}

void CQZEngineEventHandler::onSignal34() { postEmpty<WM_ENGINE_SIGNAL_34>(); }

void CQZEngineEventHandler::onTextValues43(const char* text, uint32_t a, uint32_t b) {
    postTextValues<WM_ENGINE_TEXT_VALUES_43>(text, a, b);
}

void CQZEngineEventHandler::onUserEnableLocalVideo(uint32_t uid, bool enabled) {
    postUserFlag<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>(uid, enabled);
}

void CQZEngineEventHandler::onValue67(uint32_t value) { postValue<WM_ENGINE_VALUE_67>(value); }

void CQZEngineEventHandler::onTextValue68(const char* text, uint32_t value) {
    post<WM_ENGINE_TEXT_VALUE_68>([&] {
        std::unique_ptr<EngineShortTextEvent> record = NewRecord<EngineShortTextEvent>();
        if (text) {
            const size_t length = std::min(std::strlen(text), EngineShortTextEvent::kTextBytes - 1);
            std::memcpy(record->text, text, length);
        }
        record->value = value;
        return record;
    });
}

void CQZEngineEventHandler::onValue69(uint32_t) { postEmpty<WM_ENGINE_VALUE_69>(); }

void CQZEngineEventHandler::onValue70(uint32_t) { postEmpty<WM_ENGINE_VALUE_70>(); }

void CQZEngineEventHandler::onValue71(uint32_t value) { postValue<WM_ENGINE_VALUE_71>(value); }
