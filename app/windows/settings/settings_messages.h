#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/posted_payload.h"

// The message that carries a service-library result to a settings window (see
// observer_relay.h), under the ownership rules of posted_payload.h: the window's row takes the
// record, and the window frees those still queued when it goes.

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
    X(WM_SETTINGS_OBSERVER_EVENT, kSettingsObserverNumber, ObserverEventPayload)

enum SettingsMessage : UINT { KESTRUM_SETTINGS_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_SETTINGS_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// Frees the payload of a settings message; other messages and null payloads are ignored. Any
// thread.
void FreeSettingsPayload(UINT message, WPARAM payload);
