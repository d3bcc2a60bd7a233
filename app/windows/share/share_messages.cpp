#include "app/windows/share/share_messages.h"

KESTRUM_DEFINE_PAYLOAD_FREE(FreeSharePayload, KESTRUM_SHARE_MESSAGES)
