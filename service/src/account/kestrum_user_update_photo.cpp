#include "account/kestrum_user_update_photo.h"

#include "api_names.h"
#include "kestrum/json/json_document.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumUserUpdatePhoto::CKestrumUserUpdatePhoto()
    : CServiceRequest(api::kPortrait, AccountBaseUrl(), kAccountPrefix) {}

HANDLE CKestrumUserUpdatePhoto::Request(Observer* observer, const std::string& filePath) {
    return Begin(observer, [&] { filePath_ = filePath; });
}

CURLcode CKestrumUserUpdatePhoto::SetOptions() {
    AddHeader("Expect:");
    AddHeader("multipart/form-data");
    AddTokenHeader();
    form_.Reset(EasyHandle());
    form_.AddFile("portrait", filePath_);
    form_.AddText("filename", "upload.jpeg");
    if (form_.Status() != CURLE_OK) return form_.Status();
    CURLcode code = SetTransferBasics(CurrentUrl(), 3);
    if (code == CURLE_OK) code = curl_easy_setopt(EasyHandle(), CURLOPT_MIMEPOST, form_.Handle());
    return code;
}

void CKestrumUserUpdatePhoto::FreeForm() { form_.Release(); }

void CKestrumUserUpdatePhoto::OnResponse(const std::string& body) {
    jdoc::CJsonDocument doc(body);
    std::string portraitId;
    if (!ReadTextMember(doc, "portraitId", portraitId)) {
        ReportError(ReadText(doc, "errorMsg"), ReadIntOr(doc, "code", 0));
        return;
    }
    if (!CSharedUserInfo::Instance().SetPortraitId(portraitId)) {
        ReportError("the answer's portraitId is too long", 0);
        return;
    }
    Notify([&](Observer* o) { o->onUpdatePhoto(portraitId.c_str()); });
}

}  // namespace kestrum::service
