// Receives many small events and times emit->echo round trips with our socket.io client, has the
// back-end run the same with the Node.js client, and prints both with their ratios against their
// goals; when a goal is missed, where our round trip spends its time, hop by hop, and what Wine
// charges for the same wake-ups and socket calls with no socket.io in the way.

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "hop_trace.h"
#include "json_codec.h"
#include "kestrum/sio/client.h"
#include "support/test_backend.h"

namespace {

struct Figures {
    double cpuUsPerEvent = 0;  // this process's CPU time over the flood, per event (ours only)
    double eventsPerRead = 0;  // events the flood brought per socket read
    double eventsPerSecond = 0;
    double medianMs = 0;
    double p99Ms = 0;
};

struct Spread {
    double median = 0;
    double p99 = 0;
};

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2],
            values[std::min(values.size() - 1, values.size() * 99 / 100)]};
}

// CPU time this process has used so far, in microseconds.
double ProcessCpuUs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 10.0;
}

// QueryPerformanceCounter ticks: what the hop observer can afford to take on the network thread.
int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksToMs(int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return 1000.0 * static_cast<double>(ticks) / frequency;
}

// Counts what the network thread delivers; the bench thread waits on it. The wait is on the
// counter's address, which Wine serves with a futex: a condition variable of the C++ runtime waits
// on a semaphore, and under Wine each wake-up through it is a Wine server round trip that would
// be counted as the client's.
class Counter {
public:
    // Counts without waking: for a count nobody waits on, as the Node.js client's tick counter.
    void Bump() { count_.fetch_add(1, std::memory_order_relaxed); }
    long Count() const { return count_.load(); }
    void Add() {
        count_.fetch_add(1);
        WakeByAddressAll(&count_);
    }
    bool WaitFor(long count) {
        const ULONGLONG deadline = GetTickCount64() + 60000;
        for (;;) {
            long seen = count_.load();
            if (seen >= count) return true;
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return false;
            WaitOnAddress(&count_, &seen, sizeof seen, static_cast<DWORD>(deadline - now));
        }
    }

private:
    std::atomic<long> count_{0};
};

// ---- hop timestamps of the round trip under way

constexpr int kHopCount = static_cast<int>(ksio::Hop::kCount);
std::atomic<int64_t> g_hops[kHopCount];
std::atomic<long> g_hopCounts[kHopCount];

void RecordHop(ksio::Hop hop) { g_hops[static_cast<int>(hop)].store(Ticks()); }

void CountHop(ksio::Hop hop) {
    g_hopCounts[static_cast<int>(hop)].fetch_add(1, std::memory_order_relaxed);
}

long HopCount(ksio::Hop hop) { return g_hopCounts[static_cast<int>(hop)].exchange(0); }

int64_t HopAt(ksio::Hop hop) { return g_hops[static_cast<int>(hop)].load(); }

// One round trip from a caller's thread, cut at the hops.
struct Legs {
    double emit;     // Emit: encode, queue, wake the network thread
    double wake;     // until the network thread starts sending
    double queue;    // framing and writing it to the socket
    double wire;     // the write's completion, the server's echo, socket read, frame parse
    double decode;   // Engine.IO and Socket.IO decoding, handler lookup
    double handoff;  // the handler's notify until the waiting thread runs again
};

const char* const kLegNames[] = {
    "Emit call (encode, queue, wake)", "network thread wakes",
    "frame written to the socket",     "write, server, read, frame parse",
    "packet decode, handler lookup",   "handler to the waiting thread"};

void PrintLegs(const std::vector<Legs>& legs) {
    std::printf("  hops of the caller-thread round trip (median / p99 ms):\n");
    double Legs::*const fields[] = {&Legs::emit, &Legs::wake,   &Legs::queue,
                                    &Legs::wire, &Legs::decode, &Legs::handoff};
    for (size_t f = 0; f < sizeof fields / sizeof fields[0]; ++f) {
        std::vector<double> values;
        values.reserve(legs.size());
        for (const Legs& leg : legs) values.push_back(leg.*fields[f]);
        const Spread spread = SpreadOf(values);
        std::printf("    %-34s %8.3f / %8.3f\n", kLegNames[f], spread.median, spread.p99);
    }
}

// ---- what Wine itself charges, with no socket.io in the way

constexpr int kFloorTrips = 5000;

// Times kFloorTrips ping-pongs: `ping` hands one to the echoing thread, `pong` waits for its echo.
template <typename Ping, typename Pong>
Spread TimePingPong(Ping ping, Pong pong) {
    std::vector<double> rtts;
    rtts.reserve(kFloorTrips);
    for (int i = 0; i < kFloorTrips; ++i) {
        const int64_t t0 = Ticks();
        ping();
        pong();
        rtts.push_back(TicksToMs(Ticks() - t0));
    }
    return SpreadOf(rtts);
}

