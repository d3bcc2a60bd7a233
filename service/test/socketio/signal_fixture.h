#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/sio/client.h"
#include "kestrum/testing/line_recorder.h"
#include "signal_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"

// The signalling part of the test back-end, driven through its control listener (/signal/...).
// Threads: the test thread.
class SignalServer {
public:
    struct Packet {
        std::string uid;  // the sender once authorized, else ""
        std::string event;
        ksio::Message args;  // array
    };

    explicit SignalServer(TestBackend& backend) : backend_(backend) {}

    // "http://127.0.0.1:PORT" of the signalling listener; "" when the back-end did not say.
    std::string Origin();
    void Configure(int pingIntervalMs, int pingTimeoutMs);
    // Every client disconnected; rooms, requests, records and switches cleared.
    void Reset();
    // A fault of lib/signalling.js: drop, restart, refuse, connect-error, malformed, silence.
    void Fault(const std::string& mode, int count = 1, int downMs = 0);
    // Sends event with the arguments (a JSON array text) to the clients authorized as uid.
    // Returns how many connections it reached.
    int Inject(const std::string& event, const std::string& argsJson, const std::string& uid);
    std::vector<Packet> Received();
    // The packets of one event, in order.
    std::vector<Packet> Received(const std::string& event);
    // Received(event) once it holds count packets, or what it holds at the tests' timeout: a
    // client's emit reaches the server after the client already saw its own connection open.
    std::vector<Packet> AwaitReceived(const std::string& event, size_t count);
    // The request URLs of the connections, in order.
    std::vector<std::string> ConnectionUrls();

private:
    ksio::Message Get(const std::string& path);
    TestBackend& backend_;
};

// A second participant, on the socket.io client layer directly: connects to the room with its
// token and records every event it receives. Events arrive on its network thread.
class Peer {
public:
    Peer(const std::string& origin, const std::string& uid, const std::string& room,
         const std::string& token);
    ~Peer();

    // Waits until event has arrived count times (false when it did not by the tests' timeout).
    bool WaitFor(const std::string& event, size_t count = 1);
    // The first argument of the nth arrival of event (Null when none).
    ksio::Message Arg(const std::string& event, size_t nth = 0);
    void Emit(const std::string& event, const std::string& text);
    void Close() { client_.SyncClose(); }

private:
    // Each arrival's event name, and under lock its first argument (stored before the name).
    struct Record {
        kestrum::testing_support::LineRecorder arrivals;
        std::mutex lock;
        std::map<std::string, std::vector<ksio::Message>> events;
    };
    void Watch(const std::string& event);

    std::shared_ptr<Record> record_ = std::make_shared<Record>();
    ksio::Client client_;
};

// One back-end and one loaded library per suite; each test starts with the signalling server
// reset, users Alice (tok-A, 20001) and Bob (tok-B, 20002) known, Alice signed in, and no
// handle. The handle made by Create is destroyed after the test.
class SignalTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    static constexpr const char* kToken = "tok-A";
    static constexpr const char* kUid = "20001";
    static constexpr const char* kPeerToken = "tok-B";
    static constexpr const char* kPeerUid = "20002";
    static constexpr const char* kRoom = "Raum \xC3\xBC \xE4\xBC\x9A";  // "Raum ü 会"

    void SetUp() override;
    void TearDown() override;

    using Handle = ZuvraKestrum::socketio::ISocketIOInterface;
    Handle* Create(ZuvraKestrum::socketio::CSocketIOCallBack* observer);
    void Destroy(Handle* handle);
    // Creates the handle for observer_, connects it to kRoom as Alice and waits for the join.
    void Join();
    std::map<std::string, std::string> Query(const std::string& room = kRoom);

    static TestBackend& Backend() { return *backend_; }
    static ServiceLibrary& Library() { return *library_; }
    static SignalServer& Server() { return *server_; }
    static const std::string& Origin() { return origin_; }

    SignalObserver observer_;
    Handle* handle_ = nullptr;

private:
    static std::unique_ptr<TestBackend> backend_;
    static std::unique_ptr<ServiceLibrary> library_;
    static std::unique_ptr<SignalServer> server_;
    static std::string origin_;
    static decltype(&::createSocketIOHandle) create_;
    static decltype(&::destorySocketIOHandle) destroy_;
};
