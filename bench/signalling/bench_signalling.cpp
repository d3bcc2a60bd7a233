// Receives many small events and times emit->echo round trips with our socket.io client, has the
// back-end run the same with the Node.js client, and prints both with their ratios.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "json_codec.h"
#include "kestrum/sio/client.h"
#include "support/test_backend.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double eventsPerSecond = 0;
    double medianMs = 0;
    double p99Ms = 0;
};

// Counts what the network thread delivers; the bench thread waits on it.
class Counter {
public:
    void Add() {
        std::lock_guard<std::mutex> guard(lock_);
        ++count_;
        changed_.notify_all();
    }
    bool WaitFor(long long count) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(60), [&] { return count_ >= count; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    long long count_ = 0;
};

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool MeasureOurs(const std::string& origin, int events, int roundtrips, Figures& out) {
    ksio::Client client;
    Counter opened, ticks, floods, echoes;
    client.SetOpenListener([&] { opened.Add(); });
    client.DefaultSocket().On("bench-tick", [&](const ksio::Event&) { ticks.Add(); });
    client.DefaultSocket().On("bench-flood-done", [&](const ksio::Event&) { floods.Add(); });
    client.DefaultSocket().On("bench-echo", [&](const ksio::Event&) { echoes.Add(); });
    client.Connect(origin);
    if (!opened.WaitFor(1)) return false;

    const Clock::time_point floodStart = Clock::now();
    client.DefaultSocket().Emit("bench-flood", {ksio::Message::FromInt(events)});
    if (!floods.WaitFor(1) || !ticks.WaitFor(events)) return false;
    out.eventsPerSecond = events / (Milliseconds(Clock::now() - floodStart) / 1000.0);

    std::vector<double> rtts;
    rtts.reserve(static_cast<size_t>(roundtrips));
    for (int i = 0; i < roundtrips; ++i) {
        const Clock::time_point t0 = Clock::now();
        client.DefaultSocket().Emit(
            "bench-echo", {ksio::Message::FromObject({{"seq", ksio::Message::FromInt(i)}})});
        if (!echoes.WaitFor(i + 1)) return false;
        rtts.push_back(Milliseconds(Clock::now() - t0));
    }
    std::sort(rtts.begin(), rtts.end());
    out.medianMs = rtts[rtts.size() / 2];
    out.p99Ms = rtts[std::min(rtts.size() - 1, rtts.size() * 99 / 100)];
    client.SyncClose();
    return true;
}

bool MeasureNode(TestBackend& backend, int events, int roundtrips, Figures& out) {
    backend.Call("POST", "signal/bench-node",
                 "{\"events\":" + std::to_string(events) + ",\"roundtrips\":" +
                     std::to_string(roundtrips) + "}");
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
            out.medianMs = result.Get("medianMs").AsDouble();
            out.p99Ms = result.Get("p99Ms").AsDouble();
            return true;
        }
        Sleep(250);
    }
    return false;
}

void Print(const char* name, const Figures& f) {
    std::printf("%-22s %12.0f events/s   median %7.3f ms   p99 %7.3f ms\n", name,
                f.eventsPerSecond, f.medianMs, f.p99Ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int roundtrips = argc > 2 ? std::atoi(argv[2]) : 10000;
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

    std::printf("%d events, %d round trips against %s\n", events, roundtrips, origin.c_str());
    Figures ours, node;
    if (!MeasureOurs(origin, events, roundtrips, ours)) {
        std::printf("our client did not finish\n");
        return 1;
    }
    Print("ours (ksio, Wine)", ours);
    if (!MeasureNode(backend, events, roundtrips, node)) {
        std::printf("the Node.js client did not finish\n");
        return 1;
    }
    Print("socket.io-client (Node)", node);
    std::printf("ratios ours/node: event rate %.2f (goal >= 1), p99 %.2f (goal <= 1), median %.2f\n",
                ours.eventsPerSecond / node.eventsPerSecond, ours.p99Ms / node.p99Ms,
                ours.medianMs / node.medianMs);
    return 0;
}
