#include "meeting/kestrum_meeting_update_room.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingUpdateRoom::CKestrumMeetingUpdateRoom()
    : CJsonRequest(api::kRoomUpdate, MeetingBaseUrl(), kMeetingPrefix, Method::Post, 3) {}

void CKestrumMeetingUpdateRoom::Request(Observer* observer, const std::string& rid,
                                        const std::vector<std::string>& hosts, int initialStatus,
                                        const std::string& topic, const std::string& pwd) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddStringMember("rid", rid);
        body.AddStringMember("topic", topic);
        body.AddStringMember("pwd", pwd);
        body.AddSignedMember("initialStatus", initialStatus);
        body.AddEmptyArray("hosts");
        for (const std::string& host : hosts) body.MemberObject("hosts").AppendString(host);
        SetBody(body);
    });
}

// A successful answer carries nothing more to read.
void CKestrumMeetingUpdateRoom::ReadResponse(jdoc::CJsonDocument& /*doc*/) {
    Notify([](Observer* o) { o->onUpdateRoom(true); });
}

}  // namespace kestrum::service
