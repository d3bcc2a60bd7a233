#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace ksio {

class Client;

// Finishes the closes that nobody waits for. A client handed over with Adopt ends its session at
// once, as far as its owner can tell (its close listener has run, and none of its listeners or
// handlers runs again); what is left is the server's part, the answer to the close, which may
// never come. That part finishes on the client's own network thread, within the short grace that
// SyncClose gives: this object's one thread stops what is still running once that grace is up,
// and joins the network thread and destroys the client as soon as it has ended. Each close ends on
// its own, neither waiting for the others nor making them wait.
//
// Threads: every member may be called from any thread but a network thread of a client handed
// over (Adopt from there would wait for itself and is turned into the client's own destruction).
//
// Ownership: the owner ends the closes with FinishAll (or the destructor) where its program ends.
// While this object's thread runs it holds a reference on the module that contains this code, so
// that a module cannot be unloaded (and this thread joined under the loader lock) before
// FinishAll; FinishAll drops it. At process exit, once the module was told so
// (kestrum::common::MarkProcessExiting), the destructor leaves the threads, which the system has
// already ended, alone.
class ClosingClients {
public:
    ClosingClients() = default;
    ~ClosingClients();

    ClosingClients(const ClosingClients&) = delete;
    ClosingClients& operator=(const ClosingClients&) = delete;

    // Takes the client over and ends its session like Client::Close: returns once the close
    // listener has run (if a session was active), without waiting for the server. From then on
    // none of the client's listeners or handlers runs. Null is ignored.
    void Adopt(std::unique_ptr<Client> client);

    // Waits until every close handed over has finished (each within its grace) and ends this
    // object's thread. Adopt may be called again afterwards.
    void FinishAll();

    // How many closes handed over have not finished yet.
    size_t Pending() const;

private:
    struct Closing {
        std::unique_ptr<Client> client;
        std::thread network;
        std::chrono::steady_clock::time_point deadline;  // the end of its grace
        bool stopped = false;                            // stopped at the deadline
    };

    void StartCloserLocked();
    void RunCloser();
    // Moves out the closes whose network thread has ended, and stops those past their deadline.
    std::vector<Closing> TakeFinishedLocked();
    // The earliest deadline of a close not stopped yet; time_point::max() when there is none.
    std::chrono::steady_clock::time_point NextDeadlineLocked() const;

    // Serialises Adopt against FinishAll: nothing is handed to a closer that is ending.
    std::mutex lifecycle_mutex_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Closing> closings_;
    size_t pending_ = 0;
    bool stopping_ = false;
    std::thread closer_;
    HMODULE module_ = nullptr;
};

}  // namespace ksio
