#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// account/update: changes the user's password, name and portrait id. Request on any thread.
class CKestrumUserUpdate : public CSingleton<CKestrumUserUpdate>, public CJsonRequest {
public:
    CKestrumUserUpdate();
    void Request(Observer* observer, const std::string& password, const std::string& name,
                 const std::string& portraitId);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
