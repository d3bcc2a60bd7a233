#pragma once

#include <windows.h>

#include <curl/curl.h>

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <string>
#include <utility>

#include "answer_buffer.h"
#include "answer_limits.h"
#include "kestrum/common/check.h"
#include "kestrum/common/scoped_handle.h"

namespace kestrum::service {

// Runs the retry loop of one request kind on a worker thread with its libcurl easy handle:
// attempts go on until one transfers, fail-over runs out of candidates, or a stop is asked for.
//
// Threads: Restart and StopWithin may be called on any thread except the worker itself (a call
// there is refused, see Restart); the virtual steps run on the worker. The request state (the
// easy handle, the attempt's headers and result, the elapsed time) is private: the derived levels
// reach it only through the narrow protected members below, on the worker while it runs or in
// Restart's prepare step after the previous worker ended.
//
// Stopping is cooperative: it raises a flag that the transfer's progress callback sees, so the
// running transfer aborts within about a second (at most the short time-outs), and then waits
// for the worker to end. A request cut off by a stop reports nothing more. StopTogether stops
// several kinds at once, so that their waits overlap instead of adding up.
//
// Answers: each attempt's body is gathered up to the kind's answer limit and handed whole to
// OnResponse. An answer that would pass the limit stops the transfer there (libcurl refuses an
// announced length beyond it before the body, the collector a longer body as it arrives): the
// attempt's result is then CURLE_FILESIZE_EXCEEDED and OnAnswerTooLarge reports it. Such an
// answer counts as an answer, not as a transfer failure: it ends the request without fail-over,
// as an unreadable answer does. The body's memory is given back after every attempt.
//
// A worker that does not end within kStopWaitMs (stuck in an observer call, say) is never
// terminated: Restart and StopWithin log it and leave it to finish on its own. It keeps the
// sole use of this object's request state (the easy handle, the arguments, the candidates) until
// it ends, so no new request of the kind starts meanwhile (Restart refuses), and its handle stays
// here until a later stop finds it ended. Restart waits that long once per worker: its callers
// are often a window's thread, so once a stop has timed out, later restarts only look whether
// the worker has ended and refuse at once while it runs. The object itself outlives the worker:
// it is deleted only when the module unloads, which the worker's module reference holds off.
//
// Module lifetime: each worker holds a reference on the module that contains this code and
// drops it as its last act, so the code cannot be unloaded under a running worker.
//
// Ownership of the thread: a request kind that is ever started declares a Worker member, last of
// its members (see Worker); Restart and StopWithin act through it.
class CCurlObject {
public:
    // How long a stop waits for the worker before leaving it to finish on its own.
    static constexpr DWORD kStopWaitMs = 3000;

    // apiPath names the kind in the log lines about its worker; answerLimit is the largest body
    // of an answer that the kind reads.
    explicit CCurlObject(std::string apiPath = std::string(),
                         size_t answerLimit = kMaxJsonAnswerBytes);
    virtual ~CCurlObject();

    CCurlObject(const CCurlObject&) = delete;
    CCurlObject& operator=(const CCurlObject&) = delete;

    // Stops the previous worker, runs prepare (to store the new request's arguments) and starts
    // a new worker. Returns the worker's handle, owned by this object until the next Restart or
    // stop; NULL when no worker was started: thread creation failed, the previous worker did not
    // stop within kStopWaitMs or, after such a stop, is still running (this call then does not
    // wait; in both cases prepare does not run: that worker still uses the state), or the caller
    // is the worker itself (a notification may not restart its own request: that would wait on
    // itself). Each refusal is logged.
    template <class Prepare>
    HANDLE Restart(Prepare&& prepare) {
        return AttachedWorker().Restart(std::forward<Prepare>(prepare));
    }

    // Asks the worker to stop and waits at most waitMs for it. True when no worker is left
    // running; false (logged) when it is left to finish on its own, as described above. Called
    // on the worker itself it only raises the flag and returns false.
    [[nodiscard]] bool StopWithin(DWORD waitMs = kStopWaitMs) {
        return AttachedWorker().StopWithin(waitMs);
    }

    // Asks the workers of every kind given (null entries are skipped) to stop, all at once, and
    // then waits for them together, at most waitMs in all. True when none of them is left
    // running; each one left is logged, as by StopWithin. Not on one of those workers.
    [[nodiscard]] static bool StopTogether(std::initializer_list<CCurlObject*> kinds,
                                           DWORD waitMs = kStopWaitMs);

    // True when called on this object's worker thread.
    bool IsWorkerThread() const { return worker_ && worker_->IsCurrent(); }

    // True once a stop was asked for the current worker: notifications are suppressed.
    bool StopRequested() const { return stopRequested_.load(); }

protected:
    // The thread of a request kind: Restart starts it, StopWithin stops it, and it is stopped
    // and waited for, however long that takes (logged every kStopWaitMs), when the Worker goes.
    //
    // The most-derived kind declares it as its last member, `Worker worker_{*this};`. The thread
    // runs the kind's virtual steps on all of its state, the derived kinds' members included (the
    // form being sent, the file being written). A class's members go in the reverse order of
    // their declaration and all of them before its base classes, so a Worker declared last ends
    // the thread before anything the thread uses goes, and no kind writes a destructor for it;
    // owned by a base class, the thread would still run while the derived members were torn
    // down. A final wrapper template over each kind would order it as well, but would rename the
    // type that the library's singleton holders create and trace.
    //
    // Threads: as Restart and StopWithin. Destroyed on its own thread (the library unloading at
    // the end of the last worker) it only closes the handle: the run is over by then.
    class Worker {
    public:
        explicit Worker(CCurlObject& job);
        ~Worker();
        Worker(const Worker&) = delete;
        Worker& operator=(const Worker&) = delete;

