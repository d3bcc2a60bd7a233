#include "service_request.h"

#include "shared_user_info.h"

namespace kestrum::service {

CServiceRequest::CServiceRequest(const char* api, const std::string& baseUrl,
                                 const std::string& servicePrefix, size_t answerLimit)
    : CProxyPool(baseUrl, servicePrefix, api, answerLimit), api_(api) {}

void CServiceRequest::ReleaseObserver() {
    std::lock_guard<std::recursive_mutex> guard(observerLock_);
    observer_ = nullptr;
}

void CServiceRequest::ReportError(const std::string& errorMsg, int code) {
    Notify([&](Observer* o) { o->onCallBackError(api_, errorMsg.c_str(), code); });
}

void CServiceRequest::OnCurlError(const char* text, int code) { ReportError(text, code); }

void CServiceRequest::OnAnswerTooLarge() {
    OnCurlError(curl_easy_strerror(CURLE_FILESIZE_EXCEEDED), CURLE_FILESIZE_EXCEEDED);
}

void CServiceRequest::OnFinished() {
    Notify([&](Observer* o) {
        o->onHttpRetUpload(api_, LastResult(), static_cast<unsigned>(ElapsedMs()),
                           CurrentUrl().c_str());
    });
}

void CServiceRequest::AddTokenHeader() {
    AddHeader("access_token:" + CSharedUserInfo::Instance().Token());
}

}  // namespace kestrum::service
