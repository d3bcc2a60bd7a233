#include "app/windows/skeleton/window_messages.h"

// Built with the skeleton so that the check of distinct numbers runs in every build.
#include "app/windows/skeleton/message_families.h"

KESTRUM_DEFINE_PAYLOAD_FREE(FreeWindowPayload, KESTRUM_WINDOW_MESSAGES)
