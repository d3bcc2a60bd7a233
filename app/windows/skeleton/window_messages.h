#pragma once

#include <windows.h>

// Messages the program's windows post to each other (the course bridge's and the engine's come
// from app/core, the invitation answers from the invitation box manager).
enum WindowMessage : UINT {
    WM_EXCHANGE_BIG = 0x522,        // per-user menu -> in-meeting window; heap UserInfoRecord
    WM_NICKNAME_UPDATED = 0x523,    // nickname window -> join window
    WM_USERLIST_CLOSED = 0x524,     // participants window -> in-meeting window
    WM_REMOTE_ITEM_MENU = 0x525,    // video tile -> tile strip; heap record + show flag, point
    WM_CHATLIST_CLOSED = 0x526,     // chat window -> in-meeting window
    WM_SCREENSHARE_CHOSEN = 0x527,  // share picker -> in-meeting window; heap block or 0
};
