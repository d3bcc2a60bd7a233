#include "account/kestrum_user_get_photo.h"

#include "api_names.h"
#include "debug_log.h"
#include "file_path.h"
#include "json_request.h"
#include "kestrum/common/picture_kind.h"
#include "kestrum/common/scoped_handle.h"
#include "kestrum/json/json_document.h"
#include "response_fields.h"
#include "service_endpoints.h"

namespace kestrum::service {
namespace {

// Writes the bytes as the whole file at path (created or emptied).
bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    const kestrum::common::ScopedHandle file(CreateFileW(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // A portrait is below kMaxPortraitBytes: one call writes it.
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

}  // namespace

CKestrumUserGetPhoto::CKestrumUserGetPhoto()
    : CServiceRequest(api::kPortrait, AccountBaseUrl(), kAccountPrefix, kMaxPortraitBytes) {}

bool CKestrumUserGetPhoto::IsPortraitImage(const std::string& bytes) {
    return kestrum::common::IsPngOrJpeg(bytes);
}

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
    std::wstring target;
    if (!WidePath(filePath_, target)) return false;
    const std::wstring partial = target + L".part";
    if (WriteWholeFile(partial, body) &&
        MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    DeleteFileW(partial.c_str());
    return false;
}

void CKestrumUserGetPhoto::OnResponse(const std::string& body) {
    const long status = ResponseStatus();
    // A picture is never a JSON document: it is not parsed.
    const bool picture = IsPortraitImage(body);
    if (!picture) {
        const jdoc::CJsonDocument doc(body);
        if (IsRefusal(doc)) {
            ReportFailure(ReadText(doc, "errorMsg"), ReadIntOr(doc, "error", 0));
            return;
        }
    }
    if (status != 200) {
        ReportFailure("HTTP status " + std::to_string(status), static_cast<int>(status));
        return;
    }
    if (!picture) {
        ReportFailure("the portrait is neither a PNG nor a JPEG picture", 0);
        return;
    }
    if (!StoreFile(body)) {
        ReportFailure("cannot write " + ValidUtf8(filePath_), 0);
        return;
    }
    Notify([&](Observer* o) { o->onGetPhoto(1, uid_.c_str()); });
}

}  // namespace kestrum::service
