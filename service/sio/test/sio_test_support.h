#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/sio/client.h"
#include "kestrum/testing/line_recorder.h"

namespace ksio::test {

using namespace std::chrono_literals;

// "http://127.0.0.1:<port>" of the socket.io test server started for this program (CTest fixture;
// the port is read from $KESTRUM_SIO_SERVER_DIR/port). Empty, with the reason printed, when
// the server is not there.
std::string ServerOrigin();

// An origin on which nothing listens.
std::string ClosedOrigin();

// Records what a client reports, in order, as texts:
//   "open", "close:requested" / "close:server" / "close:dropped", "fail", "reconnect:<attempt>",
//   "drop", "event:<name>" for each event watched.
// Listener calls arrive on the network thread; the Wait calls block the test thread. What the
// listeners record is shared with them, so the probe and the client may end in either order.
class Probe {
public:
    explicit Probe(Client& client);

    // Records this event and keeps its arguments.
    void Watch(const std::string& event);

    // Waits until entry has been recorded count times in all; false when it was not by the
    // tests' timeout.
    bool WaitFor(const std::string& entry, int count = 1);
    int Count(const std::string& entry) const;
    std::vector<std::string> Entries() const;
    // Arguments of the nth (from 0) arrival of a watched event; empty if there was none.
    Message::Array Args(const std::string& event, size_t nth = 0) const;
    // The delay announced with each reconnect, in order.
    std::vector<std::chrono::milliseconds> ReconnectDelays() const;
    // The reason given with each fail, in order.
    std::vector<std::string> FailReasons() const;
    // The cause given with each reconnect, in order.
    std::vector<std::string> ReconnectCauses() const;
    // What each drop reported, in order.
    std::vector<std::string> Drops() const;
    // The thread that reported the last close (the client's network thread), kept open while the
    // probe lives; null before any close.
    HANDLE CloseThread() const;

private:
    // The entries, and beside them under mutex what some entries carry (stored before the entry).
    struct Record {
        kestrum::testing_support::LineRecorder entries;
        mutable std::mutex mutex;
        std::map<std::string, std::vector<Message::Array>> args;
        std::vector<std::chrono::milliseconds> delays;
        std::vector<std::string> fail_reasons;
        std::vector<std::string> reconnect_causes;
        std::vector<std::string> drops;
        kestrum::common::ScopedHandle close_thread;
    };

    Client& client_;
    std::shared_ptr<Record> record_ = std::make_shared<Record>();
};

// Policy with short delays so that reconnection tests take fractions of a second.
ReconnectPolicy FastRetries(unsigned max_attempts = 0);

// Asks the server, through a short-lived client of its own, to set a fault switch that affects
// the next connections (refuse-io, refuse-http). True once the server has confirmed.
bool SetServerSwitch(const std::string& name, int64_t count);

}  // namespace ksio::test
