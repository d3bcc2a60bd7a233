#include "meeting/kestrum_meeting_config_room.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumMeetingConfigRoom::CKestrumMeetingConfigRoom()
    : CJsonRequest(api::kConfig, MeetingBaseUrl(), kMeetingPrefix, Method::Get, 5) {}

HANDLE CKestrumMeetingConfigRoom::Request(Observer* observer) {
    return Begin(observer, [] {});
}

void CKestrumMeetingConfigRoom::ReadResponse(jdoc::CJsonDocument& doc) {
    jdoc::CJsonDocument& windows = doc.MemberObject("platform").MemberObject("windows");
    jdoc::CJsonDocument& minimum = windows.MemberObject("minimum");
    jdoc::CJsonDocument& latest = windows.MemberObject("latest");
    const std::string minimumVersion = ReadText(minimum, "v");
    const std::string minimumUrl = ReadText(minimum, "url");
    const std::string latestVersion = ReadText(latest, "v");
    const std::string latestUrl = ReadText(latest, "url");
    const int maxRequestTimeout = ReadIntOr(doc, "maxRequestTimeout", 0);
    const int unmuteRequestTimeout = ReadIntOr(doc, "unmuteRequestTimeout", 0);
    Notify([&](Observer* o) {
        o->onConfigRoom(true, minimumVersion.c_str(), minimumUrl.c_str(), latestVersion.c_str(),
                        latestUrl.c_str(), maxRequestTimeout, unmuteRequestTimeout);
    });
}

}  // namespace kestrum::service
