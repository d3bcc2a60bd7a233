#include "feedback/kestrum_log_upload.h"

#include <cstring>

#include "api_names.h"
#include "debug_log.h"
#include "kestrum/json/json_document.h"
#include "response_fields.h"
#include "service_endpoints.h"

namespace kestrum::service {
namespace {

// A text field of the record, which may lack its terminator.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N - 1));
}

}  // namespace

CKestrumLogUpload::CKestrumLogUpload()
    : CServiceRequest(api::kUploadFeedback, FeedbackBaseUrl(), kFeedbackPrefix) {}

std::string CKestrumLogUpload::SignedDecimal(uint32_t value) {
    return std::to_string(static_cast<int32_t>(value));
}

void CKestrumLogUpload::Request(const LogUploadRecord& record) {
    Begin(record.observer, [&] {
        uid_ = record.uid;
        type_ = record.type;
        platform_ = record.platform;
        path_ = FieldText(record.path);
        appVersion_ = FieldText(record.appVersion);
        osVersion_ = FieldText(record.osVersion);
        text_ = FieldText(record.text);
    });
}

CURLcode CKestrumLogUpload::SetOptions() {
    AddHeader("Expect:");
    AddHeader("multipart/form-data");
    CURL* const curl = EasyHandle();
    form_.Reset(curl);
    form_.AddFile("log", path_);
    form_.AddText("filename", "upload");
    form_.AddText("uid", SignedDecimal(uid_));
    form_.AddText("platform", SignedDecimal(static_cast<uint32_t>(platform_)));
    form_.AddText("type", SignedDecimal(static_cast<uint32_t>(type_)));
    form_.AddText("appVersion", appVersion_);
    form_.AddText("osVersion", osVersion_);
    form_.AddText("text", text_);
    if (form_.Status() != CURLE_OK) return form_.Status();
    CURLcode code = SetTransferBasics(CurrentUrl(), 3);
    if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_READFUNCTION, &read_callback);
    if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_READDATA, this);
    if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_MIMEPOST, form_.Handle());
    return code;
}

void CKestrumLogUpload::FreeForm() { form_.Release(); }

void CKestrumLogUpload::OnAttemptEnded() {
    // A transfer cut off after a 200 header is still a failed upload.
    const bool ok = LastResult() == CURLE_OK && ResponseStatus() == 200;
    Notify([&](Observer* o) { o->onLogUpload(ok); });
}

void CKestrumLogUpload::OnResponse(const std::string& body) {
    jdoc::CJsonDocument doc(body);
    ReportError(ReadText(doc, "errorMsg"), ReadIntOr(doc, "code", 0));
}

// The form's parts draw their data themselves; this only traces that it was asked.
size_t CKestrumLogUpload::read_callback(char*, size_t size, size_t count, void*) {
    DebugLog("%s: %f,%f\n", "CKestrumLogUpload::read_callback", static_cast<double>(size),
             static_cast<double>(count));
    return 0;
}

}  // namespace kestrum::service
