#include "multipart_form.h"

namespace kestrum::service {

void MultipartForm::Reset(CURL* curl) {
    Release();
    mime_ = curl_mime_init(curl);
    status_ = mime_ ? CURLE_OK : CURLE_OUT_OF_MEMORY;
}

curl_mimepart* MultipartForm::AddPart(const char* name) {
    if (!mime_) return nullptr;
    curl_mimepart* part = curl_mime_addpart(mime_);
    if (!part || curl_mime_name(part, name) != CURLE_OK) {
        if (status_ == CURLE_OK) status_ = CURLE_OUT_OF_MEMORY;
        return nullptr;
    }
    return part;
}

CURLcode MultipartForm::AddFile(const char* name, const std::string& path) {
    curl_mimepart* part = AddPart(name);
    if (!part) return status_;
    const CURLcode code = curl_mime_filedata(part, path.c_str());
    if (status_ == CURLE_OK) status_ = code;
    return code;
}

CURLcode MultipartForm::AddText(const char* name, const std::string& value) {
    curl_mimepart* part = AddPart(name);
    if (!part) return status_;
    const CURLcode code = curl_mime_data(part, value.data(), value.size());
    if (status_ == CURLE_OK) status_ = code;
    return code;
}

void MultipartForm::Release() {
    curl_mime_free(mime_);
    mime_ = nullptr;
}

}  // namespace kestrum::service
