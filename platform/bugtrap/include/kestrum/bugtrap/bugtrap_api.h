#pragma once

#include <windows.h>

// The crash handler's entry points as the program calls them (BugTrapU.dll, wide texts,
// exported by plain name). The shipped stand-in only records each call; see bugtrap_journal.h.
//
// Threads: any thread may call any function; calls are serialised inside the library.
// Texts are copied before the call returns; the caller keeps ownership of its buffers.

#ifdef KESTRUM_BUGTRAP_BUILD
#define KESTRUM_BUGTRAP_API __declspec(dllexport)
#else
#define KESTRUM_BUGTRAP_API __declspec(dllimport)
#endif

extern "C" {

KESTRUM_BUGTRAP_API void WINAPI BT_SetAppName(const wchar_t* appName);
KESTRUM_BUGTRAP_API void WINAPI BT_SetFlags(DWORD flags);
KESTRUM_BUGTRAP_API void WINAPI BT_InstallSehFilter();
KESTRUM_BUGTRAP_API void WINAPI BT_SetActivityType(int activityType);
KESTRUM_BUGTRAP_API void WINAPI BT_SetReportFilePath(const wchar_t* folder);
KESTRUM_BUGTRAP_API void WINAPI BT_AddLogFile(const wchar_t* logFile);

}  // extern "C"
