#pragma once

#include "json_request.h"
#include "kestrum/common/singleton.h"

namespace kestrum::service {

// room/update: changes a room's topic, password, initial status and hosts. Request on any thread.
class CKestrumMeetingUpdateRoom : public CSingleton<CKestrumMeetingUpdateRoom>,
                                  public CJsonRequest {
public:
    CKestrumMeetingUpdateRoom();
    void Request(Observer* observer, const std::string& rid, const std::vector<std::string>& hosts,
                 int initialStatus, const std::string& topic, const std::string& pwd);

protected:
    void ReadResponse(jdoc::CJsonDocument& doc) override;

private:
    // Last: the thread ends before anything it uses goes (see CCurlObject::Worker).
    Worker worker_{*this};
};

}  // namespace kestrum::service
