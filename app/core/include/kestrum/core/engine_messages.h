#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "kestrum/core/posted_payload.h"
#include "kestrum/engine/zuvra_rtc_engine.h"

// The engine's events as window messages: CQZEngineEventHandler posts them to its receiver
// window with a heap record in WPARAM (LPARAM 0), under the ownership rules of posted_payload.h:
// a handler takes its record, a window frees the payload of an engine message it does not handle
// with FreeEngineEventPayload, and one that goes away frees those still queued for it, id by id of
// this table. The numbers 0x605-0x607, 0x60A, 0x615 and 0x61A are never posted.

constexpr UINT WM_ENGINE_EVENT = 0x600;

// The one table of the engine messages: name, number, what WPARAM carries (posted_payload.h).
// The enum, the payload types and FreeEngineEventPayload all come from it.
#define KESTRUM_ENGINE_MESSAGES(X)                                                          \
    X(WM_ENGINE_JOIN_CHANNEL_SUCCESS, WM_ENGINE_EVENT + 0x01, EngineChannelEvent)           \
    X(WM_ENGINE_REJOIN_CHANNEL_SUCCESS, WM_ENGINE_EVENT + 0x02, EngineChannelEvent)         \
    X(WM_ENGINE_ERROR, WM_ENGINE_EVENT + 0x03, EngineErrorEvent)                            \
    X(WM_ENGINE_VALUES_17, WM_ENGINE_EVENT + 0x04, EngineValues17Event)                     \
    X(WM_ENGINE_AUDIO_VOLUME_INDICATION, WM_ENGINE_EVENT + 0x08, EngineVolumeEvent)         \
    X(WM_ENGINE_LEAVE_CHANNEL, WM_ENGINE_EVENT + 0x09, zuvra::rtc::RtcStats)                \
    X(WM_ENGINE_VALUE_67, WM_ENGINE_EVENT + 0x0B, EngineValueEvent)                         \
    X(WM_ENGINE_TEXT_VALUES_32, WM_ENGINE_EVENT + 0x0C, EngineTextValuesEvent)              \
    X(WM_ENGINE_NETWORK_QUALITY, WM_ENGINE_EVENT + 0x0D, EngineNetworkQualityEvent)         \
    X(WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME, WM_ENGINE_EVENT + 0x0E, EngineLocalFrameEvent)     \
    X(WM_ENGINE_FIRST_REMOTE_VIDEO_DECODED, WM_ENGINE_EVENT + 0x0F, EngineRemoteFrameEvent) \
    X(WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME, WM_ENGINE_EVENT + 0x10, EngineRemoteFrameEvent)   \
    X(WM_ENGINE_USER_JOINED, WM_ENGINE_EVENT + 0x11, EngineUserJoinedEvent)                 \
    X(WM_ENGINE_USER_OFFLINE, WM_ENGINE_EVENT + 0x12, EngineUserOfflineEvent)               \
    X(WM_ENGINE_USER_MUTE_AUDIO, WM_ENGINE_EVENT + 0x13, EngineUserFlagEvent)               \
    X(WM_ENGINE_USER_MUTE_VIDEO, WM_ENGINE_EVENT + 0x14, EngineUserFlagEvent)               \
    X(WM_ENGINE_RECORD_20, WM_ENGINE_EVENT + 0x16, zuvra::rtc::EventRecord8)                \
    X(WM_ENGINE_RECORD_21, WM_ENGINE_EVENT + 0x17, zuvra::rtc::EventRecord28)               \
    X(WM_ENGINE_SIGNAL_34, WM_ENGINE_EVENT + 0x18, void)                                    \
    X(WM_ENGINE_SIGNAL_12, WM_ENGINE_EVENT + 0x19, void)                                    \
    X(WM_ENGINE_TEXT_VALUES_43, WM_ENGINE_EVENT + 0x1B, EngineTextValuesEvent)              \
    X(WM_ENGINE_SIGNAL_25, WM_ENGINE_EVENT + 0x1C, void)                                    \
    X(WM_ENGINE_VALUE_69, WM_ENGINE_EVENT + 0x1D, void)                                     \
    X(WM_ENGINE_VALUE_70, WM_ENGINE_EVENT + 0x1E, void)                                     \
    X(WM_ENGINE_VALUE_71, WM_ENGINE_EVENT + 0x1F, EngineValueEvent)                         \
    X(WM_ENGINE_TEXT_VALUE_68, WM_ENGINE_EVENT + 0x20, EngineShortTextEvent)                \
    X(WM_ENGINE_LASTMILE_QUALITY, WM_ENGINE_EVENT + 0x21, EngineQualityEvent)               \
    X(WM_ENGINE_SIGNAL_15, WM_ENGINE_EVENT + 0x22, void)                                    \
    X(WM_ENGINE_ACTIVE_SPEAKER, WM_ENGINE_EVENT + 0x23, EngineUidEvent)                     \
    X(WM_ENGINE_USER_ENABLE_VIDEO, WM_ENGINE_EVENT + 0x24, EngineUserFlagEvent)             \
    X(WM_ENGINE_USER_ENABLE_LOCAL_VIDEO, WM_ENGINE_EVENT + 0x25, EngineUserFlagEvent)

enum EngineMessage : UINT { KESTRUM_ENGINE_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

constexpr UINT WM_ENGINE_EVENT_FIRST = WM_ENGINE_JOIN_CHANNEL_SUCCESS;
constexpr UINT WM_ENGINE_EVENT_LAST = WM_ENGINE_USER_ENABLE_LOCAL_VIDEO;

// Payload records, fields in the order of the engine's arguments. A text or an array is a separate
// heap copy that the record owns through a std::unique_ptr, which has the layout of the plain
// pointer the receivers read (get()), so freeing the record frees everything in it.
static_assert(sizeof(std::unique_ptr<char[]>) == sizeof(char*), "records keep plain pointers");

struct EngineChannelEvent {
    std::unique_ptr<char[]> channel;  // never null
    uint32_t uid;
    int32_t elapsed;
};

struct EngineErrorEvent {
    int32_t code;
    std::unique_ptr<char[]> text;  // null when the engine gave none
};

struct EngineValues17Event {
    uint32_t a;
    uint32_t b;
    uint16_t c;
    uint16_t d;
};

struct EngineVolumeEvent {
    std::unique_ptr<zuvra::rtc::AudioVolumeInfo[]> speakers;  // count entries; null when count is 0
    uint32_t count;
    int32_t totalVolume;
};

struct EngineValueEvent {
    uint32_t value;
};

struct EngineTextValuesEvent {
    std::unique_ptr<char[]> text;  // null when the engine gave none
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

KESTRUM_ENGINE_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// Frees the payload of an engine message with everything in it; null payloads and messages
// outside 0x601-0x625 are ignored. Any thread.
void FreeEngineEventPayload(UINT message, WPARAM payload);
