#include "json_request.h"

#include "response_fields.h"

namespace kestrum::service {

std::string EncodedQuery(const char* key, const std::string& value) {
    std::string query = std::string("?") + key + "=";
    char* escaped = curl_easy_escape(nullptr, value.data(), static_cast<int>(value.size()));
    if (escaped) {
        query += escaped;
        curl_free(escaped);
    }
    return query;
}

CJsonRequest::CJsonRequest(const char* api, const std::string& baseUrl,
                           const std::string& servicePrefix, Method method, long timeoutSeconds,
                           Token token, Answers answers)
    : CServiceRequest(api, baseUrl, servicePrefix),
      method_(method),
      timeoutSeconds_(timeoutSeconds),
      token_(token),
      answers_(answers) {}

void CJsonRequest::SetQuery(const char* key, const std::string& value) {
    query_ = EncodedQuery(key, value);
}

CURLcode CJsonRequest::SetOptions() {
    AddHeader("Content-Type:application/json;charset=UTF-8");
    if (token_ == Token::Send) AddTokenHeader();
    // The query follows whichever candidate this attempt uses.
    CURLcode code = SetTransferBasics(CurrentUrl() + query_, timeoutSeconds_);
    CURL* const curl = EasyHandle();
    if (code != CURLE_OK || method_ == Method::Get) {
        if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        return code;
    }
    const CURLcode codes[] = {
        curl_easy_setopt(curl, CURLOPT_POST, 1L),
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body_.c_str()),
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body_.size())),
    };
    for (CURLcode c : codes) {
        if (c != CURLE_OK) return c;
    }
    return CURLE_OK;
}

void CJsonRequest::OnResponse(const std::string& body) {
    jdoc::CJsonDocument doc;
    // A body that is not JSON leaves the document empty, which every kind reads as a refusal.
    static_cast<void>(doc.ParseText(body));
    if (answers_ == Answers::Successful && !IsSuccess(doc)) {
        ReportRefusal(doc);
        return;
    }
    ReadResponse(doc);
}

void CJsonRequest::ReportRefusal(const jdoc::CJsonDocument& doc) {
    ReportError(ReadText(doc, "errorMsg"), ReadIntOr(doc, "code", 0));
}

}  // namespace kestrum::service
