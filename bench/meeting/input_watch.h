#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "network_floors.h"

// Whether the window thread answers input while it works: a thread of the watch's own moves the
// mouse over a point of the screen every kPeriodMs (real input, which the thread's queue hands
// out only after the messages posted to it, as Windows does), and the bench thread's pump tells
// the watch about every message it runs. The watch keeps the longest stretch in which the
// thread handled neither input nor paint, and the longest single message with its number.
//
// Threads: construct, read and destroy on the bench thread, which runs the window's messages;
// the injecting thread is the watch's and ends with it.
class InputWatch {
public:
    static constexpr DWORD kPeriodMs = 5;

    // Starts moving the mouse back and forth by a few pixels around at (screen coordinates),
    // which must lie over a window of the bench thread.
    explicit InputWatch(POINT at);
    ~InputWatch();
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    // Runs message and notes what it was and how long it took; always true (the message taken).
    bool Run(MSG& message);

    // The longest stretch without input or paint handled, until now, in milliseconds.
    double LongestGapMs() const;
    // The longest single message and its number.
    double LongestMessageMs() const { return longestMessageMs_; }
    UINT LongestMessage() const { return longestMessage_; }
    // Input and paint messages handled.
    int Answered() const { return answered_; }
    // The messages that took the thread's time, the costliest first: number, count, total ms.
    struct Spent {
        UINT message;
        int count;
        double ms;
    };
    std::vector<Spent> CostliestMessages(size_t count) const;

private:
    void Inject();

    POINT at_;
    std::atomic<bool> stop_{false};
    std::thread injector_;
    bench_floors::Clock::time_point lastAnswer_;
    double longestGapMs_ = 0;
    double longestMessageMs_ = 0;
    UINT longestMessage_ = 0;
    int answered_ = 0;
    std::map<UINT, Spent> spent_;
};
