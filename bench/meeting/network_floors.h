#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/sio/client.h"

class ServiceLibrary;

// The network floors of a road through the program, each measured the plainest way the
// libraries allow, in the calling process and against the same back-end as the road:
//  - one room/join request of the service library, from the call to its result;
//  - a connection of the signalling client, from Connect to the namespace being open;
//  - the signalling round trip: an emit answered by the server, back on the client.
// A signalling probe also notes when each "user-join" that the back-end sends to every socket
// arrives, so that a road waiting for the same event has the moment of its report.
//
// Threads: the bench thread calls everything; the probe's handlers run on the client's network
// thread and only note times.
namespace bench_floors {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d);

// The middle value (the mean of the two middle ones for an even count); -1 for none.
double Median(std::vector<double> values);

// One room/join request of the library, in milliseconds; -1 when it did not answer.
double TimedJoinRequest(ServiceLibrary& library, const std::string& room);

class SignallingProbe {
public:
    SignallingProbe() = default;
    ~SignallingProbe();
    SignallingProbe(const SignallingProbe&) = delete;
    SignallingProbe& operator=(const SignallingProbe&) = delete;

    // Connects to origin; the milliseconds until the namespace was open, -1 when it was not.
    double Connect(const std::string& origin);
    // The median of count emit->answer round trips, in milliseconds; -1 when one got no answer.
    double RoundTrip(int count);
    // When the "user-join" of uid arrived here (waits for it); false when it did not come.
    bool JoinArrival(const std::string& uid, Clock::time_point& at);

private:
    bool Await(const std::function<bool()>& done);

    ksio::Client client_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool open_ = false;
    Clock::time_point openedAt_{};
    int answers_ = 0;
    std::map<std::string, Clock::time_point> joins_;
};

}  // namespace bench_floors
