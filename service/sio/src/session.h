#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>

#include "kestrum/common/thread_affinity.h"
#include "kestrum/sio/reconnect_policy.h"

namespace ksio {

class HandlerTable;
class ListenerSet;
class Outbox;

struct ConnectRequest {
    std::string origin;
    std::map<std::string, std::string> query;
    std::map<std::string, std::string> headers;
    ReconnectPolicy policy;
    std::chrono::milliseconds connect_timeout{20000};
};

// The connection state machine: attempts, Engine.IO handshake and heartbeat, the namespace
// connection, event dispatch and reconnection. Lives on the network thread: every member is
// called there only (the client core posts to it; checked), and every listener and handler is
// invoked from it. A client's later connection may run on another network thread, so the ending
// one calls LeaveNetworkThread. Built on the client's thread before any network thread runs.
// Borrows the io_context, outbox, handlers and listeners, which outlive it.
class Session {
public:
    Session(boost::asio::io_context& io, Outbox& outbox, const HandlerTable& handlers,
            const ListenerSet& listeners);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Begins a session with its first attempt; ignored while one is active.
    void Start(const ConnectRequest& request);
    // One query pair for the active session's next attempts; no-op without one.
    void SetQueryValue(const std::string& key, const std::string& value);
    // Ends the active session on request (close listener with kRequested); no-op otherwise.
    void Close();
    // Sends the waiting emits if the namespace is connected.
    void Drain();
    // Called by the network thread as it ends: the next one to call binds the check to itself.
    void LeaveNetworkThread() { network_thread_.Detach(); }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    kestrum::common::ThreadAffinity network_thread_;
};

}  // namespace ksio
