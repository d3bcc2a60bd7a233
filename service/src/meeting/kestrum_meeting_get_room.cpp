#include "meeting/kestrum_meeting_get_room.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingGetRoom::CKestrumMeetingGetRoom()
    : CJsonRequest(api::kRoomInfo, MeetingBaseUrl(), kMeetingPrefix, Method::Get, 3) {}

HANDLE CKestrumMeetingGetRoom::Request(Observer* observer) {
    return Begin(observer, [&] { SetQuery("rid", CSharedUserInfo::Instance().Rid()); });
}

void CKestrumMeetingGetRoom::ReadResponse(jdoc::CJsonDocument& doc) {
    const std::string rid = ReadText(doc, "rid");
    const std::string topic = ReadText(doc, "topic");
    bool hasPwd = false;
    if (JsonNode* node = doc.Node()) {
        const JsonNode* member = json_find_member(node, "hasPwd");
        hasPwd = member && (member->type & JSON_TYPE_MASK) == JSON_TRUE;
    }
    const int initialStatus = ReadIntOr(doc, "initialStatus", 0);
    const std::vector<std::string> hosts = ReadTextList(doc, "hosts");
    const std::vector<std::string> participants = ReadTextList(doc, "participants");
    Notify([&](Observer* o) {
        o->onGetRoom(true, rid.c_str(), topic.c_str(), hasPwd, initialStatus, hosts, participants);
    });
}

}  // namespace kestrum::service
