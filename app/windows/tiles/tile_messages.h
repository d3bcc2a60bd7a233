#pragma once

#include <windows.h>

#include <cstdint>

#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/posted_payload.h"
#include "kestrum/records/user_info_record.h"

// The records of the messages that the tiles and the per-user menu post (posted_payload.h
// gives the ownership rules).

// WM_REMOTE_ITEM_MENU (tile -> strip): the tile's participant and whether to show the menu
// (0 hides it); LPARAM holds the screen point, x in the low and y in the high 16 bits.
struct RemoteItemMenuBlock {
    UserInfoRecord user;
    uint8_t show = 1;
};

template <>
struct MessagePayload<WM_EXCHANGE_BIG> {
    using Type = UserInfoRecord;  // a copy of the menu's participant, for the big view
};
template <>
struct MessagePayload<WM_REMOTE_ITEM_MENU> {
    using Type = RemoteItemMenuBlock;
};

// Frees the record of WM_EXCHANGE_BIG or WM_REMOTE_ITEM_MENU; other messages are ignored.
void FreeTilePayload(UINT message, WPARAM payload);
