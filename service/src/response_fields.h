#pragma once

#include <string>
#include <vector>

#include "kestrum/json/json_document.h"
#include "valid_utf8.h"

// How responses are read: lenient, a missing or mistyped member reads as its empty value. Every
// text read here is valid UTF-8, as the library promises its observers: a server's invalid
// sequences are replaced (see ValidUtf8).
namespace kestrum::service {

// A text member (repaired as ValidUtf8); false, text untouched, when absent or not a string.
[[nodiscard]] bool ReadTextMember(const jdoc::CJsonDocument& doc, const char* key,
                                  std::string& text);

// "success" only when it is the literal true or false.
[[nodiscard]] bool ReadSuccess(const jdoc::CJsonDocument& doc, bool& success);

// An integer member (JSON integer only, a double counts as missing): its low 32 bits, signed.
[[nodiscard]] bool ReadInt(const jdoc::CJsonDocument& doc, const char* key, int& value);
int ReadIntOr(const jdoc::CJsonDocument& doc, const char* key, int fallback);

// A text member (repaired as ValidUtf8); "" when absent or not a string.
std::string ReadText(const jdoc::CJsonDocument& doc, const char* key);

// A list of texts (each repaired as ValidUtf8), every element in order; an element that is not
// a string reads as "".
std::vector<std::string> ReadTextList(jdoc::CJsonDocument& doc, const char* key);

// True when the node is an object whose "success" is false (a server's refusal).
bool IsRefusal(const jdoc::CJsonDocument& doc);

// True when the node is an object whose "success" is true; anything else is no success.
bool IsSuccess(const jdoc::CJsonDocument& doc);

}  // namespace kestrum::service
