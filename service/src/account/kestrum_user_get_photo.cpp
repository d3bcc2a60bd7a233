#include "account/kestrum_user_get_photo.h"

#include <cstdio>

#include "api_names.h"
#include "debug_log.h"
#include "json_request.h"
#include "kestrum/json/json_document.h"
#include "response_fields.h"
#include "service_endpoints.h"

namespace kestrum::service {

CKestrumUserGetPhoto::CKestrumUserGetPhoto()
    : CServiceRequest(api::kPortrait, AccountBaseUrl(), kAccountPrefix) {}

HANDLE CKestrumUserGetPhoto::Request(Observer* observer, const std::string& uid,
                                     const std::string& portraitId, const std::string& filePath) {
    return Begin(observer, [&] {
        uid_ = uid;
        filePath_ = filePath;
        query_ = EncodedQuery("portraitId", portraitId);
    });
}

CURLcode CKestrumUserGetPhoto::SetOptions() {
    AddTokenHeader();
    CURLcode code = SetTransferBasics(CurrentUrl() + query_, 5);
    if (code == CURLE_OK) code = curl_easy_setopt(EasyHandle(), CURLOPT_HTTPGET, 1L);
    return code;
}

void CKestrumUserGetPhoto::OnProgress(curl_off_t total, curl_off_t received) {
    DebugLog("%s: %f,%f\n", "CKestrumUserGetPhoto::progress_callback", static_cast<double>(total),
             static_cast<double>(received));
}

void CKestrumUserGetPhoto::ReportFailure(const std::string& errorMsg, int code) {
    ReportError(errorMsg, code);
    Notify([&](Observer* o) { o->onGetPhoto(0, uid_.c_str()); });
}

void CKestrumUserGetPhoto::OnCurlError(const char* text, int code) { ReportFailure(text, code); }

bool CKestrumUserGetPhoto::StoreFile(const std::string& body) const {
    const std::string partial = filePath_ + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(body.data(), 1, body.size(), file) == body.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed &&
        MoveFileExA(partial.c_str(), filePath_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    DeleteFileA(partial.c_str());
    return false;
}

void CKestrumUserGetPhoto::OnResponse(const std::string& body) {
    jdoc::CJsonDocument doc(body);
    if (IsRefusal(doc)) {
        ReportFailure(ReadText(doc, "errorMsg"), ReadIntOr(doc, "error", 0));
        return;
    }
    const long status = ResponseStatus();
    if (status != 200) {
        ReportFailure("HTTP status " + std::to_string(status), static_cast<int>(status));
        return;
    }
    if (!StoreFile(body)) {
        ReportFailure("cannot write " + filePath_, 0);
        return;
    }
    Notify([&](Observer* o) { o->onGetPhoto(1, uid_.c_str()); });
}

}  // namespace kestrum::service
