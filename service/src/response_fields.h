#pragma once

#include <string>
#include <vector>

#include "kestrum/json/json_document.h"

// How responses are read: lenient, a missing or mistyped member reads as its empty value.
namespace kestrum::service {

// "success" only when it is the literal true or false.
[[nodiscard]] bool ReadSuccess(const jdoc::CJsonDocument& doc, bool& success);

// An integer member (JSON integer only, a double counts as missing): its low 32 bits, signed.
[[nodiscard]] bool ReadInt(const jdoc::CJsonDocument& doc, const char* key, int& value);
int ReadIntOr(const jdoc::CJsonDocument& doc, const char* key, int fallback);

// A text member; "" when absent or not a string.
std::string ReadText(const jdoc::CJsonDocument& doc, const char* key);

// A list of texts, every element in order; an element that is not a string reads as "".
std::vector<std::string> ReadTextList(jdoc::CJsonDocument& doc, const char* key);

// True when the node is an object whose "success" is false (a server's refusal).
bool IsRefusal(const jdoc::CJsonDocument& doc);

// True when the node is an object whose "success" is true; anything else is no success.
bool IsSuccess(const jdoc::CJsonDocument& doc);

}  // namespace kestrum::service
