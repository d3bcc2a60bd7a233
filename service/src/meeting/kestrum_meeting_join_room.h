#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/join: joins a room; a successful answer's room id becomes the library's room id (a room id
// too long to keep fails the request instead, CSharedUserInfo). Request on any thread.
class CKestrumMeetingJoinRoom : public CSingleton<CKestrumMeetingJoinRoom>, public CJsonRequest {
public:
    CKestrumMeetingJoinRoom();
    void Request(Observer* observer, const std::string& rid, const std::string& pwd);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
