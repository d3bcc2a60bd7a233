#include "app/windows/tiles/tile_messages.h"

void FreeTilePayload(UINT message, WPARAM payload) { FreeWindowPayload(message, payload); }
