#include "kestrum/core/course_messages.h"

KESTRUM_DEFINE_PAYLOAD_FREE(FreeCoursePayload, KESTRUM_COURSE_MESSAGES)
