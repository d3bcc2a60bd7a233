#include "window_pump.h"

#include <psapi.h>

#include <utility>

namespace bench_pump {

using bench_floors::Clock;
using bench_floors::Milliseconds;

bool Follow(Clock::time_point start, std::vector<Milestone*> milestones,
            const kestrum::testing_support::MessageFilter& filter,
            std::chrono::milliseconds timeout) {
    const auto reachedAll = [&](bool idle) {
        bool all = true;
        for (Milestone* milestone : milestones) {
            if (milestone->ms < 0 && (idle || !milestone->settled) && milestone->reached()) {
                milestone->ms = Milliseconds(Clock::now() - start);
            }
            all = all && milestone->ms >= 0;
        }
        return all;
    };
    const Clock::time_point deadline = Clock::now() + timeout;
    // The step that started the road may have reached them already: the next message could be
    // long work that the road does not wait for.
    if (reachedAll(false)) return true;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!filter || !filter(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (reachedAll(false)) return true;
        }
        if (reachedAll(true)) return true;
        if (Clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

bool Await(std::function<bool()> done, const kestrum::testing_support::MessageFilter& filter) {
    Milestone milestone{std::move(done)};
    return Follow(Clock::now(), {&milestone}, filter);
}

void Settle(DWORD ms, const kestrum::testing_support::MessageFilter& filter) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    Await([end] { return Clock::now() >= end; }, filter);
}

namespace {

bool ReadCounters(PROCESS_MEMORY_COUNTERS& counters) {
    counters = PROCESS_MEMORY_COUNTERS{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) != 0;
}

}  // namespace

double WorkingSetKb() {
    PROCESS_MEMORY_COUNTERS counters;
    if (!ReadCounters(counters)) return -1;
    return static_cast<double>(counters.WorkingSetSize) / 1024;
}

double PrivateKb() {
    PROCESS_MEMORY_COUNTERS counters;
    if (!ReadCounters(counters)) return -1;
    return static_cast<double>(counters.PagefileUsage) / 1024;
}

}  // namespace bench_pump
