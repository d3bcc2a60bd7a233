#pragma once

#include "kestrum/common/singleton.h"
#include "service_request.h"

namespace kestrum::service {

// account/portrait download: fetches a user's portrait into a file. The body of each attempt is
// gathered whole, up to kMaxPortraitBytes (a longer one is refused as it arrives); only a
// complete HTTP 200 answer that is a PNG or JPEG picture replaces the target file (written beside
// it, then renamed), so a refused, failed or repeated attempt never leaves a corrupt, doubled or
// foreign file, and the old file stays. The target path is UTF-8 (file_path.h).
// Request on any thread; the rest runs on the worker.
class CKestrumUserGetPhoto : public CSingleton<CKestrumUserGetPhoto>, public CServiceRequest {
public:
    CKestrumUserGetPhoto();
    HANDLE Request(Observer* observer, const std::string& uid, const std::string& portraitId,
                   const std::string& filePath);

    // True when the bytes begin as a PNG file (its 8-byte signature) or a JPEG file (its start
    // of image marker followed by a marker) does. Pure.
    static bool IsPortraitImage(const std::string& bytes);

protected:
    CURLcode SetOptions() override;
    void OnResponse(const std::string& body) override;
    void OnCurlError(const char* text, int code) override;
    void OnProgress(curl_off_t total, curl_off_t received) override;

private:
    void ReportFailure(const std::string& errorMsg, int code);
    [[nodiscard]] bool StoreFile(const std::string& body) const;

    std::string uid_;
    std::string filePath_;
    std::string query_;
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
