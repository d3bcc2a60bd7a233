#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/create: creates a room; a successful answer's room id becomes the library's room id. Request on any thread.
class CKestrumMeetingCreateRoom : public CSingleton<CKestrumMeetingCreateRoom>, public CJsonRequest {
public:
    CKestrumMeetingCreateRoom();
    // Stops the worker before the members it uses go.
    ~CKestrumMeetingCreateRoom() override;
    void Request(Observer* observer, const std::string& rid, const std::string& pwd,
                 const std::string& topic, int initialStatus);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;
};

}  // namespace kestrum::service
