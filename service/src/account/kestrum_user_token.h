#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// account/getToken: obtains a token and the user's identity; stores token, portrait id and uid
// library-wide whatever the answer holds, unless one of them is too long to keep
// (CSharedUserInfo): then nothing is stored and the request fails with onCallBackError.
// Threads: Request on any thread.
class CKestrumUserToken : public CSingleton<CKestrumUserToken>, public CJsonRequest {
public:
    CKestrumUserToken();
    void Request(Observer* observer, int device, int channel, const std::string& name,
                 const std::string& photoUrl);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
