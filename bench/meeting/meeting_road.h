#pragma once

#include <string>

class ServiceLibrary;
class TestBackend;

namespace bench_peers {
class ChannelRoot;
}

// The program around the in-meeting window for the meeting benches: the join road on the local
// back-end as Alice (road_testing::StartRoad with signalling), a meeting host that sends the
// room's chat through the course bridge as the program's does, and a channel folder of the
// process's own, so that scripted peers reach the stand-in engine. Threads: the bench thread,
// which plays the program's UI thread. One road per bench program.
namespace bench_road {

// Starts the road; the signalling origin, empty when something did not start. realToasts: the
// meeting's toasts show as the program shows them (the framework's toast window), not only
// recorded.
std::string StartProgram(bool realToasts = false);
void StopProgram();

// Valid from a StartProgram that succeeded until StopProgram.
TestBackend& Backend();
ServiceLibrary& Library();
const bench_peers::ChannelRoot& Channels();

// Once the join window has signed in: the room typed into it, the engine's journal emptied;
// false when there was no sign-in.
bool PrepareJoin(const std::wstring& room);
// Leaves the meeting with the leave button and waits for the window to go; true without one.
bool Leave();

}  // namespace bench_road
