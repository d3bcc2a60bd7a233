#include "kestrum/core/engine_messages.h"

KESTRUM_DEFINE_PAYLOAD_FREE(FreeEngineEventPayload, KESTRUM_ENGINE_MESSAGES)
