#include "network_floors.h"

#include <algorithm>

#include "kestrum/testing/wait.h"
#include "support/recording_observer.h"
#include "support/service_library.h"

namespace bench_floors {

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double TimedJoinRequest(ServiceLibrary& library, const std::string& room) {
    RecordingObserver observer;
    const Clock::time_point start = Clock::now();
    library.joinRoom(&observer, room.c_str(), "1.0.0", "win", "");
    const bool answered = observer.WaitFor(1);
    const double ms = Milliseconds(Clock::now() - start);
    // The request's statistics follow its result: the observer must outlive them.
    observer.WaitFinished();
    return answered ? ms : -1;
}

SignallingProbe::~SignallingProbe() { client_.SyncClose(); }

bool SignallingProbe::Await(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, kestrum::testing_support::TestTimeout(), done);
}

double SignallingProbe::Connect(const std::string& origin) {
    client_.SetOpenListener([this] {
        std::lock_guard<std::mutex> guard(lock_);
        open_ = true;
        openedAt_ = Clock::now();
        changed_.notify_all();
    });
    client_.DefaultSocket().On("bench-echo", [this](const ksio::Event&) {
        std::lock_guard<std::mutex> guard(lock_);
        ++answers_;
        changed_.notify_all();
    });
    client_.DefaultSocket().On("user-join", [this](const ksio::Event& event) {
        const Clock::time_point now = Clock::now();
        std::lock_guard<std::mutex> guard(lock_);
        joins_.emplace(event.Arg(0).Get("uid").AsString(), now);
        changed_.notify_all();
    });
    const Clock::time_point start = Clock::now();
    client_.Connect(origin);
    if (!Await([this] { return open_; })) return -1;
    std::lock_guard<std::mutex> guard(lock_);
    return Milliseconds(openedAt_ - start);
}

double SignallingProbe::RoundTrip(int count) {
    std::vector<double> trips;
    for (int i = 0; i < count; ++i) {
        int expected = 0;
        {
            std::lock_guard<std::mutex> guard(lock_);
            expected = answers_ + 1;
        }
        const Clock::time_point start = Clock::now();
        client_.DefaultSocket().Emit(
            "bench-echo", {ksio::Message::FromObject({{"seq", ksio::Message::FromInt(i)}})});
        if (!Await([this, expected] { return answers_ >= expected; })) return -1;
        trips.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(trips);
}

bool SignallingProbe::JoinArrival(const std::string& uid, Clock::time_point& at) {
    if (!Await([this, &uid] { return joins_.count(uid) != 0; })) return false;
    std::lock_guard<std::mutex> guard(lock_);
    at = joins_[uid];
    return true;
}

}  // namespace bench_floors
