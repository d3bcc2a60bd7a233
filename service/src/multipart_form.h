#pragma once

#include <curl/curl.h>

#include <string>

namespace kestrum::service {

// A multipart form for one attempt, built part by part in wire order. Owned by the request that
// builds it; used on its worker only. Release frees it (also done by the destructor).
class MultipartForm {
public:
    MultipartForm() = default;
    ~MultipartForm() { Release(); }
    MultipartForm(const MultipartForm&) = delete;
    MultipartForm& operator=(const MultipartForm&) = delete;

    // Starts a new, empty form for this transfer handle (releasing any previous one).
    void Reset(CURL* curl);
    // A file part, path in UTF-8 (file_path.h): the file is opened here with the wide calls and
    // read during the transfer; the part carries its name after the last '\' or '/' and the
    // content type libcurl's own file parts would (image/jpeg for ".jpg" and ".jpeg",
    // image/png for ".png" and the like, application/octet-stream otherwise).
    // CURLE_READ_ERROR when the file cannot be opened (or the path is not UTF-8).
    CURLcode AddFile(const char* name, const std::string& path);
    CURLcode AddText(const char* name, const std::string& value);
    // The first error of the adders, CURLE_OK when all went in.
    CURLcode Status() const { return status_; }

    curl_mime* Handle() const { return mime_; }
    void Release();

private:
    curl_mimepart* AddPart(const char* name);

    curl_mime* mime_ = nullptr;
    CURLcode status_ = CURLE_OK;
};

}  // namespace kestrum::service
