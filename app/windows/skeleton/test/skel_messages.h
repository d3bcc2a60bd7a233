#pragma once

#include <windows.h>

#include <iterator>

#include "app/windows/skeleton/dui_message_map.h"

// A family of test messages, one of each kind of payload, for the skeleton's tests.

// A record that counts its living instances, so that a test sees whether it was freed.
struct SkelNote {
    explicit SkelNote(int value) : value(value) { ++living; }
    SkelNote(const SkelNote&) = delete;
    SkelNote& operator=(const SkelNote&) = delete;
    ~SkelNote() { --living; }

    static inline int living = 0;
    int value;
};

#define KESTRUM_SKEL_MESSAGES(X)               \
    X(WM_SKEL_NOTE, WM_APP + 0x201, SkelNote)  \
    X(WM_SKEL_OTHER, WM_APP + 0x202, SkelNote) \
    X(WM_SKEL_EMPTY, WM_APP + 0x203, void)     \
    X(WM_SKEL_VALUE, WM_APP + 0x204, InWParam<int>)

enum SkelMessage : UINT { KESTRUM_SKEL_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_SKEL_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

inline KESTRUM_DEFINE_PAYLOAD_FREE(FreeSkelPayload, KESTRUM_SKEL_MESSAGES)

#define KESTRUM_SKEL_ID(name, number, Payload) name,
    inline constexpr UINT kSkelIds[] = {KESTRUM_SKEL_MESSAGES(KESTRUM_SKEL_ID)};
#undef KESTRUM_SKEL_ID
inline constexpr MessageFamily kSkelMessages{kSkelIds, std::size(kSkelIds), &FreeSkelPayload};
