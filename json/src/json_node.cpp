#include "kestrum/json/json_node.h"

#include <cstdlib>
#include <cstring>

#include "json_arena.h"

void* (*json_malloc)(size_t size) = std::malloc;
void (*json_free)(void* block) = std::free;

namespace {

bool IsBorrowed(const JsonNode* node)
{
    return (node->type & JSON_BORROWED) != 0;
}

unsigned char LowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool KeyEquals(const char* key, const char* name)
{
    if (key == nullptr || name == nullptr)
        return key == name;
    const unsigned char* a = reinterpret_cast<const unsigned char*>(key);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(name);
    for (; LowerAscii(*a) == LowerAscii(*b); ++a, ++b) {
        if (*a == '\0')
            return true;
    }
    return false;
}

void DeleteChain(JsonNode* node, NodeReleaser& releaser)
{
    while (node != nullptr) {
        JsonNode* next = node->next;
        if (!IsBorrowed(node)) {
            DeleteChain(node->child, releaser);
            ReleaseText(node, node->valuestring);
        }
        ReleaseText(node, node->key);
        releaser.ReleaseNode(node);
        node = next;
    }
}

}  // namespace

void json_delete(JsonNode* node)
{
    NodeReleaser releaser;
    DeleteChain(node, releaser);
}

JsonNode* json_find_member(const JsonNode* object, const char* name)
{
    if (object == nullptr)
        return nullptr;
    for (JsonNode* child = object->child; child != nullptr; child = child->next) {
        if (KeyEquals(child->key, name))
            return child;
    }
    return nullptr;
}

void json_append_item(JsonNode* container, JsonNode* item)
{
    if (container == nullptr || item == nullptr)
        return;
    JsonNode* last = container->child;
    if (last == nullptr) {
        container->child = item;
        return;
    }
    while (last->next != nullptr)
        last = last->next;
    last->next = item;
    item->prev = last;
}

void json_append_member(JsonNode* object, const char* name, JsonNode* item)
{
    if (item == nullptr)
        return;
    ReleaseText(item, item->key);
    item->key = json_strdup(name);
    json_append_item(object, item);
}

JsonNode* json_new_node(int32_t type)
{
    JsonNode* node = static_cast<JsonNode*>(json_malloc(sizeof(JsonNode)));
    if (node == nullptr)
        return nullptr;
    std::memset(node, 0, sizeof(JsonNode));
    node->type = type;
    return node;
}

JsonNode* json_new_int(uint64_t value, int32_t sign)
{
    JsonNode* node = json_new_node(JSON_INT);
    if (node == nullptr)
        return nullptr;
    node->valueint = value;
    node->valuedouble = static_cast<double>(value);
    node->sign = sign;
    return node;
}

JsonNode* json_new_string(const char* text)
{
    JsonNode* node = json_new_node(JSON_STRING);
    if (node != nullptr)
        node->valuestring = json_strdup(text);
    return node;
}

char* json_strdup(const char* text)
{
    if (text == nullptr)
        return nullptr;
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(json_malloc(size));
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}
