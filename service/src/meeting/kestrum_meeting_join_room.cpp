#include "meeting/kestrum_meeting_join_room.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingJoinRoom::CKestrumMeetingJoinRoom()
    : CJsonRequest(api::kRoomJoin, MeetingBaseUrl(), kMeetingPrefix, Method::Post, 3) {}

void CKestrumMeetingJoinRoom::Request(Observer* observer, const std::string& rid,
                                      const std::string& pwd) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddStringMember("rid", rid);
        body.AddStringMember("pwd", pwd);
        SetBody(body);
    });
}

void CKestrumMeetingJoinRoom::ReadResponse(jdoc::CJsonDocument& doc) {
    const std::string rid = ReadText(doc, "rid");
    const std::string topic = ReadText(doc, "topic");
    const int initialStatus = ReadIntOr(doc, "initialStatus", 0);
    const int signalAccount = ReadIntOr(doc, "signalAccount", 0);
    const std::string mediaToken = ReadText(doc, "mediaToken");
    const std::vector<std::string> hosts = ReadTextList(doc, "hosts");
    if (!CSharedUserInfo::Instance().SetRid(rid)) {
        ReportError("the answer's rid is too long", 0);
        return;
    }
    Notify([&](Observer* o) {
        o->onJoinRoom(true, rid.c_str(), topic.c_str(), signalAccount, initialStatus, hosts,
                      mediaToken.c_str());
    });
}

}  // namespace kestrum::service
