#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>

#include "handler_table.h"
#include "listener_set.h"
#include "outbox.h"
#include "session.h"

namespace ksio {

// What a Client owns, shared with its network thread so that a client destroyed on that very
// thread (from a listener) does not pull the state from under it: the thread then finishes alone
// and releases the core last.
class ClientCore : public std::enable_shared_from_this<ClientCore> {
public:
    ClientCore();
    ~ClientCore();

    // Public members are thread-safe on their own; the session is touched on the network thread
    // only.
    ListenerSet listeners;
    HandlerTable handlers;
    Outbox outbox;

    void SetReconnectPolicy(const ReconnectPolicy& policy);
    void SetConnectTimeout(std::chrono::milliseconds timeout);

    // Contracts as Client's.
    void Connect(ConnectRequest request);
    void SetQueryValue(const std::string& key, const std::string& value);
    void Close();
    void SyncClose();
    // Close, then waits until the session has ended on the network thread (its close listener
    // has run), after which no listener or handler is called any more; returns the network
    // thread, still finishing the close, for the caller to Finish. Not on the network thread.
    std::thread EndSession();
    // How long a close lets the session end politely before its network loop is stopped outright.
    static constexpr std::chrono::milliseconds kCloseGrace{2000};

    // Lets the network thread end by itself until the grace after closedAt is up, then stops
    // its loop outright (a peer that never finishes the close handshake), and joins it.
    void Finish(std::thread thread, std::chrono::steady_clock::time_point closedAt);
    // For a watcher of many closes, which joins none of them before it has finished: whether the
    // network thread has finished, and notify to run (on it, as it ends, outside every lock of
    // this core) when it does. Any thread.
    bool NetworkThreadFinished();
    void SetFinishedNotice(std::function<void()> notify);
    // Stops the network loop outright: what is left of the close is discarded. Any thread.
    void StopNetworkLoop() { io_.stop(); }
    bool OnNetworkThread() const;

    // Has the network thread send the outbox if it can: at once when called on it (from a handler
    // or listener), otherwise soon.
    void ScheduleDrain();

private:
    void CloseLocked();
    void StartLocked(ConnectRequest request);
    void RunNetworkThread();
    void MarkSessionEnded();

    // Declared first so that it is destroyed last: the session's sockets and timers belong to it.
    boost::asio::io_context io_;
    Session session_;

    std::mutex settings_mutex_;
    ReconnectPolicy policy_;
    std::chrono::milliseconds connect_timeout_{20000};

    // Serialises the calls that wait for the network thread (Connect, SyncClose). Never taken
    // on the network thread, so a listener that calls Close cannot deadlock against a waiter.
    std::mutex lifecycle_mutex_;
    // Held briefly by everyone, the network thread included.
    std::mutex control_mutex_;
    std::optional<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>> work_;
    std::thread thread_;
    std::atomic<std::thread::id> network_thread_id_{};

    std::mutex finished_mutex_;
    std::condition_variable finished_cv_;
    bool finished_ = true;
    bool session_ended_ = false;  // EndSession's close has run on the network thread
    std::function<void()> finished_notice_;
};

}  // namespace ksio
