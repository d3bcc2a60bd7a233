#pragma once

#include "kestrum/engine/call_journal.h"

namespace kestrum::engine {

using kestrum::standin::JournalCall;
using kestrum::standin::JournalText;

// The engine library's journal (KESTRUM_ENGINE_JOURNAL).
kestrum::standin::CallJournal& EngineJournal();

inline void JournalRecord(const std::string& line) { EngineJournal().record(line); }

}  // namespace kestrum::engine
