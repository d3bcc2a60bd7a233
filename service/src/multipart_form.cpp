#include "multipart_form.h"

#include <cstdio>
#include <cstring>

#include "file_path.h"

namespace kestrum::service {
namespace {

// What libcurl puts for a file part's name ending (its own table), compared in any case.
const char* ContentTypeFor(const std::string& fileName) {
    static const struct {
        const char* ending;
        const char* type;
    } kTypes[] = {
        {".gif", "image/gif"},       {".jpg", "image/jpeg"},    {".jpeg", "image/jpeg"},
        {".png", "image/png"},       {".svg", "image/svg+xml"}, {".txt", "text/plain"},
        {".htm", "text/html"},       {".html", "text/html"},    {".pdf", "application/pdf"},
        {".xml", "application/xml"},
    };
    for (const auto& entry : kTypes) {
        const size_t length = std::strlen(entry.ending);
        if (fileName.size() >= length &&
            _stricmp(fileName.c_str() + fileName.size() - length, entry.ending) == 0) {
            return entry.type;
        }
    }
    return "application/octet-stream";
}

// The part's data callbacks over the open file, which the part owns (closed by FreePart).
size_t ReadPart(char* buffer, size_t size, size_t count, void* file) {
    FILE* const stream = static_cast<FILE*>(file);
    const size_t read = std::fread(buffer, 1, size * count, stream);
    return read == 0 && std::ferror(stream) ? CURL_READFUNC_ABORT : read;
}

int SeekPart(void* file, curl_off_t offset, int origin) {
    return _fseeki64(static_cast<FILE*>(file), offset, origin) == 0 ? CURL_SEEKFUNC_OK
                                                                    : CURL_SEEKFUNC_FAIL;
}

void FreePart(void* file) { std::fclose(static_cast<FILE*>(file)); }

// The file at the UTF-8 path opened for reading, and its size; null when it cannot be.
FILE* OpenForReading(const std::string& path, curl_off_t& size) {
    std::wstring wide;
    if (!WidePath(path, wide)) return nullptr;
    FILE* file = _wfopen(wide.c_str(), L"rb");
    if (!file) return nullptr;
    if (_fseeki64(file, 0, SEEK_END) == 0) {
        size = _ftelli64(file);
        if (size >= 0 && _fseeki64(file, 0, SEEK_SET) == 0) return file;
    }
    std::fclose(file);
    return nullptr;
}

}  // namespace

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
    const std::string fileName = FileNameOf(path);
    CURLcode code = curl_mime_filename(part, fileName.c_str());
    if (code == CURLE_OK) code = curl_mime_type(part, ContentTypeFor(fileName));
    curl_off_t size = 0;
    FILE* file = code == CURLE_OK ? OpenForReading(path, size) : nullptr;
    if (code == CURLE_OK && !file) code = CURLE_READ_ERROR;
    // From here on the part owns the file, also when the transfer never reads it.
    if (file) code = curl_mime_data_cb(part, size, &ReadPart, &SeekPart, &FreePart, file);
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
