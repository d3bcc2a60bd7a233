#pragma once

#include "kestrum/common/singleton.h"
#include "kestrum/service/vossary_api.h"
#include "multipart_form.h"
#include "service_request.h"

namespace kestrum::service {

// feedback/uploadFeedback: sends a log file with a few identifying fields as a multipart form.
// Every attempt ends with onLogUpload(HTTP status is 200); every answer body is handed to
// onCallBackError with its "errorMsg" and "code". Request on any thread; the rest on the worker.
class CKestrumLogUpload : public CSingleton<CKestrumLogUpload>, public CServiceRequest {
public:
    CKestrumLogUpload();
    void Request(const LogUploadRecord& record);

    // The decimal text of a 32-bit field, read as signed ("4294967295" -> "-1").
    static std::string SignedDecimal(uint32_t value);

protected:
    CURLcode SetOptions() override;
    void FreeForm() override;
    // Reports the attempt's upload: onLogUpload(HTTP status is 200).
    void OnAttemptEnded() override;
    void OnResponse(const std::string& body) override;

private:
    static size_t read_callback(char* buffer, size_t size, size_t count, void* object);

    uint32_t uid_ = 0;
    int32_t type_ = 0;
    int32_t platform_ = 0;
    std::string path_;
    std::string appVersion_;
    std::string osVersion_;
    std::string text_;
    MultipartForm form_;
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
