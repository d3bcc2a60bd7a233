#include "kestrum/json/json_document.h"

#include "json_print_into.h"

namespace jdoc {

namespace {

const char kParseError[] = "prase json string error at ";
const char kNoData[] = "json data is null!";
const char kNotObject[] = "not a json object! json array?";
const char kNotArray[] = "not a json array! json object?";
const char kObjectFailed[] = "create sub empty object error!";
const char kArrayFailed[] = "create sub empty array error!";

int32_t CountChildren(const JsonNode* node)
{
    int32_t count = 0;
    for (const JsonNode* child = node->child; child != nullptr; child = child->next)
        ++count;
    return count;
}

// Appends a value member made after the object was found; true when the key can be found
// afterwards.
bool AppendValue(JsonNode* object, const std::string& key, JsonNode* item)
{
    if (item == nullptr)
        return false;
    json_append_member(object, key.c_str(), item);
    return json_find_member(object, key.c_str()) != nullptr;
}

bool ReadString(const JsonNode* node, std::string& out)
{
    if (node == nullptr || node->type != JSON_STRING)
        return false;
    // A string node whose text could not be copied reads as empty.
    out = node->valuestring != nullptr ? node->valuestring : "";
    return true;
}

}  // namespace

CJsonDocument::CJsonDocument() = default;

CJsonDocument::CJsonDocument(const std::string& text)
{
    ParseText(text);
}

CJsonDocument::CJsonDocument(JsonNode* node) : borrowed_(node) {}

CJsonDocument::~CJsonDocument()
{
    ResetDocument();
}

bool CJsonDocument::ParseText(const std::string& text)
{
    ResetDocument();
    root_ = json_parse(text.c_str());
    if (root_ != nullptr)
        return true;
    last_error_ = kParseError;
    if (const char* stop = json_error_position())
        last_error_ += stop;
    return false;
}

void CJsonDocument::ResetDocument()
{
    json_delete(root_);
    root_ = nullptr;
    borrowed_ = nullptr;
    children_.clear();
}

JsonNode* CJsonDocument::Node() const
{
    return root_ != nullptr ? root_ : borrowed_;
}

const std::string& CJsonDocument::LastError() const
{
    return last_error_;
}

std::string CJsonDocument::Print(bool formatted) const
{
    std::string result;
    PrintValueInto(Node(), 0, formatted, result);  // stays empty for an empty document or a failed print
    return result;
}

std::string CJsonDocument::ToCompactText() const
{
    return Print(false);
}

std::string CJsonDocument::ToIndentedText() const
{
    return Print(true);
}

// The node to add members to, creating an object root for an empty document; null (with the
// last error set) when there is none.
JsonNode* CJsonDocument::ObjectForAdding()
{
    if (Node() == nullptr) {
        root_ = json_new_node(JSON_OBJECT);
        if (root_ == nullptr) {
            last_error_ = kNoData;
            return nullptr;
        }
    }
    JsonNode* node = Node();
    if (node->type != JSON_OBJECT) {
        last_error_ = kNotObject;
        return nullptr;
    }
    return node;
}

bool CJsonDocument::AddContainer(const std::string& key, int32_t type, const char* failure)
{
    JsonNode* object = ObjectForAdding();
    if (object == nullptr)
        return false;
    JsonNode* item = json_new_node(type);
    if (item == nullptr) {
        last_error_ = failure;
        return false;
    }
    json_append_member(object, key.c_str(), item);
    return true;
}

bool CJsonDocument::AddEmptyObject(const std::string& key)
{
    return AddContainer(key, JSON_OBJECT, kObjectFailed);
}

bool CJsonDocument::AddEmptyArray(const std::string& key)
{
    return AddContainer(key, JSON_ARRAY, kArrayFailed);
}

bool CJsonDocument::AddStringMember(const std::string& key, const std::string& value)
{
    JsonNode* object = ObjectForAdding();
    return object != nullptr && AppendValue(object, key, json_new_string(value.c_str()));
}

// Signed members always carry sign -1, so they print through the signed branch.
bool CJsonDocument::AddSignedMember(const std::string& key, int32_t value)
{
    JsonNode* object = ObjectForAdding();
    uint64_t bits = static_cast<uint64_t>(static_cast<int64_t>(value));
    return object != nullptr && AppendValue(object, key, json_new_int(bits, -1));
}

bool CJsonDocument::AddUnsignedMember(const std::string& key, uint32_t value)
{
    JsonNode* object = ObjectForAdding();
    return object != nullptr && AppendValue(object, key, json_new_int(value, 1));
}

bool CJsonDocument::AppendString(const std::string& value)
{
    if (Node() == nullptr) {
        root_ = json_new_node(JSON_ARRAY);
        if (root_ == nullptr) {
            last_error_ = kNoData;
            return false;
        }
    }
    JsonNode* array = Node();
    if (array->type != JSON_ARRAY) {
        last_error_ = kNotArray;
        return false;
    }
    JsonNode* item = json_new_string(value.c_str());
    if (item == nullptr)
        return false;
    int32_t before = CountChildren(array);
    json_append_item(array, item);
    return CountChildren(array) != before;
}

CJsonDocument& CJsonDocument::MemberObject(const std::string& key)
{
    auto cached = children_.find(key);
    if (cached != children_.end())
        return *cached->second;
    JsonNode* node = Node();
    JsonNode* member = nullptr;
    if (node != nullptr && node->type == JSON_OBJECT)
        member = json_find_member(node, key.c_str());
    auto child = member != nullptr ? std::make_unique<CJsonDocument>(member) : std::make_unique<CJsonDocument>();
    return *children_.emplace(key, std::move(child)).first->second;
}

bool CJsonDocument::ReadStringMember(const std::string& key, std::string& out) const
{
    JsonNode* node = Node();
    if (node == nullptr || node->type != JSON_OBJECT)
        return false;
    return ReadString(json_find_member(node, key.c_str()), out);
}

int32_t CJsonDocument::ArrayLength() const
{
    JsonNode* node = Node();
    if (node == nullptr || node->type != JSON_ARRAY)
        return 0;
    return CountChildren(node);
}

bool CJsonDocument::ReadStringAt(int32_t index, std::string& out) const
{
    JsonNode* node = Node();
    if (node == nullptr || node->type != JSON_ARRAY)
        return false;
    const JsonNode* element = node->child;
    for (int32_t step = 0; step < index && element != nullptr; ++step)
        element = element->next;
    return ReadString(element, out);
}

}  // namespace jdoc
