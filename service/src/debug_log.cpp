#include "debug_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace kestrum::service {

void DebugLog(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    OutputDebugStringA(line);
}

}  // namespace kestrum::service
