#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/ctrl: sends a room-control operation for the library's current room. Request on any thread.
class CKestrumMeetingRoomCtrl : public CSingleton<CKestrumMeetingRoomCtrl>, public CJsonRequest {
public:
    CKestrumMeetingRoomCtrl();
    void Request(Observer* observer, const std::string& op,
                 const std::vector<std::string>& targets);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
