#pragma once

#include <cstddef>

// Test hooks of the stand-in engine library, exported by name. The program never calls them.
//
// Journal: one line per call the engine received, such as "engine.joinChannel(tok,room,,42)",
// in call order, texts as the bytes the caller passed. While the environment variable
// KESTRUM_ENGINE_JOURNAL names a file, each line is also appended to it (CR LF), so that a
// test can follow a program it started.
//
// Threads: every hook may be called on any thread.

#ifdef ZUVRA_RTC_BUILD
#define KESTRUM_ENGINE_HOOK
#else
#define KESTRUM_ENGINE_HOOK __declspec(dllimport)
#endif

extern "C" {

// Copies the journal (lines ending in "\n") into buffer, NUL-terminated and cut to capacity
// bytes; returns the journal's full length without the NUL, so a result >= capacity means the
// copy was cut. A null buffer or zero capacity only measures.
KESTRUM_ENGINE_HOOK size_t __cdecl KestrumEngineJournal(char* buffer, size_t capacity);

// Forgets every recorded line (the journal file, if any, is left as it is).
KESTRUM_ENGINE_HOOK void __cdecl KestrumEngineJournalClear();

// Makes the most recently created live engine report an event to its handler, on the calling
// thread, as if from an engine thread. Commands (numbers in decimal):
//   userJoined <uid> <elapsed>          userOffline <uid> <reason>
//   userMuteAudio <uid> <0|1>           userMuteVideo <uid> <0|1>
//   userEnableVideo <uid> <0|1>         userEnableLocalVideo <uid> <0|1>
//   networkQuality <uid> <tx> <rx>      activeSpeaker <uid>
//   error <code> [text]                 lastmileQuality <quality>
// A remote join also adds the user to the volume indications and lets a remote view of that
// uid show its picture; lastmileQuality sets the quality that the probe reports from then on.
// The fake device lists (shared by every engine, read at each enumeration) take
//   addCamera <id> <name...>            addRecordingDevice <id> <name...>
//   resetDevices
// with UTF-8 ids and names (the name is the rest of the line).
// Returns 0 when the event was delivered or the lists changed; -1 for an unknown or malformed
// command, -2 when no engine is live or it has no handler.
KESTRUM_ENGINE_HOOK int __cdecl KestrumEngineInject(const char* command);

}  // extern "C"
