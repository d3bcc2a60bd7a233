#pragma once

#include <cstddef>
#include <cstdint>

// The JSON value tree: one JsonNode record per value, linked as sibling chains under their
// container. Plain records with free functions, so that response readers can walk a tree directly.
//
// Thread safety: no locks. Distinct trees may be parsed, built, printed and freed on different
// threads at the same time, also when they hold nodes of one parse; one tree is used by one
// thread at a time.
//
// Ownership: a node owns its key always, and its child chain and string text unless
// JSON_BORROWED is set in its type. json_delete is the one way to release a node and what it owns.
//
// Storage: nodes made by the constructors below are heap blocks of their own, as are the texts
// from json_strdup and the printers. A parse instead lays its nodes, keys and texts out in a few
// large blocks, so that parsing and deleting a big document costs a few heap calls, not one per
// value. Such a node still behaves as one of its own: it may be unlinked, deleted apart from its
// tree, moved into another tree or outlive the rest of its tree; its block is returned once the
// last node in it has been deleted (so one kept node keeps its block's memory). Its key and text
// lie in that block too: never pass them to json_free; to replace one, assign a text from
// json_strdup (or null) and the parsed one is reclaimed with its block.
//
// Every block comes from json_malloc and goes back through json_free; only while those are the
// runtime's malloc and free, the library keeps up to 8 MB of large blocks from malloc for later
// parses and prints to reuse (fresh heap memory costs a page fault per page on Windows).

enum JsonType : int32_t {
    JSON_FALSE = 0,
    JSON_TRUE = 1,
    JSON_NULL = 2,
    JSON_INT = 3,
    JSON_DOUBLE = 4,
    JSON_STRING = 5,
    JSON_ARRAY = 6,
    JSON_OBJECT = 7,
};

// Set in JsonNode::type when the node does not own its child chain and string text.
constexpr int32_t JSON_BORROWED = 0x100;
// Printing looks at these bits of JsonNode::type only.
constexpr int32_t JSON_TYPE_MASK = 0xFF;
// Containers nested deeper than this fail the parse, so hostile input cannot exhaust the stack.
constexpr int JSON_MAX_DEPTH = 512;

struct JsonNode {
    JsonNode* next;         // following sibling, null at the end
    JsonNode* prev;         // preceding sibling, null at the start
    JsonNode* child;        // first child of an array or object, null when empty
    int32_t type;           // JsonType in the low 8 bits, optionally JSON_BORROWED
    uint32_t block_offset;  // the library's own: where a parsed node lies in its block, else 0
    char* valuestring;      // text of a string, NUL-terminated UTF-8; may be null
    uint64_t valueint;      // two's-complement bit pattern of an integer; 1 for true
    double valuedouble;     // value of a double; integers carry a copy
    int32_t sign;           // 1 or -1: the sign parsed or given at construction
    char* key;              // member name inside an object, else null
};

// Allocation hooks for every heap block of this library, preset to malloc and free.
extern void* (*json_malloc)(size_t size);
extern void (*json_free)(void* block);

// Parses one value from NUL-terminated text; text after the value is not examined. Returns a new
// tree (free it with json_delete), or null when the text is not a value or memory ran out.
JsonNode* json_parse(const char* text);

// Where the calling thread's last json_parse stopped on a syntax error: a pointer into that
// text. Null after a successful parse and after an allocation failure. Per thread, so
// concurrent parses do not see each other's positions.
const char* json_error_position();

// Prints a value from the given nesting depth, compact or TAB-indented. Returns a NUL-terminated
// text from json_malloc that the caller frees, or null when memory ran out or a node has an
// unknown type.
char* json_print_value(const JsonNode* node, int depth, bool formatted);

// Frees the node and every node after it on its next chain (see Ownership above).
void json_delete(JsonNode* node);

// First child whose key equals the name ignoring ASCII letter case; a child without a key
// matches only a null name. Null when nothing matches.
JsonNode* json_find_member(const JsonNode* object, const char* name);

// Links the item after the last child of the container. A null item does nothing.
void json_append_item(JsonNode* container, JsonNode* item);

// Replaces the item's key with a copy of the name, then appends it; existing members with the
// same name stay. A null item does nothing.
void json_append_member(JsonNode* object, const char* name, JsonNode* item);

// A zero-filled node of the given type, or null when memory ran out.
JsonNode* json_new_node(int32_t type);

// An integer node holding the bit pattern value with the given sign, or null.
JsonNode* json_new_int(uint64_t value, int32_t sign);

// A string node holding a copy of the text, or null when the node cannot be allocated. When only
// the copy fails, the node has a null text (printed as an empty string).
JsonNode* json_new_string(const char* text);

// A copy of the text from json_malloc, or null when memory ran out or text is null.
char* json_strdup(const char* text);