        template <class Prepare>
        HANDLE Restart(Prepare&& prepare) {
            if (IsCurrent()) return job_.RefuseRestartFromWorker();
            std::lock_guard<std::mutex> guard(stopMutex_);
            if (!StopLocked(RestartWaitMs())) return job_.RefuseRestartWhileBusy();
            prepare();
            return StartLocked();
        }
        [[nodiscard]] bool StopWithin(DWORD waitMs);
        // Stops and waits until the thread has ended; on the thread itself only raises the flag.
        void Stop();
        bool IsCurrent() const;

    private:
        HANDLE StartLocked();
        // False when the thread is still running after waitMs.
        [[nodiscard]] bool StopLocked(DWORD waitMs);
        [[nodiscard]] bool Ended(DWORD waitMs);
        // A restart waits for the thread once; after a stop timed out it only looks.
        DWORD RestartWaitMs() const { return leftRunning_ ? 0 : kStopWaitMs; }

        CCurlObject& job_;
        kestrum::common::ScopedHandle thread_;
        std::mutex stopMutex_;
        std::atomic<DWORD> threadId_{0};
        // Under stopMutex_: a stop has timed out on thread_, which may still be running.
        bool leftRunning_ = false;
    };

    // The retry loop (on the worker).
    virtual void Run();
    // Sets every libcurl option of one attempt; a result other than CURLE_OK skips the transfer
    // and counts as a failed attempt.
    virtual CURLcode SetOptions() { return CURLE_OK; }
    // Releases the multipart form of an attempt, before the next attempt's options and after
    // each attempt.
    virtual void FreeForm() {}
    // After each attempt that was performed (transferred or not) and not cut off by a stop, once
    // its response and failure steps have run.
    virtual void OnAttemptEnded() {}
    // The whole body of an attempt that transferred (any HTTP status), before the next step.
    virtual void OnResponse(const std::string& body) { (void)body; }
    // Instead of OnResponse, for an answer longer than the kind's limit (LastResult() is then
    // CURLE_FILESIZE_EXCEEDED); the request ends after this attempt.
    virtual void OnAnswerTooLarge() {}
    virtual void OnCurlError(const char* text, int code) { (void)text, (void)code; }
    virtual void OnFinished() {}
    virtual void OnFail() {}
    virtual void OnDone() {}
    // After a run cut off by a stop, instead of OnFinished and OnDone.
    virtual void OnStopped() {}
    // Progress of the transfer; the stop check happens after it.
    virtual void OnProgress(curl_off_t total, curl_off_t received) { (void)total, (void)received; }

    // For SetOptions: the attempt's URL (the current candidate's, plus a query for some kinds),
    // the time-outs (connect and total, in seconds), the header lines added so far, the body
    // collector with the answer limit and the progress callback. Returns the first failing
    // option's code.
    CURLcode SetTransferBasics(const std::string& url, long timeoutSeconds);
    // Appends a header line to this attempt's list.
    void AddHeader(const char* line);
    void AddHeader(const std::string& line) { AddHeader(line.c_str()); }
    // The easy handle, for the kind's own options of an attempt (on the worker, while it runs).
    CURL* EasyHandle() const { return curl_; }
    // The memory held for the answer's body now: none between attempts (for the tests).
    size_t AnswerCapacity() const { return answer_.Capacity(); }
    // HTTP status of the last transfer, 0 when none.
    long ResponseStatus() const;
    // The result of the last attempt: CURLE_OK when it transferred, whatever its HTTP status.
    CURLcode LastResult() const { return result_; }
    // How long the run's last ended attempt took, from its options to its end; each start
    // begins at 0.
    DWORD ElapsedMs() const { return elapsedMs_; }
    // For the fail-over steps (in OnFail): the failed attempt was the last, the run ends.
    void EndRetries() { running_ = false; }
    // A failed attempt is followed by another (as OnFail decides) instead of ending the run;
    // transfer errors are then reported only for the last attempt. Set at construction.
    void EnableFailover() { failover_ = true; }

private:
    static DWORD WINAPI thread_start_routine(LPVOID object);
    static size_t write_callback(char* data, size_t size, size_t count, void* object);
    static int xferinfo_callback(void* object, curl_off_t total, curl_off_t received, curl_off_t,
                                 curl_off_t);

    Worker& AttachedWorker() const {
        KESTRUM_CHECK_MSG(worker_, "the request kind declares no Worker");
        return *worker_;
    }
    HANDLE RefuseRestartFromWorker();
    HANDLE RefuseRestartWhileBusy();
    // Raises the flags the worker checks between attempts and in the progress callback.
    void RequestStop();
    void RunAttempts();
    void FreeAttempt();

    const std::string apiPath_;
    bool failover_ = false;
    // Set by the Worker member for its lifetime.
    Worker* worker_ = nullptr;
    std::atomic<bool> stopRequested_{false};
    // Cleared by a stop, by EndRetries and when an attempt ends the run.
    std::atomic<bool> running_{false};
    // The rest belongs to the current or last run.
    CURL* curl_ = nullptr;
    curl_slist* headers_ = nullptr;
    CURLcode result_ = CURLE_OK;
    DWORD elapsedMs_ = 0;
    AnswerBuffer answer_;
};

}  // namespace kestrum::service
