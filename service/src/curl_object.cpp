#include "curl_object.h"

#include "debug_log.h"
#include "kestrum/common/module_hold.h"
#include "kestrum/common/singleton.h"
#include "tls_peer_check.h"

namespace kestrum::service {
namespace {

// Handed to the worker: the object and the module reference it must drop at the end.
struct WorkerStart {
    CCurlObject* object;
    HMODULE module;
};

}  // namespace

CCurlObject::CCurlObject(std::string apiPath, size_t answerLimit)
    : apiPath_(std::move(apiPath)), answer_(answerLimit) {}

// The Worker member, declared after every other member, has ended the thread by now.
CCurlObject::~CCurlObject() = default;

HANDLE CCurlObject::RefuseRestartFromWorker() {
    DebugLog("%s: refused: a request cannot be started from its own notification\n",
             apiPath_.c_str());
    return nullptr;
}

HANDLE CCurlObject::RefuseRestartWhileBusy() {
    DebugLog("%s: refused: the previous request's worker is still running\n", apiPath_.c_str());
    return nullptr;
}

void CCurlObject::RequestStop() {
    running_ = false;
    stopRequested_ = true;
}

bool CCurlObject::StopTogether(std::initializer_list<CCurlObject*> kinds, DWORD waitMs) {
    for (CCurlObject* kind : kinds) {
        if (kind) kind->RequestStop();
    }
    const DWORD start = GetTickCount();
    bool stopped = true;
    for (CCurlObject* kind : kinds) {
        if (!kind) continue;
        const DWORD spent = GetTickCount() - start;
        stopped = kind->StopWithin(spent < waitMs ? waitMs - spent : 0) && stopped;
    }
    return stopped;
}

CCurlObject::Worker::Worker(CCurlObject& job) : job_(job) {
    KESTRUM_CHECK_MSG(!job_.worker_, "a request kind declares one Worker");
    job_.worker_ = this;
}

CCurlObject::Worker::~Worker() {
    // On the thread itself (the library unloading at the end of the last worker) this only
    // raises the flag of a run that is over; thread_ closes the handle.
    Stop();
    job_.worker_ = nullptr;
}

bool CCurlObject::Worker::IsCurrent() const {
    const DWORD id = threadId_.load();
    return id != 0 && id == GetCurrentThreadId();
}

bool CCurlObject::Worker::StopWithin(DWORD waitMs) {
    if (IsCurrent()) {
        job_.RequestStop();
        return false;
    }
    std::lock_guard<std::mutex> guard(stopMutex_);
    return StopLocked(waitMs);
}

void CCurlObject::Worker::Stop() {
    if (IsCurrent()) {
        job_.RequestStop();
        return;
    }
    std::lock_guard<std::mutex> guard(stopMutex_);
    while (!StopLocked(kStopWaitMs)) {
        // Each round has logged that the thread is still running.
    }
}

bool CCurlObject::Worker::StopLocked(DWORD waitMs) {
    job_.RequestStop();
    if (thread_) {
        if (!Ended(waitMs)) return false;
        thread_.reset();
        threadId_ = 0;
        leftRunning_ = false;
    }
    job_.elapsedMs_ = 0;
    return true;
}

bool CCurlObject::Worker::Ended(DWORD waitMs) {
    // At process exit the thread is already gone and may have left locks taken.
    if (kestrum::common::IsProcessExiting()) return true;
    if (WaitForSingleObject(thread_.get(), waitMs) != WAIT_TIMEOUT) return true;
    leftRunning_ = true;
    DebugLog("%s: the worker has not stopped within %lu ms; it is left to finish on its own\n",
             job_.apiPath_.c_str(), static_cast<unsigned long>(waitMs));
    return false;
}

HANDLE CCurlObject::Worker::StartLocked() {
    WorkerStart* start = new WorkerStart{&job_, kestrum::common::HoldOwnModule()};
    job_.stopRequested_ = false;
    job_.running_ = true;
    DWORD id = 0;
    // Suspended, so that the id is stored before the thread can look at it.
    thread_.reset(
        CreateThread(nullptr, 0, &CCurlObject::thread_start_routine, start, CREATE_SUSPENDED, &id));
    if (!thread_) {
        job_.running_ = false;
        if (start->module) FreeLibrary(start->module);
        delete start;
        return nullptr;
    }
    threadId_ = id;
    ResumeThread(thread_.get());
    return thread_.get();
}

DWORD WINAPI CCurlObject::thread_start_routine(LPVOID object) {
    WorkerStart* start = static_cast<WorkerStart*>(object);
    const HMODULE module = start->module;
    if (start->object) start->object->Run();
    delete start;
    if (module) FreeLibraryAndExitThread(module, 1);
    return 1;
}

void CCurlObject::FreeAttempt() {
    FreeForm();
    curl_slist_free_all(headers_);
    headers_ = nullptr;
}

void CCurlObject::Run() {
    KESTRUM_CHECK(IsWorkerThread());
    curl_ = curl_easy_init();
    if (curl_) {
        RunAttempts();
    } else {
        result_ = CURLE_FAILED_INIT;
    }
    if (stopRequested_) {
        OnStopped();
    } else {
        OnFinished();
        OnDone();
    }
    curl_easy_cleanup(curl_);
    curl_ = nullptr;
}

void CCurlObject::RunAttempts() {
    while (running_) {
        const DWORD t0 = GetTickCount();
        answer_.Release();
        FreeAttempt();
        result_ = SetOptions();
        if (result_ == CURLE_OK) result_ = curl_easy_setopt(curl_, CURLOPT_TCP_KEEPALIVE, 1L);
        if (result_ == CURLE_OK) result_ = curl_easy_perform(curl_);
        const DWORD attemptMs = GetTickCount() - t0;
        // Whichever check stopped it: libcurl's on the announced length, or the collector's.
        const bool tooLarge = answer_.Overflowed() || result_ == CURLE_FILESIZE_EXCEEDED;
        if (tooLarge) result_ = CURLE_FILESIZE_EXCEEDED;
        if (stopRequested_) {
            answer_.Release();
            FreeAttempt();
            return;
        }
        if (result_ == CURLE_OK) {
            OnResponse(answer_.Text());
        } else if (tooLarge) {
            OnAnswerTooLarge();
        } else {
            elapsedMs_ = attemptMs;
            OnFail();
            if (!failover_ || !running_) OnCurlError(curl_easy_strerror(result_), result_);
        }
        answer_.Release();
        FreeAttempt();
        OnAttemptEnded();
        // An answer, readable or not, ends the request; a failed transfer ends it only when
        // fail-over is off or has run out of candidates.
        if (result_ == CURLE_OK || tooLarge || !failover_) {
            running_ = false;
            elapsedMs_ = attemptMs;
        }
    }
}

CURLcode CCurlObject::SetTransferBasics(const std::string& url, long timeoutSeconds) {
    const CURLcode codes[] = {
        curl_easy_setopt(curl_, CURLOPT_URL, url.c_str()),
        curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, timeoutSeconds),
        curl_easy_setopt(curl_, CURLOPT_TIMEOUT, timeoutSeconds),
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &CCurlObject::write_callback),
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, this),
        curl_easy_setopt(curl_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(answer_.Limit())),
        curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &CCurlObject::xferinfo_callback),
        curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this),
        curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L),
        curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L),
        curl_easy_setopt(curl_, CURLOPT_PREREQFUNCTION, &VerifyPeerBeforeRequest),
        curl_easy_setopt(curl_, CURLOPT_PREREQDATA, curl_),
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers_),
    };
    for (CURLcode code : codes) {
        if (code != CURLE_OK) return code;
    }
    return CURLE_OK;
}

void CCurlObject::AddHeader(const char* line) {
    curl_slist* extended = curl_slist_append(headers_, line);
    if (extended) headers_ = extended;
}

long CCurlObject::ResponseStatus() const {
    long status = 0;
    if (curl_ && curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) status = 0;
    return status;
}

size_t CCurlObject::write_callback(char* data, size_t size, size_t count, void* object) {
    CCurlObject* self = static_cast<CCurlObject*>(object);
    const size_t bytes = size * count;
    // Any other count than bytes makes libcurl end the transfer.
    return self->answer_.Append(data, bytes) ? bytes : 0;
}

int CCurlObject::xferinfo_callback(void* object, curl_off_t total, curl_off_t received, curl_off_t,
                                   curl_off_t) {
    CCurlObject* self = static_cast<CCurlObject*>(object);
    self->OnProgress(total, received);
    return self->stopRequested_ ? 1 : 0;
}

}  // namespace kestrum::service
