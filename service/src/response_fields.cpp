#include "response_fields.h"

#include <cstdint>

namespace kestrum::service {
namespace {

JsonNode* Member(const jdoc::CJsonDocument& doc, const char* key) {
    JsonNode* node = doc.Node();
    if (!node || (node->type & JSON_TYPE_MASK) != JSON_OBJECT) return nullptr;
    return json_find_member(node, key);
}

int32_t TypeOf(const JsonNode* node) { return node->type & JSON_TYPE_MASK; }

}  // namespace

bool ReadSuccess(const jdoc::CJsonDocument& doc, bool& success) {
    const JsonNode* member = Member(doc, "success");
    if (!member || (TypeOf(member) != JSON_TRUE && TypeOf(member) != JSON_FALSE)) return false;
    success = TypeOf(member) == JSON_TRUE;
    return true;
}

bool ReadInt(const jdoc::CJsonDocument& doc, const char* key, int& value) {
    const JsonNode* member = Member(doc, key);
    if (!member || TypeOf(member) != JSON_INT) return false;
    value = static_cast<int>(static_cast<uint32_t>(member->valueint));
    return true;
}

int ReadIntOr(const jdoc::CJsonDocument& doc, const char* key, int fallback) {
    int value = fallback;
    return ReadInt(doc, key, value) ? value : fallback;
}

bool ReadTextMember(const jdoc::CJsonDocument& doc, const char* key, std::string& text) {
    std::string raw;
    if (!doc.ReadStringMember(key, raw)) return false;
    text = ValidUtf8(raw);
    return true;
}

std::string ReadText(const jdoc::CJsonDocument& doc, const char* key) {
    std::string text;
    static_cast<void>(ReadTextMember(doc, key, text));
    return text;
}

std::vector<std::string> ReadTextList(jdoc::CJsonDocument& doc, const char* key) {
    jdoc::CJsonDocument& list = doc.MemberObject(key);
    std::vector<std::string> items;
    const int32_t length = list.ArrayLength();
    for (int32_t i = 0; i < length; ++i) {
        std::string item;
        list.ReadStringAt(i, item);
        items.push_back(ValidUtf8(item));
    }
    return items;
}

bool IsRefusal(const jdoc::CJsonDocument& doc) {
    bool success = true;
    return ReadSuccess(doc, success) && !success;
}

bool IsSuccess(const jdoc::CJsonDocument& doc) {
    bool success = false;
    return ReadSuccess(doc, success) && success;
}

}  // namespace kestrum::service
