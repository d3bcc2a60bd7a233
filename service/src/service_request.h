#pragma once

#include <mutex>
#include <string>

#include "kestrum/service/vossary_api.h"
#include "proxy_pool.h"

namespace kestrum::service {

// What every request kind shares: its api text, its observer and the way it is notified, the
// standard failure and end reports, and the start of a new request.
//
// Threads: Begin and ReleaseObserver may be called on any thread. Notify runs on the worker.
// A notification holds the observer lock for the whole observer call, so that once
// ReleaseObserver returns the released observer is never called again; the lock is recursive,
// so an observer may release itself from within its own notification.
class CServiceRequest : public CProxyPool {
public:
    using Observer = ZuvraKestrum::ICallBack::CUserCallBack;

    // api: one of the texts of api_names.h (its address is what release exports compare);
    // answerLimit: as CCurlObject's.
    CServiceRequest(const char* api, const std::string& baseUrl, const std::string& servicePrefix,
                    size_t answerLimit = kMaxJsonAnswerBytes);

    // Forgets the observer; no notification reaches it after this returns.
    void ReleaseObserver();

    const char* Api() const { return api_; }

protected:
    // Stops the previous request of this kind, runs prepare, stores the observer and starts the
    // worker; the result is Restart's.
    template <class Prepare>
    HANDLE Begin(Observer* observer, Prepare&& prepare) {
        return Restart([&] {
            prepare();
            std::lock_guard<std::recursive_mutex> guard(observerLock_);
            observer_ = observer;
        });
    }

    // Calls notify(observer) when an observer is set and the request has not been stopped.
    template <class Call>
    void Notify(Call&& notify) {
        std::lock_guard<std::recursive_mutex> guard(observerLock_);
        if (observer_ && !StopRequested()) notify(observer_);
    }

    // onCallBackError(api, errorMsg, code).
    void ReportError(const std::string& errorMsg, int code);

    // Transfer failure after the last candidate: onCallBackError with libcurl's text.
    void OnCurlError(const char* text, int code) override;
    // An answer beyond the limit: reported through OnCurlError, as the last failed transfer is,
    // with libcurl's text and code for CURLE_FILESIZE_EXCEEDED ("Maximum file size exceeded",
    // 63); only fail-over does not follow.
    void OnAnswerTooLarge() override;
    // onHttpRetUpload(api, result, elapsedMs, currentUrl), once per request.
    void OnFinished() override;

    // The "access_token:" header with the library's current token.
    void AddTokenHeader();

private:
    const char* const api_;
    std::recursive_mutex observerLock_;
    Observer* observer_ = nullptr;
};

}  // namespace kestrum::service
