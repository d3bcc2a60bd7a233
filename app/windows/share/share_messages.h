#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
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
// adds it to the list on its own thread. Ownership as in posted_payload.h: the picker takes it
// with TakePayload<WM_SHARE_SOURCE_FOUND>(wParam) and frees those still queued when it goes.
// A private number of the picker's window class, clear of the framework's own (WM_APP + 1,
// WM_APP + 0x2F1).
#define KESTRUM_SHARE_MESSAGES(X) X(WM_SHARE_SOURCE_FOUND, WM_APP + 0x120, ShareSourceEntry)

enum ShareMessage : UINT { KESTRUM_SHARE_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

KESTRUM_SHARE_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// Frees the payload of a share message; other messages and null payloads are ignored.
void FreeSharePayload(UINT message, WPARAM payload);

// What WM_SCREENSHARE_CHOSEN carries to the in-meeting window when the user starts sharing
// (LPARAM 1): the chosen source. With LPARAM 0 (the picker asks to be closed) WPARAM is 0.
struct ScreenShareChosen {
    HWND window;
    int32_t width;
    int32_t height;
};

// The in-meeting window's side of WM_SCREENSHARE_CHOSEN: the chosen source, owned again, or
// null for a close request. Call it once per message, first thing in the handler, so that no
// path leaks the block.
[[nodiscard]] inline std::unique_ptr<ScreenShareChosen> TakeScreenShareChosen(WPARAM wParam,
                                                                              LPARAM lParam) {
    if (lParam != 1) return nullptr;
    return std::unique_ptr<ScreenShareChosen>(reinterpret_cast<ScreenShareChosen*>(wParam));
}
