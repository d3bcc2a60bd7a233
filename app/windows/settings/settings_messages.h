#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "kestrum/core/posted_payload.h"

// The message that carries a service-library result to a settings window (see
// observer_relay.h), under the ownership rules of posted_payload.h: the window takes the record
// with TakePayload<WM_SETTINGS_OBSERVER_EVENT>(wParam) and, before it goes, frees those still
// queued with FreeQueuedPayloads(window, WM_SETTINGS_OBSERVER_EVENT,
// WM_SETTINGS_OBSERVER_EVENT, FreeSettingsPayload).
//
// A private number of the settings windows' classes, clear of the framework's own messages on
// the same windows (WM_APP + 1, WM_APP + 0x2F1).

// One observer operation of the service library, copied.
struct ObserverEventPayload {
    enum class Kind {
        kError,        // onCallBackError: api, text (the message, UTF-8), code
        kUpdatePhoto,  // onUpdatePhoto: text (the new portrait id)
        kUpdateRoom,   // onUpdateRoom: code 1 success, 0 failure
        kLogUpload,    // onLogUpload: code 1 success, 0 failure
    };
    Kind kind = Kind::kError;
    std::string api;
    std::string text;
    int32_t code = 0;
};

#define KESTRUM_SETTINGS_MESSAGES(X) \
    X(WM_SETTINGS_OBSERVER_EVENT, WM_APP + 0x110, ObserverEventPayload)

enum SettingsMessage : UINT { KESTRUM_SETTINGS_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_SETTINGS_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// Frees the payload of a settings message; other messages and null payloads are ignored. Any
// thread.
void FreeSettingsPayload(UINT message, WPARAM payload);
