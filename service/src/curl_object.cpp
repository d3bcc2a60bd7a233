#include "curl_object.h"

#include "debug_log.h"
#include "kestrum/common/singleton.h"
#include "tls_peer_check.h"

namespace kestrum::service {
namespace {

// A reference on the module holding this code, taken for a worker's lifetime.
HMODULE PinThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&PinThisModule), &module);
    return module;
}

// Handed to the worker: the object and the module reference it must drop at the end.
struct WorkerStart {
    CCurlObject* object;
    HMODULE module;
};

}  // namespace

CCurlObject::CCurlObject() = default;

CCurlObject::~CCurlObject() {
    // Deleted on the worker itself when the library unloads at the end of the last worker
    // (see thread_start_routine): the run is over, only the handle is left.
    if (IsWorkerThread()) {
        CloseHandle(worker_);
        worker_ = nullptr;
        return;
    }
    Stop();
}

bool CCurlObject::IsWorkerThread() const {
    const DWORD id = workerId_.load();
    return id != 0 && id == GetCurrentThreadId();
}

HANDLE CCurlObject::RefuseRestartFromWorker() {
    DebugLog("%s: refused: a request cannot be started from its own notification\n",
             apiPath.c_str());
    return nullptr;
}

void CCurlObject::Stop() {
    if (IsWorkerThread()) {
        running = false;
        stopRequested_ = true;
        return;
    }
    std::lock_guard<std::mutex> guard(stopMutex_);
    StopLocked();
}

void CCurlObject::StopLocked() {
    running = false;
    stopRequested_ = true;
    if (worker_) {
        // At process exit the worker is already gone and may have left locks taken.
        if (!kestrum::common::IsProcessExiting()) {
            while (WaitForSingleObject(worker_, 3000) == WAIT_TIMEOUT) {
                DebugLog("%s: still waiting for the worker to stop\n", apiPath.c_str());
            }
        }
        CloseHandle(worker_);
        worker_ = nullptr;
        workerId_ = 0;
    }
    elapsedMs = 0;
}

HANDLE CCurlObject::StartLocked() {
    WorkerStart* start = new WorkerStart{this, PinThisModule()};
    stopRequested_ = false;
    running = true;
    DWORD id = 0;
    // Suspended, so that the id is stored before the worker can look at it.
    worker_ = CreateThread(nullptr, 0, &CCurlObject::thread_start_routine, start,
                           CREATE_SUSPENDED, &id);
    if (!worker_) {
        running = false;
        if (start->module) FreeLibrary(start->module);
        delete start;
        return nullptr;
    }
    workerId_ = id;
    ResumeThread(worker_);
    return worker_;
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
    curl_slist_free_all(headers);
    headers = nullptr;
}

void CCurlObject::Run() {
    curl = curl_easy_init();
    if (curl) {
        RunAttempts();
    } else {
        result = CURLE_FAILED_INIT;
    }
    if (stopRequested_) {
        OnStopped();
    } else {
        OnFinished();
        OnDone();
    }
    curl_easy_cleanup(curl);
    curl = nullptr;
}

void CCurlObject::RunAttempts() {
    while (running) {
        const DWORD t0 = GetTickCount();
        body_.clear();
        attemptPerformed = false;
        FreeAttempt();
        result = SetOptions();
        if (result == CURLE_OK) result = curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
        if (result == CURLE_OK) result = curl_easy_perform(curl);
        attemptPerformed = true;
        const DWORD attemptMs = GetTickCount() - t0;
        if (stopRequested_) {
            attemptPerformed = false;
            FreeAttempt();
            return;
        }
        if (result == CURLE_OK) OnResponse(body_);
        if (result != CURLE_OK) {
            elapsedMs = attemptMs;
            OnFail();
            if (!failover || !running) OnCurlError(curl_easy_strerror(result), result);
        }
        FreeAttempt();
        attemptPerformed = false;
        if (result == CURLE_OK || !failover) {
            running = false;
            elapsedMs = attemptMs;
        }
    }
}

CURLcode CCurlObject::SetTransferBasics(const std::string& url, long timeoutSeconds) {
    const CURLcode codes[] = {
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str()),
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds),
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds),
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CCurlObject::write_callback),
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this),
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CCurlObject::xferinfo_callback),
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this),
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L),
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L),
        curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, &VerifyPeerBeforeRequest),
        curl_easy_setopt(curl, CURLOPT_PREREQDATA, curl),
    };
    for (CURLcode code : codes) {
        if (code != CURLE_OK) return code;
    }
    return CURLE_OK;
}

void CCurlObject::AddHeader(const char* line) {
    curl_slist* extended = curl_slist_append(headers, line);
    if (extended) headers = extended;
}

long CCurlObject::ResponseStatus() const {
    long status = 0;
    if (curl && curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) status = 0;
    return status;
}

size_t CCurlObject::write_callback(char* data, size_t size, size_t count, void* object) {
    CCurlObject* self = static_cast<CCurlObject*>(object);
    const size_t bytes = size * count;
    self->body_.append(data, bytes);
    return bytes;
}

int CCurlObject::xferinfo_callback(void* object, curl_off_t total, curl_off_t received,
                                   curl_off_t, curl_off_t) {
    CCurlObject* self = static_cast<CCurlObject*>(object);
    self->OnProgress(total, received);
    return self->stopRequested_ ? 1 : 0;
}

}  // namespace kestrum::service
