#include "kestrum/core/engine_messages.h"

namespace {

template <class Record>
void Delete(WPARAM payload) {
    delete reinterpret_cast<Record*>(payload);
}

template <class Record>
void DeleteWithText(WPARAM payload) {
    Record* record = reinterpret_cast<Record*>(payload);
    delete[] record->text;
    delete record;
}

void DeleteChannelEvent(WPARAM payload) {
    EngineChannelEvent* record = reinterpret_cast<EngineChannelEvent*>(payload);
    delete[] record->channel;
    delete record;
}

void DeleteVolumeEvent(WPARAM payload) {
    EngineVolumeEvent* record = reinterpret_cast<EngineVolumeEvent*>(payload);
    delete[] record->speakers;
    delete record;
}

}  // namespace

void FreeEngineEventPayload(UINT message, WPARAM payload) {
    if (!payload) return;
    switch (message) {
        case WM_ENGINE_JOIN_CHANNEL_SUCCESS:
        case WM_ENGINE_REJOIN_CHANNEL_SUCCESS:
            return DeleteChannelEvent(payload);
        case WM_ENGINE_ERROR:
            return DeleteWithText<EngineErrorEvent>(payload);
        case WM_ENGINE_VALUES_17:
            return Delete<EngineValues17Event>(payload);
        case WM_ENGINE_AUDIO_VOLUME_INDICATION:
            return DeleteVolumeEvent(payload);
        case WM_ENGINE_LEAVE_CHANNEL:
            return Delete<zuvra::rtc::RtcStats>(payload);
        case WM_ENGINE_VALUE_67:
        case WM_ENGINE_VALUE_71:
            return Delete<EngineValueEvent>(payload);
        case WM_ENGINE_TEXT_VALUES_32:
        case WM_ENGINE_TEXT_VALUES_43:
            return DeleteWithText<EngineTextValuesEvent>(payload);
        case WM_ENGINE_NETWORK_QUALITY:
            return Delete<EngineNetworkQualityEvent>(payload);
        case WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME:
            return Delete<EngineLocalFrameEvent>(payload);
        case WM_ENGINE_FIRST_REMOTE_VIDEO_DECODED:
        case WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME:
            return Delete<EngineRemoteFrameEvent>(payload);
        case WM_ENGINE_USER_JOINED:
            return Delete<EngineUserJoinedEvent>(payload);
        case WM_ENGINE_USER_OFFLINE:
            return Delete<EngineUserOfflineEvent>(payload);
        case WM_ENGINE_USER_MUTE_AUDIO:
        case WM_ENGINE_USER_MUTE_VIDEO:
        case WM_ENGINE_USER_ENABLE_VIDEO:
        case WM_ENGINE_USER_ENABLE_LOCAL_VIDEO:
            return Delete<EngineUserFlagEvent>(payload);
        case WM_ENGINE_RECORD_20:
            return Delete<zuvra::rtc::EventRecord8>(payload);
        case WM_ENGINE_RECORD_21:
            return Delete<zuvra::rtc::EventRecord28>(payload);
        case WM_ENGINE_TEXT_VALUE_68:
            return Delete<EngineShortTextEvent>(payload);
        case WM_ENGINE_LASTMILE_QUALITY:
            return Delete<EngineQualityEvent>(payload);
        case WM_ENGINE_ACTIVE_SPEAKER:
            return Delete<EngineUidEvent>(payload);
        default:
            return;  // carries nothing, or not an engine message
    }
}
