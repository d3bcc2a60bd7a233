#pragma once

// Debugger-output trace lines of the library (OutputDebugStringA). Any thread.
namespace kestrum::service {

// printf-style; the text is cut to fit a fixed buffer, never overrun.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kestrum::service
