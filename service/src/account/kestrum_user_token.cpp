#include "account/kestrum_user_token.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"
#include "shared_user_info.h"

namespace kestrum::service {

CKestrumUserToken::CKestrumUserToken()
    : CJsonRequest(api::kGetToken, AccountBaseUrl(), kAccountPrefix, Method::Post, 5, Token::Omit,
                   Answers::Any) {}

void CKestrumUserToken::Request(Observer* observer, int device, int channel,
                                const std::string& name, const std::string& photoUrl) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddSignedMember("device", device);
        body.AddSignedMember("channel", channel);
        body.AddStringMember("name", name);
        body.AddStringMember("photoUrl", photoUrl);
        SetBody(body);
    });
}

void CKestrumUserToken::ReadResponse(jdoc::CJsonDocument& doc) {
    bool success = false;
    std::string uid, name, portraitId, token;
    int streamId = 0;
    // Every member is read, present or not: the stored texts take whatever the answer holds.
    const bool hasSuccess = ReadSuccess(doc, success);
    const bool hasUid = ReadTextMember(doc, "uid", uid);
    const bool hasName = ReadTextMember(doc, "name", name);
    const bool hasPortraitId = ReadTextMember(doc, "portraitId", portraitId);
    const bool hasStreamId = ReadInt(doc, "streamId", streamId);
    const bool hasToken = ReadTextMember(doc, "token", token);
    const bool complete =
        hasSuccess && hasUid && hasName && hasPortraitId && hasStreamId && hasToken;
    if (!CSharedUserInfo::Instance().SetFromToken(token, portraitId, uid)) {
        ReportError("the answer's token, uid or portraitId is too long", 0);
        return;
    }
    if (!complete) {
        ReportRefusal(doc);
        return;
    }
    Notify([&](Observer* o) {
        o->onUserToken(success, uid.c_str(), name.c_str(), portraitId.c_str(), streamId,
                       token.c_str());
    });
}

}  // namespace kestrum::service
