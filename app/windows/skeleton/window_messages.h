#pragma once

#include <windows.h>

#include <cstdint>

#include "kestrum/core/posted_payload.h"
#include "kestrum/records/user_info_record.h"

// Messages the program's windows post to each other, under the ownership rules of
// posted_payload.h (the course bridge's and the engine's come from app/core, the invitation
// answers from the invitation box manager; message_families.h gathers them all).

// What WM_REMOTE_ITEM_MENU carries from a tile to the strip: the tile's participant, whether to
// show the menu (0 hides it) and where, in screen coordinates.
struct RemoteItemMenuBlock {
    UserInfoRecord user;
    uint8_t show = 1;
    POINT at{0, 0};
};

// What WM_SCREENSHARE_CHOSEN carries from the share picker to the in-meeting window: the source
// the user chose to share, or no record at all when the picker asks to be closed.
struct ScreenShareChosen {
    HWND window;
    int32_t width;
    int32_t height;
};

// The one table of the windows' own messages: name, number, what WPARAM carries.
#define KESTRUM_WINDOW_MESSAGES(X)                                                             \
    X(WM_EXCHANGE_BIG, 0x522, UserInfoRecord) /* per-user menu -> in-meeting window, a copy */ \
    X(WM_NICKNAME_UPDATED, 0x523, void)       /* nickname window -> join window */             \
    X(WM_USERLIST_CLOSED, 0x524, void)        /* participants window -> in-meeting window */   \
    X(WM_REMOTE_ITEM_MENU, 0x525, RemoteItemMenuBlock) /* video tile -> tile strip */          \
    X(WM_CHATLIST_CLOSED, 0x526, void)                 /* chat window -> in-meeting window */  \
    X(WM_SCREENSHARE_CHOSEN, 0x527, ScreenShareChosen) /* share picker -> in-meeting window */

enum WindowMessage : UINT { KESTRUM_WINDOW_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_WINDOW_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// The numbers of messages that stay inside one window class, named here so that the check of
// message_families.h sees them beside every other private message; the class gives its message
// the number.
constexpr UINT kNoticeRunTaskNumber = WM_APP + 0x119;     // the notice box, sent
constexpr UINT kSettingsObserverNumber = WM_APP + 0x110;  // the settings windows
constexpr UINT kShareSourceFoundNumber = WM_APP + 0x120;  // the share picker

// Frees the payload of a window message with everything in it; other messages and null payloads
// are ignored. Any thread.
void FreeWindowPayload(UINT message, WPARAM payload);
