#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// v1/config: reads the client configuration (versions and time-outs). Request on any thread.
class CKestrumMeetingConfigRoom : public CSingleton<CKestrumMeetingConfigRoom>,
                                  public CJsonRequest {
public:
    CKestrumMeetingConfigRoom();
    HANDLE Request(Observer* observer);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
