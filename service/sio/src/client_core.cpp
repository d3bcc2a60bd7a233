#include "client_core.h"

#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include <boost/asio/post.hpp>

namespace ksio {
namespace {

// Traces the exception being handled, which a listener or handler let escape.
void TraceEscapedException() {
    std::string line = "socket.io: a listener or handler threw";
    try {
        throw;
    } catch (const std::exception& error) {
        line += ": ";
        line += error.what();
    } catch (...) {
        line += " something other than a std::exception";
    }
    line += "\n";
    OutputDebugStringA(line.c_str());
}

}  // namespace

ClientCore::ClientCore() : session_(io_, outbox, handlers, listeners) {}

ClientCore::~ClientCore() {
    // Reached with the thread joined, or on the detached thread itself (see SyncClose).
    if (thread_.joinable()) thread_.detach();
}

void ClientCore::SetReconnectPolicy(const ReconnectPolicy& policy) {
    std::lock_guard<std::mutex> lock(settings_mutex_);
    policy_ = policy;
}

void ClientCore::SetConnectTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard<std::mutex> lock(settings_mutex_);
    connect_timeout_ = timeout;
}

void ClientCore::Connect(ConnectRequest request) {
    {
        std::lock_guard<std::mutex> lock(settings_mutex_);
        request.policy = policy_;
        request.connect_timeout = connect_timeout_;
    }
    if (OnNetworkThread()) return;  // it would have to wait for itself to finish
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    std::thread previous;
    {
        std::lock_guard<std::mutex> lock(control_mutex_);
        if (work_) return;  // a session is active
        previous = std::move(thread_);
    }
    if (previous.joinable()) Finish(std::move(previous), std::chrono::steady_clock::now());
    std::lock_guard<std::mutex> lock(control_mutex_);
    StartLocked(std::move(request));
}

void ClientCore::StartLocked(ConnectRequest request) {
    io_.restart();
    work_.emplace(io_.get_executor());
    boost::asio::post(io_, [this, request = std::move(request)] { session_.Start(request); });
    {
        std::lock_guard<std::mutex> finished_lock(finished_mutex_);
        finished_ = false;
    }
    thread_ = std::thread([self = shared_from_this()] { self->RunNetworkThread(); });
}

void ClientCore::SetQueryValue(const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(control_mutex_);
    if (!work_) return;  // no session: the next Connect brings the whole query
    boost::asio::post(io_, [this, key, value] { session_.SetQueryValue(key, value); });
}

void ClientCore::Close() {
    std::lock_guard<std::mutex> lock(control_mutex_);
    CloseLocked();
}

void ClientCore::CloseLocked() {
    if (!work_) return;
    boost::asio::post(io_, [this] { session_.Close(); });
    // Without the guard the loop returns once the close handshake and the timers are done.
    work_.reset();
}

void ClientCore::SyncClose() {
    if (OnNetworkThread()) {
        // Called from a listener: the thread cannot wait for itself. It ends on its own and,
        // holding a reference to this core, keeps it alive until then.
        std::lock_guard<std::mutex> lock(control_mutex_);
        CloseLocked();
        if (thread_.joinable()) thread_.detach();
        return;
    }
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    std::thread running;
    {
        std::lock_guard<std::mutex> lock(control_mutex_);
        CloseLocked();
        running = std::move(thread_);
    }
    if (running.joinable()) Finish(std::move(running), std::chrono::steady_clock::now());
}

std::thread ClientCore::EndSession() {
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    std::thread running;
    {
        std::lock_guard<std::mutex> lock(control_mutex_);
        CloseLocked();
        running = std::move(thread_);
        if (!running.joinable()) return running;
        {
            std::lock_guard<std::mutex> finished_lock(finished_mutex_);
            session_ended_ = false;
        }
        // Runs after the session's close, posted before it: the close listener has run then,
        // and a closed session calls nothing any more. A loop that has already run out of work
        // never runs it, but then the thread is finished.
        boost::asio::post(io_, [this] { MarkSessionEnded(); });
    }
    std::unique_lock<std::mutex> lock(finished_mutex_);
    finished_cv_.wait(lock, [this] { return session_ended_ || finished_; });
    return running;
}

void ClientCore::MarkSessionEnded() {
    std::lock_guard<std::mutex> lock(finished_mutex_);
    session_ended_ = true;
    finished_cv_.notify_all();
}

void ClientCore::Finish(std::thread thread, std::chrono::steady_clock::time_point closedAt) {
    std::unique_lock<std::mutex> lock(finished_mutex_);
    if (!finished_cv_.wait_until(lock, closedAt + kCloseGrace, [this] { return finished_; })) {
        StopNetworkLoop();  // a peer that never finishes the close handshake; the rest is discarded
    }
    lock.unlock();
    thread.join();
}

bool ClientCore::NetworkThreadFinished() {
    std::lock_guard<std::mutex> lock(finished_mutex_);
    return finished_;
}

void ClientCore::SetFinishedNotice(std::function<void()> notify) {
    std::lock_guard<std::mutex> lock(finished_mutex_);
    finished_notice_ = std::move(notify);
}

bool ClientCore::OnNetworkThread() const {
    return std::this_thread::get_id() == network_thread_id_.load();
}

void ClientCore::ScheduleDrain() {
    // An emit from a handler or listener goes out at once: a post would cost the network thread
    // another pass through its completion port (a Wine server round trip) before the write.
    if (OnNetworkThread()) return session_.Drain();
    boost::asio::post(io_, [this] { session_.Drain(); });
}

void ClientCore::RunNetworkThread() {
    network_thread_id_.store(std::this_thread::get_id());
    for (;;) {
        try {
            io_.run();
            break;
        } catch (...) {
            // The error is the listener's or handler's, and the connection carries on.
            TraceEscapedException();
        }
    }
    session_.LeaveNetworkThread();
    // Thread ids may be reused: a later thread must not pass for this one.
    network_thread_id_.store(std::thread::id());
    std::function<void()> notify;
    {
        std::lock_guard<std::mutex> lock(finished_mutex_);
        finished_ = true;
        finished_cv_.notify_all();
        notify = finished_notice_;
    }
    if (notify) notify();
}

}  // namespace ksio
