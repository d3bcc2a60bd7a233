#pragma once

#include "kestrum/bugtrap/bugtrap_api.h"

// What the stand-in crash handler has been asked to do, for tests: one line per call, such as
// "BT_SetFlags(5)" or "BT_AddLogFile(C:\app\logger\x.log)", in call order. While the environment
// variable KESTRUM_BUGTRAP_JOURNAL names a file, every line is also appended to it (UTF-8,
// CR LF), so that a test can follow a program it started.
//
// Threads: safe on any thread.

extern "C" {

// Copies the journal (lines separated by "\n") into buffer, NUL-terminated and cut to
// capacity characters; returns the journal's full length in characters without the NUL, so a
// result >= capacity means the copy was cut. A null buffer or zero capacity only measures.
KESTRUM_BUGTRAP_API size_t WINAPI KestrumBugTrapJournal(wchar_t* buffer, size_t capacity);

// Forgets every recorded call (the journal file, if any, is left as it is).
KESTRUM_BUGTRAP_API void WINAPI KestrumBugTrapJournalClear();

}  // extern "C"
