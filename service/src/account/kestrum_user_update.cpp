#include "account/kestrum_user_update.h"

#include "api_names.h"
#include "response_fields.h"
#include "service_endpoints.h"

namespace kestrum::service {

CKestrumUserUpdate::CKestrumUserUpdate()
    : CJsonRequest(api::kUpdate, AccountBaseUrl(), kAccountPrefix, Method::Post, 3, Token::Send,
                   Answers::Any) {}

void CKestrumUserUpdate::Request(Observer* observer, const std::string& password,
                                 const std::string& name, const std::string& portraitId) {
    Begin(observer, [&] {
        jdoc::CJsonDocument body;
        body.AddStringMember("password", password);
        body.AddStringMember("name", name);
        body.AddStringMember("portraitId", portraitId);
        SetBody(body);
    });
}

void CKestrumUserUpdate::ReadResponse(jdoc::CJsonDocument& doc) {
    bool success = false;
    if (!ReadSuccess(doc, success)) {
        ReportRefusal(doc);
        return;
    }
    Notify([&](Observer* o) { o->onUserUpdate(success); });
}

}  // namespace kestrum::service
