#pragma once

#include <string>

#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/videosource/video_source_journal.h"

// The stand-in libraries' journals as text.
inline std::string EngineJournal() {
    const size_t length = KestrumEngineJournal(nullptr, 0);
    std::string text(length + 1, '\0');
    KestrumEngineJournal(&text[0], text.size());
    text.resize(length);
    return text;
}

inline std::string VideoSourceJournal() {
    const size_t length = KestrumVideoSourceJournal(nullptr, 0);
    std::string text(length + 1, '\0');
    KestrumVideoSourceJournal(&text[0], text.size());
    text.resize(length);
    return text;
}
