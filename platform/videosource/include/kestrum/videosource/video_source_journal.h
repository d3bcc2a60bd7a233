#pragma once

#include <cstddef>

// Test hooks of the stand-in video source, exported by name; the program never calls them.
// The journal holds one line per call in call order, such as "source1.joinChannel(t,room,,7)",
// where the number tells the source objects apart (1 for the first made in the process).
// While the environment variable KESTRUM_VIDEOSOURCE_JOURNAL names a file, each line is also
// appended to it (CR LF). Safe on any thread.

#ifdef ZUVRA_VIDEO_SOURCE_BUILD
#define KESTRUM_VIDEO_SOURCE_HOOK
#else
#define KESTRUM_VIDEO_SOURCE_HOOK __declspec(dllimport)
#endif

extern "C" {

// Copies the journal into buffer, NUL-terminated and cut to capacity bytes; returns its full
// length without the NUL. A null buffer or zero capacity only measures.
KESTRUM_VIDEO_SOURCE_HOOK size_t __cdecl KestrumVideoSourceJournal(char* buffer, size_t capacity);

// Forgets every recorded line.
KESTRUM_VIDEO_SOURCE_HOOK void __cdecl KestrumVideoSourceJournalClear();

// Number of source objects made and not yet released.
KESTRUM_VIDEO_SOURCE_HOOK int __cdecl KestrumVideoSourceLiveCount();

}  // extern "C"
