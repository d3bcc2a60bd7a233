#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "kestrum/testing/win_wait.h"
#include "network_floors.h"

// The meeting benches' way of running the program's windows on the bench thread, which plays
// the program's UI thread: the thread's messages one at a time until points of a road are
// reached. Threads: the bench thread only.
namespace bench_pump {

// A point on a road, asked about after every message the thread runs; one that is `settled`
// only once the queue is empty as well, so that the windows have painted what led to it. ms is
// the time from the road's start, -1 until it was reached.
struct Milestone {
    std::function<bool()> reached;
    bool settled = false;
    double ms = -1;
};

// Runs the thread's messages one at a time, each through filter first when there is one, until
// every milestone is reached (waiting at most a millisecond while nothing comes); false when one
// was not by the timeout. A road whose messages follow each other closely never leaves the
// queue empty, so the milestones are not only asked about between rounds.
bool Follow(bench_floors::Clock::time_point start, std::vector<Milestone*> milestones,
            const kestrum::testing_support::MessageFilter& filter = nullptr,
            std::chrono::milliseconds timeout = kestrum::testing_support::TestTimeout());

// Runs the messages until done() holds, at most the tests' timeout; false when it did not.
bool Await(std::function<bool()> done,
           const kestrum::testing_support::MessageFilter& filter = nullptr);

// Runs the messages for ms.
void Settle(DWORD ms, const kestrum::testing_support::MessageFilter& filter = nullptr);

// The process's working set and private bytes, in KB; -1 when they cannot be read.
double WorkingSetKb();
double PrivateKb();

}  // namespace bench_pump
