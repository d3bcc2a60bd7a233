#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/ctrl: sends a room-control operation for the library's current room. Request on any thread.
class CKestrumMeetingRoomCtrl : public CSingleton<CKestrumMeetingRoomCtrl>, public CJsonRequest {
public:
    CKestrumMeetingRoomCtrl();
    // Stops the worker before the members it uses go.
    ~CKestrumMeetingRoomCtrl() override;
    void Request(Observer* observer, const std::string& op,
                 const std::vector<std::string>& targets);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;
};

}  // namespace kestrum::service
