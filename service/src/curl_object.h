#pragma once

#include <windows.h>

#include <curl/curl.h>

#include <atomic>
#include <mutex>
#include <string>

namespace kestrum::service {

// Owns one worker thread and its libcurl easy handle and runs the retry loop of one request
// kind: attempts go on until one transfers, fail-over runs out of candidates, or Stop is called.
//
// Threads: Restart and Stop may be called on any thread except the worker itself (a call there
// is refused, see Restart); the virtual steps run on the worker. The members below are touched
// by the worker while it runs and by Restart's prepare step after the previous worker ended.
//
// Stop is cooperative: it raises a flag that the transfer's progress callback sees, so the
// running transfer aborts within about a second (at most the short time-outs), and then waits
// for the worker to end. A request cut off by Stop reports nothing more.
//
// Module lifetime: each worker holds a reference on the module that contains this code and
// drops it as its last act, so the code cannot be unloaded under a running worker.
class CCurlObject {
public:
    CCurlObject();
    // Stops the worker (see Stop).
    virtual ~CCurlObject();

    CCurlObject(const CCurlObject&) = delete;
    CCurlObject& operator=(const CCurlObject&) = delete;

    // Stops the previous worker, runs prepare (to store the new request's arguments) and starts
    // a new worker. Returns the worker's handle, owned by this object until the next
    // Restart/Stop; NULL when no worker was started: thread creation failed, or the caller is the
    // worker itself (a notification may not restart its own request: that would wait on itself).
    template <class Prepare>
    HANDLE Restart(Prepare&& prepare) {
        if (IsWorkerThread()) return RefuseRestartFromWorker();
        std::lock_guard<std::mutex> guard(stopMutex_);
        StopLocked();
        prepare();
        return StartLocked();
    }

    // Asks the worker to stop and waits until it has ended; no-op without a worker. Called on
    // the worker itself it only raises the flag.
    void Stop();

    // True when called on this object's worker thread.
    bool IsWorkerThread() const;

    // True once Stop was asked for the current worker: notifications are suppressed.
    bool StopRequested() const { return stopRequested_.load(); }

protected:
    // The retry loop (on the worker).
    virtual void Run();
    // Sets every libcurl option of one attempt; a result other than CURLE_OK skips the transfer
    // and counts as a failed attempt.
    virtual CURLcode SetOptions() { return CURLE_OK; }
    // Releases a multipart form; attemptPerformed tells whether an attempt (successful or
    // not) just ended, as opposed to the release before the next attempt's options.
    virtual void FreeForm() {}
    // The whole body of an attempt that transferred (any HTTP status), before the next step.
    virtual void OnResponse(const std::string& body) { (void)body; }
    virtual void OnCurlError(const char* text, int code) { (void)text, (void)code; }
    virtual void OnFinished() {}
    virtual void OnFail() {}
    virtual void OnDone() {}
    // After a run cut off by Stop, instead of OnFinished and OnDone.
    virtual void OnStopped() {}
    // Progress of the transfer; the stop check happens after it.
    virtual void OnProgress(curl_off_t total, curl_off_t received) { (void)total, (void)received; }

    // For SetOptions: the attempt's URL (currentUrl, plus a query for some kinds), the time-outs
    // (connect and total, in seconds), the body collector and the progress callback. Returns the
    // first failing option's code.
    CURLcode SetTransferBasics(const std::string& url, long timeoutSeconds);
    // Appends a header line to this attempt's list.
    void AddHeader(const char* line);
    void AddHeader(const std::string& line) { AddHeader(line.c_str()); }
    // HTTP status of the last transfer, 0 when none.
    long ResponseStatus() const;

    CURL* curl = nullptr;
    curl_slist* headers = nullptr;
    CURLcode result = CURLE_OK;
    std::string currentUrl;
    std::string apiPath;
    DWORD elapsedMs = 0;
    std::atomic<bool> running{false};
    bool failover = false;
    bool attemptPerformed = false;

private:
    static DWORD WINAPI thread_start_routine(LPVOID object);
    static size_t write_callback(char* data, size_t size, size_t count, void* object);
    static int xferinfo_callback(void* object, curl_off_t total, curl_off_t received,
                                 curl_off_t, curl_off_t);

    HANDLE RefuseRestartFromWorker();
    HANDLE StartLocked();
    void StopLocked();
    void RunAttempts();
    void FreeAttempt();

    HANDLE worker_ = nullptr;
    std::mutex stopMutex_;
    std::atomic<DWORD> workerId_{0};
    std::atomic<bool> stopRequested_{false};
    std::string body_;
};

}  // namespace kestrum::service