// Two threads waking each other through completion ports: each way is the wake-up an emit from
// the caller's thread costs the network thread.
Spread PortPingPong() {
    HANDLE there = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    HANDLE back = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    const auto take = [](HANDLE port) {
        DWORD bytes;
        ULONG_PTR key;
        OVERLAPPED* overlapped;
        GetQueuedCompletionStatus(port, &bytes, &key, &overlapped, INFINITE);
        return key;
    };
    std::thread echo([&] {
        while (take(there) != 0) PostQueuedCompletionStatus(back, 0, 1, nullptr);
    });
    const Spread spread = TimePingPong([&] { PostQueuedCompletionStatus(there, 0, 1, nullptr); },
                                       [&] { take(back); });
    PostQueuedCompletionStatus(there, 0, 0, nullptr);
    echo.join();
    CloseHandle(there);
    CloseHandle(back);
    return spread;
}

// Two threads of this process echoing 64 bytes over loopback TCP with blocking send and recv:
// each way is one send, the kernel's delivery and one receive's wake-up under Wine, both ends
// paying what our client pays once per round trip.
bool TcpPingPong(Spread& out) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    SOCKET client = INVALID_SOCKET, server = INVALID_SOCKET;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        listen(listener, 1) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            server = accept(listener, nullptr, nullptr);
        }
    }
    closesocket(listener);
    const bool connected = server != INVALID_SOCKET;
    if (connected) {
        const BOOL on = TRUE;
        for (SOCKET s : {client, server}) {
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        }
        // Whole 64-byte messages: on loopback a recv of this size returns them whole.
        char buffer[64] = {};
        std::thread echo([server] {
            char echoed[sizeof buffer];
            while (recv(server, echoed, sizeof echoed, 0) > 0)
                send(server, echoed, sizeof echoed, 0);
        });
        out = TimePingPong([&] { send(client, buffer, sizeof buffer, 0); },
                           [&] { recv(client, buffer, sizeof buffer, 0); });
        shutdown(client, SD_BOTH);
        echo.join();
    }
    closesocket(client);
    closesocket(server);
    WSACleanup();
    return connected;
}

void PrintFloor() {
    std::printf(
        "  Wine's own round trips between two threads of this process (median / p99 ms):\n");
    const Spread port = PortPingPong();
    std::printf("    %-34s %8.3f / %8.3f\n", "completion port, both ways", port.median, port.p99);
    Spread tcp;
    if (TcpPingPong(tcp)) {
        std::printf("    %-34s %8.3f / %8.3f\n", "loopback TCP send/recv, both ways", tcp.median,
                    tcp.p99);
    }
}

bool Connect(ksio::Client& client, Counter& opened, const std::string& origin) {
    client.SetOpenListener([&] { opened.Add(); });
    client.Connect(origin);
    return opened.WaitFor(1);
}

// Event rate of a flood, then round trips emitted from this thread (as the program's window
// thread does) with each one cut at the hops.
bool MeasureFromCaller(const std::string& origin, int events, int roundtrips, Figures& out,
                       std::vector<Legs>& legs) {
    ksio::Client client;
    Counter opened, ticks, floods, echoes;
    client.DefaultSocket().On("bench-tick", [&](const ksio::Event&) { ticks.Bump(); });
    client.DefaultSocket().On("bench-flood-done", [&](const ksio::Event&) { floods.Add(); });
    client.DefaultSocket().On("bench-echo", [&](const ksio::Event&) { echoes.Add(); });
    if (!Connect(client, opened, origin)) return false;

    HopCount(ksio::Hop::kReadIssued);
    ksio::SetHopObserver(&CountHop);
    const double cpuStart = ProcessCpuUs();
    const int64_t floodStart = Ticks();
    client.DefaultSocket().Emit("bench-flood", {ksio::Message::FromInt(events)});
    // The ticks come before the flood's end, in order.
    if (!floods.WaitFor(1) || ticks.Count() != events) return false;
    out.eventsPerSecond = events / (TicksToMs(Ticks() - floodStart) / 1000.0);
    out.cpuUsPerEvent = (ProcessCpuUs() - cpuStart) / events;
    ksio::SetHopObserver(nullptr);
    out.eventsPerRead =
        events / std::max(1.0, static_cast<double>(HopCount(ksio::Hop::kReadIssued)));

    std::vector<double> rtts;
    rtts.reserve(static_cast<size_t>(roundtrips));
    legs.reserve(static_cast<size_t>(roundtrips));
    ksio::SetHopObserver(&RecordHop);
    for (int i = 0; i < roundtrips; ++i) {
        const int64_t t0 = Ticks();
        client.DefaultSocket().Emit(
            "bench-echo", {ksio::Message::FromObject({{"seq", ksio::Message::FromInt(i)}})});
        const int64_t emitted = Ticks();
        if (!echoes.WaitFor(i + 1)) return false;
        const int64_t woken = Ticks();
        rtts.push_back(TicksToMs(woken - t0));
        using ksio::Hop;
        legs.push_back({TicksToMs(emitted - t0), TicksToMs(HopAt(Hop::kDrainStart) - emitted),
                        TicksToMs(HopAt(Hop::kFrameQueued) - HopAt(Hop::kDrainStart)),
                        TicksToMs(HopAt(Hop::kFrameRead) - HopAt(Hop::kFrameQueued)),
                        TicksToMs(HopAt(Hop::kHandlerCall) - HopAt(Hop::kFrameRead)),
                        TicksToMs(woken - HopAt(Hop::kHandlerCall))});
    }
    ksio::SetHopObserver(nullptr);
    const Spread spread = SpreadOf(rtts);
    out.medianMs = spread.median;
    out.p99Ms = spread.p99;
    client.SyncClose();
    return true;
}

