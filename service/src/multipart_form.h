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
    // A file part (libcurl picks the file name and content type and reads the file during the
    // transfer). CURLE_READ_ERROR when the file cannot be read.
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
