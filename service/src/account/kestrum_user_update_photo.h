#pragma once

#include "kestrum/common/singleton.h"
#include "multipart_form.h"
#include "service_request.h"

namespace kestrum::service {

// account/portrait upload: sends an image file (its path UTF-8, see MultipartForm::AddFile) as a
// multipart form and stores the portrait id the service gives it (one too long to keep fails the
// request instead, CSharedUserInfo). Request on any thread; the rest runs on the worker.
class CKestrumUserUpdatePhoto : public CSingleton<CKestrumUserUpdatePhoto>, public CServiceRequest {
public:
    CKestrumUserUpdatePhoto();
    HANDLE Request(Observer* observer, const std::string& filePath);

protected:
    CURLcode SetOptions() override;
    void FreeForm() override;
    void OnResponse(const std::string& body) override;

private:
    std::string filePath_;
    MultipartForm form_;
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