// Round trips chained on the network thread: each echo's handler emits the next one, as the
// Node.js client's loop continues on its one thread when the echo arrives.
bool MeasureChained(const std::string& origin, int roundtrips, Figures& out) {
    ksio::Client client;
    Counter opened, done;
    std::vector<double> rtts;
    rtts.reserve(static_cast<size_t>(roundtrips));
    int64_t sent = 0;
    const auto emitNext = [&] {
        sent = Ticks();
        client.DefaultSocket().Emit(
            "bench-echo",
            {ksio::Message::FromObject(
                {{"seq", ksio::Message::FromInt(static_cast<int64_t>(rtts.size()))}})});
    };
    client.DefaultSocket().On("bench-echo", [&](const ksio::Event&) {
        rtts.push_back(TicksToMs(Ticks() - sent));
        if (static_cast<int>(rtts.size()) < roundtrips) return emitNext();
        done.Add();
    });
    if (!Connect(client, opened, origin)) return false;
    emitNext();
    if (!done.WaitFor(1)) return false;
    client.SyncClose();
    const Spread spread = SpreadOf(rtts);
    out.medianMs = spread.median;
    out.p99Ms = spread.p99;
    return true;
}

bool MeasureNode(TestBackend& backend, int events, int roundtrips, Figures& out) {
    backend.Call("POST", "signal/bench-node",
                 "{\"events\":" + std::to_string(events) +
                     ",\"roundtrips\":" + std::to_string(roundtrips) + "}");
    for (int i = 0; i < 1200; ++i) {
        ksio::Message answer;
        // An answer that is not JSON has no state yet: it is asked for again.
        static_cast<void>(ksio::DecodeJson(backend.Call("GET", "signal/bench-node"), answer));
        const std::string state = answer.Get("state").AsString();
        if (state == "failed") {
            std::printf("node client failed: %s\n", answer.Get("error").AsString().c_str());
            return false;
        }
        if (state == "done") {
            const ksio::Message& result = answer.Get("result");
            out.eventsPerSecond = result.Get("eventsPerSecond").AsDouble();
            out.eventsPerRead = result.Get("eventsPerRead").AsDouble();
            out.medianMs = result.Get("medianMs").AsDouble();
            out.p99Ms = result.Get("p99Ms").AsDouble();
            return true;
        }
        Sleep(250);
    }
    return false;
}

void Print(const char* name, const Figures& f) {
    if (f.eventsPerSecond > 0) {
        std::printf("%-34s %9.0f events/s   median %7.3f ms   p99 %7.3f ms\n", name,
                    f.eventsPerSecond, f.medianMs, f.p99Ms);
    } else {
        std::printf("%-34s %9s            median %7.3f ms   p99 %7.3f ms\n", name, "", f.medianMs,
                    f.p99Ms);
    }
}

constexpr double kRateGoal = 1.0;    // at least this times the Node.js client's event rate
constexpr double kMedianGoal = 2.0;  // at most this times its median round trip
constexpr double kP99Goal = 1.5;     // at most this times its p99 round trip

