#include "app/windows/settings/settings_messages.h"

KESTRUM_DEFINE_PAYLOAD_FREE(FreeSettingsPayload, KESTRUM_SETTINGS_MESSAGES)
