#include "app/windows/tiles/tile_messages.h"

void FreeTilePayload(UINT message, WPARAM payload) {
    switch (message) {
    case WM_EXCHANGE_BIG:
        return FreePayload<WM_EXCHANGE_BIG>(payload);
    case WM_REMOTE_ITEM_MENU:
        return FreePayload<WM_REMOTE_ITEM_MENU>(payload);
    default:
        return;
    }
}
