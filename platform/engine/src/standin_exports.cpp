// The library's entry points: the engine factory and version (by ordinal) and the test hooks.

#include "engine_journal.h"
#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/engine/zuvra_rtc_engine.h"
#include "standin_engine.h"

using kestrum::engine::JournalCall;
using kestrum::engine::JournalRecord;

namespace kestrum::engine {

kestrum::standin::CallJournal& EngineJournal() {
    // Never freed: calls may come during process exit.
    static auto* journal = new kestrum::standin::CallJournal(L"KESTRUM_ENGINE_JOURNAL");
    return *journal;
}

}  // namespace kestrum::engine

namespace {

constexpr const char* kVersion = "2.4.1.0-standin";
constexpr int kBuild = 4101;

}  // namespace

extern "C" {

zuvra::rtc::IEngine* __cdecl zuvraCreateEngine() {
    auto* engine = new kestrum::engine::StandInEngine;
    kestrum::engine::RegisterEngine(engine);
    return engine;
}

const char* __cdecl zuvraGetVersion(int* build) {
    JournalRecord(JournalCall("getVersion"));
    if (build) *build = kBuild;
    return kVersion;
}

size_t __cdecl KestrumEngineJournal(char* buffer, size_t capacity) {
    return kestrum::engine::EngineJournal().copyTo(buffer, capacity);
}

void __cdecl KestrumEngineJournalClear() { kestrum::engine::EngineJournal().clear(); }

int __cdecl KestrumEngineInject(const char* command) {
    if (!command) return -1;
    return kestrum::engine::InjectIntoNewestEngine(command);
}

}  // extern "C"
