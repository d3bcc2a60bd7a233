#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <cstdlib>

// KESTRUM_CHECK(condition) and KESTRUM_CHECK_MSG(condition, message): the project's checks of
// its own contracts (a caller on the wrong thread, a state that cannot happen).
//
// Every build defines NDEBUG, so assert() never fires; these are switched by KESTRUM_CHECKS
// instead, which the builds whose suites catch faults define as 1 for every target. Without it a
// check compiles to nothing and its condition is not evaluated, so a condition must not carry an
// effect the program needs. KESTRUM_CHECK_IS_ON() says which of the two this translation unit got.
//
// A failing check writes "file:line: check failed: condition[: message]" to stderr and to the
// debugger output, then aborts the process: a contract that does not hold is not recovered from.
// Any thread may check; the failure path takes no lock and allocates nothing, so a check may sit
// where the heap or the loader lock is held.

#if defined(KESTRUM_CHECKS) && KESTRUM_CHECKS
#define KESTRUM_CHECK_IS_ON() 1
#else
#define KESTRUM_CHECK_IS_ON() 0
#endif

namespace kestrum::common {

// Reports a failed check and ends the process; called only by the macros below. message may be
// null.
[[noreturn]] inline void CheckFailed(const char* file, int line, const char* condition,
                                     const char* message) {
    char report[1024];
    std::snprintf(report, sizeof(report), "%s:%d: check failed: %s%s%s\n", file, line, condition,
                  message ? ": " : "", message ? message : "");
    std::fputs(report, stderr);
    std::fflush(stderr);
#ifdef _WIN32
    OutputDebugStringA(report);
#endif
    std::abort();
}

}  // namespace kestrum::common

#if KESTRUM_CHECK_IS_ON()
#define KESTRUM_CHECK_MSG(condition, message)                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            ::kestrum::common::CheckFailed(__FILE__, __LINE__, #condition, message); \
        }                                                                            \
    } while (0)
#else
// Still compiled (names stay checked and count as used), never run.
#define KESTRUM_CHECK_MSG(condition, message)                 \
    do {                                                      \
        if (false && (condition)) static_cast<void>(message); \
    } while (0)
#endif

#define KESTRUM_CHECK(condition) KESTRUM_CHECK_MSG(condition, nullptr)
