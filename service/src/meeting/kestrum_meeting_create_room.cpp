#include "meeting/kestrum_meeting_create_room.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingCreateRoom::CKestrumMeetingCreateRoom()
    : CJsonRequest(api::kRoomCreate, MeetingBaseUrl(), kMeetingPrefix, Method::Post, 3) {}

void CKestrumMeetingCreateRoom::Request(Observer* observer, const std::string& rid,
                                        const std::string& pwd, const std::string& topic,
                                        int initialStatus) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddStringMember("rid", rid);
        body.AddStringMember("topic", topic);
        body.AddStringMember("pwd", pwd);
        body.AddSignedMember("initialStatus", initialStatus);
        SetBody(body);
    });
}

void CKestrumMeetingCreateRoom::ReadResponse(jdoc::CJsonDocument& doc) {
    const std::string rid = ReadText(doc, "rid");
    const std::string topic = ReadText(doc, "topic");
    const int initialStatus = ReadIntOr(doc, "initialStatus", 0);
    if (!CSharedUserInfo::Instance().SetRid(rid)) {
        ReportError("the answer's rid is too long", 0);
        return;
    }
    Notify([&](Observer* o) { o->onCreateRoom(true, rid.c_str(), topic.c_str(), initialStatus); });
}

}  // namespace kestrum::service
