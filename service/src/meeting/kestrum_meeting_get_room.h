#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/info: reads the information of the library's current room (its id taken at the start).
// Request on any thread.
class CKestrumMeetingGetRoom : public CSingleton<CKestrumMeetingGetRoom>, public CJsonRequest {
public:
    CKestrumMeetingGetRoom();
    HANDLE Request(Observer* observer);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
