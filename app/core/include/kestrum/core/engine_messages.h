#pragma once

#include <windows.h>

#include <cstdint>

#include "kestrum/engine/zuvra_rtc_engine.h"

// The engine's events as window messages: CQZEngineEventHandler posts them to its receiver
// window with a heap payload in WPARAM (LPARAM 0). The receiver owns the payload and frees it
// with FreeEngineEventPayload on every path, also for a message it does not act on; messages
// listed as carrying nothing have WPARAM 0. The numbers 0x605-0x607, 0x60A, 0x615 and 0x61A are
// never posted.

constexpr UINT WM_ENGINE_EVENT = 0x600;

enum EngineMessage : UINT {
    WM_ENGINE_JOIN_CHANNEL_SUCCESS = WM_ENGINE_EVENT + 0x01,        // EngineChannelEvent
    WM_ENGINE_REJOIN_CHANNEL_SUCCESS = WM_ENGINE_EVENT + 0x02,      // EngineChannelEvent
    WM_ENGINE_ERROR = WM_ENGINE_EVENT + 0x03,                       // EngineErrorEvent
    WM_ENGINE_VALUES_17 = WM_ENGINE_EVENT + 0x04,                   // EngineValues17Event
    WM_ENGINE_AUDIO_VOLUME_INDICATION = WM_ENGINE_EVENT + 0x08,     // EngineVolumeEvent
    WM_ENGINE_LEAVE_CHANNEL = WM_ENGINE_EVENT + 0x09,               // zuvra::rtc::RtcStats
    WM_ENGINE_VALUE_67 = WM_ENGINE_EVENT + 0x0B,                    // EngineValueEvent
    WM_ENGINE_TEXT_VALUES_32 = WM_ENGINE_EVENT + 0x0C,              // EngineTextValuesEvent
    WM_ENGINE_NETWORK_QUALITY = WM_ENGINE_EVENT + 0x0D,             // EngineNetworkQualityEvent
    WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME = WM_ENGINE_EVENT + 0x0E,     // EngineLocalFrameEvent
    WM_ENGINE_FIRST_REMOTE_VIDEO_DECODED = WM_ENGINE_EVENT + 0x0F,  // EngineRemoteFrameEvent
    WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME = WM_ENGINE_EVENT + 0x10,    // EngineRemoteFrameEvent
    WM_ENGINE_USER_JOINED = WM_ENGINE_EVENT + 0x11,                 // EngineUserJoinedEvent
    WM_ENGINE_USER_OFFLINE = WM_ENGINE_EVENT + 0x12,                // EngineUserOfflineEvent
    WM_ENGINE_USER_MUTE_AUDIO = WM_ENGINE_EVENT + 0x13,             // EngineUserFlagEvent
    WM_ENGINE_USER_MUTE_VIDEO = WM_ENGINE_EVENT + 0x14,             // EngineUserFlagEvent
    WM_ENGINE_RECORD_20 = WM_ENGINE_EVENT + 0x16,                   // zuvra::rtc::EventRecord8
    WM_ENGINE_RECORD_21 = WM_ENGINE_EVENT + 0x17,                   // zuvra::rtc::EventRecord28
    WM_ENGINE_SIGNAL_34 = WM_ENGINE_EVENT + 0x18,                   // nothing
    WM_ENGINE_SIGNAL_12 = WM_ENGINE_EVENT + 0x19,                   // nothing
    WM_ENGINE_TEXT_VALUES_43 = WM_ENGINE_EVENT + 0x1B,              // EngineTextValuesEvent
    WM_ENGINE_SIGNAL_25 = WM_ENGINE_EVENT + 0x1C,                   // nothing
    WM_ENGINE_VALUE_69 = WM_ENGINE_EVENT + 0x1D,                    // nothing
    WM_ENGINE_VALUE_70 = WM_ENGINE_EVENT + 0x1E,                    // nothing
    WM_ENGINE_VALUE_71 = WM_ENGINE_EVENT + 0x1F,                    // EngineValueEvent
    WM_ENGINE_TEXT_VALUE_68 = WM_ENGINE_EVENT + 0x20,               // EngineShortTextEvent
    WM_ENGINE_LASTMILE_QUALITY = WM_ENGINE_EVENT + 0x21,            // EngineQualityEvent
    WM_ENGINE_SIGNAL_15 = WM_ENGINE_EVENT + 0x22,                   // nothing
    WM_ENGINE_ACTIVE_SPEAKER = WM_ENGINE_EVENT + 0x23,              // EngineUidEvent
    WM_ENGINE_USER_ENABLE_VIDEO = WM_ENGINE_EVENT + 0x24,           // EngineUserFlagEvent
    WM_ENGINE_USER_ENABLE_LOCAL_VIDEO = WM_ENGINE_EVENT + 0x25,     // EngineUserFlagEvent
};

constexpr UINT WM_ENGINE_EVENT_FIRST = WM_ENGINE_JOIN_CHANNEL_SUCCESS;
constexpr UINT WM_ENGINE_EVENT_LAST = WM_ENGINE_USER_ENABLE_LOCAL_VIDEO;

// Payload records, fields in the order of the engine's arguments. Text fields are separate
// heap copies (new[]) owned by the record.

struct EngineChannelEvent {
    char* channel;  // never null
    uint32_t uid;
    int32_t elapsed;
};

struct EngineErrorEvent {
    int32_t code;
    char* text;  // null when the engine gave none
};

struct EngineValues17Event {
    uint32_t a;
    uint32_t b;
    uint16_t c;
    uint16_t d;
};

struct EngineVolumeEvent {
    zuvra::rtc::AudioVolumeInfo* speakers;  // count entries; null when count is 0
    uint32_t count;
    int32_t totalVolume;
};

struct EngineValueEvent {
    uint32_t value;
};

struct EngineTextValuesEvent {
    char* text;  // null when the engine gave none
    uint32_t a;
    uint32_t b;
};

struct EngineNetworkQualityEvent {
    uint32_t uid;
    int32_t txQuality;
    int32_t rxQuality;
};

struct EngineLocalFrameEvent {
    int32_t width;
    int32_t height;
    int32_t elapsed;
};

struct EngineRemoteFrameEvent {
    uint32_t uid;
    int32_t width;
    int32_t height;
    int32_t elapsed;
};

struct EngineUserJoinedEvent {
    uint32_t uid;
    int32_t elapsed;
};

struct EngineUserOfflineEvent {
    uint32_t uid;
    uint32_t reason;
};

struct EngineUserFlagEvent {
    uint32_t uid;
    bool flag;  // muted (0x613, 0x614) or enabled (0x624, 0x625)
};

struct EngineShortTextEvent {
    static constexpr size_t kTextBytes = 128;
    char text[kTextBytes];  // at most 127 characters and the NUL
    uint32_t value;
};

struct EngineQualityEvent {
    int32_t quality;
};

struct EngineUidEvent {
    uint32_t uid;
};

// Frees the payload of an engine message with everything in it; null payloads and messages
// outside 0x601-0x625 are ignored. Any thread.
void FreeEngineEventPayload(UINT message, WPARAM payload);
