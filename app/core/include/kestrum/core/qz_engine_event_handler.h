#pragma once

#include <windows.h>

#include <atomic>

#include "kestrum/core/engine_messages.h"
#include "kestrum/engine/zuvra_rtc_engine.h"

// The engine's event sink: turns each event the program cares about into a window message
// (engine_messages.h) posted to one receiver window, with a heap copy of the event's data.
// Nothing else happens on the engine's threads; the receiver reacts on its UI thread and frees
// the payload. Warnings, connection interruptions and statistics are dropped.
//
// Ownership: owned by the engine wrapper (CKestrumZuvra), which creates it before the engine is
// initialised and deletes it after the engine has been released.
//
// Threads: the event operations run on the engine's threads and only read the receiver. A
// payload that cannot be posted (no receiver, or PostMessageW fails because the window is gone
// or its queue is full) is freed here, so nothing leaks. SetReceiver runs on the UI thread; an
// event racing a switch of receiver goes to either window.
class CQZEngineEventHandler : public zuvra::rtc::IRtcEngineEventHandler {
public:
    CQZEngineEventHandler() = default;
    CQZEngineEventHandler(const CQZEngineEventHandler&) = delete;
    CQZEngineEventHandler& operator=(const CQZEngineEventHandler&) = delete;

    // Where events go from now on; null drops them. Called through CKestrumZuvra::SetMsgReceiver.
    void SetReceiver(HWND receiver) { receiver_.store(receiver, std::memory_order_relaxed); }
    HWND Receiver() const { return receiver_.load(std::memory_order_relaxed); }

    void onWarning(int code, const char* text) override;
    void onError(int code, const char* text) override;
    void onJoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) override;
    void onRejoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) override;
    void onLeaveChannel(const zuvra::rtc::RtcStats& stats) override;
    void onUserJoined(uint32_t uid, int elapsed) override;
    void onUserOffline(uint32_t uid, uint32_t reason) override;
    void onLastmileQuality(int quality) override;
    void onConnectionInterrupted() override;
    void onSignal12() override;
    void onSignal15() override;
    void onValues17(uint32_t a, uint32_t b, uint16_t c, uint16_t d) override;
    void onRtcStats(const zuvra::rtc::RtcStats& stats) override;
    void onNetworkQuality(uint32_t uid, int txQuality, int rxQuality) override;
    void onRecord20(const zuvra::rtc::EventRecord8& record) override;
    void onRecord21(const zuvra::rtc::EventRecord28& record) override;
    void onAudioVolumeIndication(const zuvra::rtc::AudioVolumeInfo* speakers, unsigned count,
                                 int totalVolume) override;
    void onActiveSpeaker(uint32_t uid) override;
    void onSignal25() override;
    void onFirstLocalVideoFrame(int width, int height, int elapsed) override;
    void onFirstRemoteVideoDecoded(uint32_t uid, int width, int height, int elapsed) override;
    void onFirstRemoteVideoFrame(uint32_t uid, int width, int height, int elapsed) override;
    void onUserMuteAudio(uint32_t uid, bool muted) override;
    void onUserMuteVideo(uint32_t uid, bool muted) override;
    void onUserEnableVideo(uint32_t uid, bool enabled) override;
    void onTextValues32(const char* text, uint32_t a, uint32_t b) override;
    void onSignal34() override;
    void onTextValues43(const char* text, uint32_t a, uint32_t b) override;
    void onUserEnableLocalVideo(uint32_t uid, bool enabled) override;
    void onValue67(uint32_t value) override;
    void onTextValue68(const char* text, uint32_t value) override;
    void onValue69(uint32_t value) override;
    void onValue70(uint32_t value) override;
    void onValue71(uint32_t value) override;

private:
    // Builds the record with make() (a std::unique_ptr to kMessage's payload type) only when
    // there is a receiver, and posts it; PostPayload frees it when the post fails.
    template <UINT kMessage, class Make>
    void post(Make make);
    template <UINT kMessage>
    void postEmpty();
    template <UINT kMessage>
    void postChannel(const char* channel, uint32_t uid, int elapsed);
    template <UINT kMessage>
    void postUserFlag(uint32_t uid, bool flag);
    template <UINT kMessage>
    void postTextValues(const char* text, uint32_t a, uint32_t b);
    template <UINT kMessage>
    void postValue(uint32_t value);

    std::atomic<HWND> receiver_{nullptr};
};
