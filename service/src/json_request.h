#pragma once

#include <string>

#include "kestrum/json/json_document.h"
#include "service_request.h"

namespace kestrum::service {

// A request that sends JSON (POST with a body, or GET with an optional query) and reads a JSON
// answer. Headers, in order: "Content-Type:application/json;charset=UTF-8", then (unless the
// kind goes without) "access_token:" with the library's token at the time of the attempt.
// Threads: as CServiceRequest; body and query are set in Begin's prepare step.
class CJsonRequest : public CServiceRequest {
public:
    enum class Method { Get, Post };
    enum class Token { Send, Omit };
    // Successful: an answer whose "success" is not the literal true is a refusal, reported with
    // ReportRefusal, and ReadResponse sees only the others. Any: ReadResponse sees every answer.
    enum class Answers { Successful, Any };

    CJsonRequest(const char* api, const std::string& baseUrl, const std::string& servicePrefix,
                 Method method, long timeoutSeconds, Token token = Token::Send,
                 Answers answers = Answers::Successful);

protected:
    // Reads a parsed answer (the document is empty when the body was not JSON), as Answers says.
    virtual void ReadResponse(jdoc::CJsonDocument& doc) = 0;

    // onCallBackError with the answer's "errorMsg" and "code" ("" and 0 when missing).
    void ReportRefusal(const jdoc::CJsonDocument& doc);

    // The escaped "?key=value" query appended to every candidate's URL.
    void SetQuery(const char* key, const std::string& value);
    void SetBody(const jdoc::CJsonDocument& body) { body_ = body.ToIndentedText(); }

    CURLcode SetOptions() override;
    void OnResponse(const std::string& body) override;

private:
    const Method method_;
    const long timeoutSeconds_;
    const Token token_;
    const Answers answers_;
    std::string body_;
    std::string query_;
};

// "?key=" + value, the value percent-encoded so that blanks, '&', '#' and UTF-8 survive.
std::string EncodedQuery(const char* key, const std::string& value);

}  // namespace kestrum::service
