#pragma once

#include <windows.h>

#include "app/windows/skeleton/window_messages.h"

// Frees the record of WM_EXCHANGE_BIG or WM_REMOTE_ITEM_MENU (window_messages.h has their
// records); other messages are ignored. For the windows that still free by hand.
void FreeTilePayload(UINT message, WPARAM payload);
