#include "meeting/kestrum_meeting_room_ctrl.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingRoomCtrl::CKestrumMeetingRoomCtrl()
    : CJsonRequest(api::kRoomCtrl, MeetingBaseUrl(), kMeetingPrefix, Method::Post, 3) {}

void CKestrumMeetingRoomCtrl::Request(Observer* observer, const std::string& op,
                                      const std::vector<std::string>& targets) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddStringMember("rid", CSharedUserInfo::Instance().Rid());
        body.AddStringMember("op", op);
        body.AddEmptyObject("options");
        body.AddEmptyArray("targets");
        for (const std::string& target : targets) body.MemberObject("targets").AppendString(target);
        SetBody(body);
    });
}

void CKestrumMeetingRoomCtrl::ReadResponse(jdoc::CJsonDocument& doc) {
    const int shareId = ReadIntOr(doc, "shareId", -1);
    const std::string mediaToken = ReadText(doc, "mediaToken");
    Notify([&](Observer* o) { o->onRoomCtrl(true, shareId, mediaToken.c_str()); });
}

}  // namespace kestrum::service