// Prints one ratio with its goal; true when the goal is met.
bool PrintRatio(const char* name, double ratio, const char* relation, double goal) {
    const bool met = relation[0] == '>' ? ratio >= goal : ratio <= goal;
    std::printf("  %-10s %5.2fx  (goal %s %.1fx: %s)\n", name, ratio, relation, goal,
                met ? "met" : "MISSED");
    return met;
}

// True when every ratio measured for this client meets its goal.
bool PrintRatios(const char* name, const Figures& ours, const Figures& node) {
    std::printf("ratios %s/node:\n", name);
    bool met = true;
    if (ours.eventsPerSecond > 0) {
        met &=
            PrintRatio("event rate", ours.eventsPerSecond / node.eventsPerSecond, ">=", kRateGoal);
    }
    met &= PrintRatio("median", ours.medianMs / node.medianMs, "<=", kMedianGoal);
    met &= PrintRatio("p99", ours.p99Ms / node.p99Ms, "<=", kP99Goal);
    return met;
}

// The median of one figure over the rounds.
Figures MedianOf(const std::vector<Figures>& rounds) {
    std::vector<double> rates, medians, p99s;
    for (const Figures& f : rounds) {
        rates.push_back(f.eventsPerSecond);
        medians.push_back(f.medianMs);
        p99s.push_back(f.p99Ms);
    }
    std::vector<double> cpu, perRead;
    for (const Figures& f : rounds) {
        cpu.push_back(f.cpuUsPerEvent);
        perRead.push_back(f.eventsPerRead);
    }
    return {SpreadOf(cpu).median, SpreadOf(perRead).median, SpreadOf(rates).median,
            SpreadOf(medians).median, SpreadOf(p99s).median};
}

}  // namespace

// Arguments: events per flood, round trips per client and round, rounds. The clients take turns
// within each round, so that a machine busy with other work weighs on all of them alike, and each
// figure is the median over the rounds.
int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int events = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int roundtrips = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    TestBackend backend;
    if (!backend.Started()) {
        std::printf("the back-end did not start\n");
        return 1;
    }
    ksio::Message info;
    if (!ksio::DecodeJson(backend.Call("GET", "info"), info)) {
        std::printf("the back-end's info is not JSON\n");
        return 1;
    }
    const std::string origin = info.Get("signal").AsString();

    std::printf("%d events, %d round trips, %d rounds against %s\n", events, roundtrips, rounds,
                origin.c_str());
    // The server's JIT warms up here rather than during the first client's measurement.
    Figures warmUp;
    std::vector<Legs> legs;
    if (!MeasureFromCaller(origin, events / 5, roundtrips / 10, warmUp, legs)) {
        std::printf("our client did not finish\n");
        return 1;
    }
    legs.clear();
    std::vector<Figures> fromCaller(rounds), chained(rounds), node(rounds);
    for (int r = 0; r < rounds; ++r) {
        if (!MeasureFromCaller(origin, events, roundtrips, fromCaller[r], legs) ||
            !MeasureChained(origin, roundtrips, chained[r])) {
            std::printf("our client did not finish\n");
            return 1;
        }
        if (!MeasureNode(backend, events, roundtrips, node[r])) {
            std::printf("the Node.js client did not finish\n");
            return 1;
        }
        std::printf(
            "round %d: ours %.0f events/s, p99 %.3f / %.3f ms (caller / handler); node "
            "%.0f events/s, p99 %.3f ms\n",
            r + 1, fromCaller[r].eventsPerSecond, fromCaller[r].p99Ms, chained[r].p99Ms,
            node[r].eventsPerSecond, node[r].p99Ms);
    }
    const Figures ours = MedianOf(fromCaller), oursChained = MedianOf(chained),
                  theirs = MedianOf(node);
    std::printf("medians over the rounds:\n");
    Print("ours, emits from the caller thread", ours);
    Print("ours, emits from the echo handler", oursChained);
    Print("socket.io-client (Node)", theirs);
    // The program emits from its window thread: the caller's figures are the ones judged.
    const bool met = PrintRatios("caller", ours, theirs);
    PrintRatios("handler", oursChained, theirs);
    std::printf("goals %s\n", met ? "met" : "MISSED; where our client spends its time:");
    if (met) return 0;
    // A reader that keeps up finds few events waiting at each read; one that falls behind fills
    // its read buffer (some thousand ticks) every time.
    std::printf(
        "  our flood: %.1f events per socket read (Node's: %.1f); %.2f us of CPU per event in this"
        " process (Wine server time not counted) against %.2f us of wall time per event\n",
        ours.eventsPerRead, theirs.eventsPerRead, ours.cpuUsPerEvent, 1e6 / ours.eventsPerSecond);
    PrintLegs(legs);
    PrintFloor();
    return 0;
}
