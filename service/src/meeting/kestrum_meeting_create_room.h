#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/create: creates a room; a successful answer's room id becomes the library's room id (a
// room id too long to keep fails the request instead, CSharedUserInfo). Request on any thread.
class CKestrumMeetingCreateRoom : public CSingleton<CKestrumMeetingCreateRoom>,
                                  public CJsonRequest {
public:
    CKestrumMeetingCreateRoom();
    void Request(Observer* observer, const std::string& rid, const std::string& pwd,
                 const std::string& topic, int initialStatus);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
