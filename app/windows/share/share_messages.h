#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/posted_payload.h"

struct ShareSourceRow;

// One shareable source of the picker: the desktop or a top-level window, with its thumbnail
// when one could be written.
// Made by the picker (the snapshot thread posts it, see WM_SHARE_SOURCE_FOUND); the list keeps a
// copy in its row and fills in where it placed it.
struct ShareSourceEntry {
    HWND window = nullptr;
    std::wstring imagePath;  // the thumbnail's PNG, a full path; empty without one
    std::wstring title;
    int32_t width = 0;  // of the source's client area, pixels
    int32_t height = 0;
    ShareSourceRow* row = nullptr;  // set by the list
    int32_t slot = -1;              // 0..2 once placed
};

// The picker's own message: the snapshot thread hands an entry to the picker's window, which
// adds it to the list on its own thread. Ownership as in posted_payload.h: the picker's row
// takes it, and its window frees those still queued when it goes.
#define KESTRUM_SHARE_MESSAGES(X) \
    X(WM_SHARE_SOURCE_FOUND, kShareSourceFoundNumber, ShareSourceEntry)

enum ShareMessage : UINT { KESTRUM_SHARE_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_SHARE_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)
