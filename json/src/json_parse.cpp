#include "kestrum/json/json_node.h"

#include <cstring>

#include "json_arena.h"
#include "json_decimal.h"
#include "json_string_body.h"

// Recursive descent in one pass over the text. Every node is linked into the tree as soon as it
// is allocated, so a failure anywhere is cleaned up by deleting the root. Nodes and texts come
// from the parse's arena.

namespace {

thread_local const char* g_error_position = nullptr;

struct ParseState {
    explicit ParseState(const char* text) : arena(text) {}
    ParseArena arena;
    const char* error = nullptr;  // syntax error position; stays null on allocation failure
    int depth = 0;                // containers open at the current position
};

const char* Fail(ParseState& state, const char* at)
{
    state.error = at;
    return nullptr;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* json_skip_space(const char* at)
{
    // Bytes 1 to 32 are skipped; the unsigned wrap keeps the NUL out.
    while (static_cast<unsigned char>(*at - 1) < 32)
        ++at;
    return at;
}

// ---- numbers ----

// Exponent digits beyond any double's range no longer change the result, so accumulation stops
// there instead of overflowing.
constexpr int64_t kExponentCap = 1000000000000000;

const char* ReadExponent(const char* at, int64_t* exponent)
{
    int64_t sign = 1;
    if (*at == '+') {
        ++at;
    } else if (*at == '-') {
        sign = -1;
        ++at;
    }
    int64_t value = 0;
    for (; IsDigit(*at); ++at) {
        if (value < kExponentCap)
            value = value * 10 + (*at - '0');
    }
    *exponent = sign * value;
    return at;
}

// The integer text's magnitude when it is below 2^64: a text of 20 digits is compared with
// 2^64 - 1 digit by digit, as its accumulation has wrapped around.
bool ReadMagnitude(const DecimalNumber& number, uint64_t* magnitude)
{
    static const char kLargest[] = "18446744073709551615";
    constexpr size_t kLargestCount = sizeof(kLargest) - 1;
    if (number.integer_count > kLargestCount ||
        (number.integer_count == kLargestCount && std::memcmp(number.integer, kLargest, kLargestCount) > 0))
        return false;
    *magnitude = number.digits;
    return true;
}

// Whether an integer of this magnitude has a 64-bit pattern: any below 2^64, or down to -2^63
// when negative (further down the pattern would read as a positive value).
bool FitsInteger(uint64_t magnitude, int32_t sign)
{
    return sign > 0 || magnitude <= uint64_t(1) << 63;
}

const char* json_parse_number(JsonNode* node, const char* at)
{
    int32_t sign = 1;
    if (*at == '-') {
        sign = -1;
        ++at;
    }
    if (*at == '0')
        ++at;
    DecimalNumber number;
    number.integer = at;
    if (*at >= '1' && *at <= '9')
        at = ScanDigits(at, number.digits);
    number.integer_count = static_cast<size_t>(at - number.integer);
    if (*at == '.' && IsDigit(at[1])) {
        number.fraction = at + 1;
        at = ScanDigits(at + 1, number.digits);
        number.fraction_count = static_cast<size_t>(at - number.fraction);
    }
    if (*at == 'e' || *at == 'E')
        at = ReadExponent(at + 1, &number.exponent);

    node->sign = sign;
    uint64_t magnitude = 0;
    if (number.fraction_count == 0 && number.exponent == 0 && ReadMagnitude(number, &magnitude) &&
        FitsInteger(magnitude, sign)) {
        node->type = JSON_INT;
        node->valueint = magnitude * static_cast<uint64_t>(static_cast<int64_t>(sign));
        node->valuedouble = sign * static_cast<double>(magnitude);
    } else {
        // Integers beyond 64 bits become doubles too, keeping their magnitude.
        node->type = JSON_DOUBLE;
        node->valuedouble = sign * DecimalToDouble(number);
    }
    return at;
}

const char* json_parse_string(ParseState& state, JsonNode* node, const char* at)
{
    if (*at != '"')
        return Fail(state, at);
    ++at;
    bool has_escape = false;
    const char* end = FindStringEnd(at, &has_escape);
    size_t span = static_cast<size_t>(end - at);
    char* text = state.arena.NewText(span + 1);
    if (text == nullptr)
        return nullptr;
    char* text_end = text + span;
    if (has_escape)
        text_end = DecodeEscaped(at, end, text);
    else
        std::memcpy(text, at, span);
    *text_end = '\0';
    node->valuestring = text;
    node->type = JSON_STRING;
    return *end == '"' ? end + 1 : end;
}

// ---- containers ----

const char* json_parse_value(ParseState& state, JsonNode* node, const char* at);

// A fresh child linked after `last`, or as the first child when last is null.
JsonNode* LinkNewChild(ParseState& state, JsonNode* parent, JsonNode* last)
{
    JsonNode* child = state.arena.NewNode();
    if (child == nullptr)
        return nullptr;
    if (last == nullptr) {
        parent->child = child;
    } else {
        last->next = child;
        child->prev = last;
    }
    return child;
}

const char* ParseMember(ParseState& state, JsonNode* member, const char* at)
{
    at = json_parse_string(state, member, json_skip_space(at));
    if (at == nullptr)
        return nullptr;
    member->key = member->valuestring;
    member->valuestring = nullptr;
    at = json_skip_space(at);
    if (*at != ':')
        return Fail(state, at);
    at = json_parse_value(state, member, json_skip_space(at + 1));
    return at == nullptr ? nullptr : json_skip_space(at);
}

const char* ParseElement(ParseState& state, JsonNode* element, const char* at)
{
    at = json_parse_value(state, element, json_skip_space(at));
    return at == nullptr ? nullptr : json_skip_space(at);
}

using ChildParser = const char* (*)(ParseState&, JsonNode*, const char*);

// Parses the children of an array or object after its opening bracket up to the closing one.
const char* ParseChildren(ParseState& state, JsonNode* parent, const char* at, ChildParser parse_child, char closing)
{
    at = json_skip_space(at);
    if (*at == closing)
        return at + 1;
    JsonNode* last = nullptr;
    for (;;) {
        last = LinkNewChild(state, parent, last);
        if (last == nullptr)
            return nullptr;
        at = parse_child(state, last, at);
        if (at == nullptr)
            return nullptr;
        if (*at != ',')
            break;
        ++at;
    }
    if (*at != closing)
        return Fail(state, at);
    return at + 1;
}

const char* ParseContainer(ParseState& state, JsonNode* node, const char* at, int32_t type)
{
    if (state.depth >= JSON_MAX_DEPTH)
        return Fail(state, at);
    ++state.depth;
    node->type = type;
    const char* end = type == JSON_ARRAY ? ParseChildren(state, node, at + 1, ParseElement, ']')
                                         : ParseChildren(state, node, at + 1, ParseMember, '}');
    --state.depth;
    return end;
}

const char* json_parse_array(ParseState& state, JsonNode* node, const char* at)
{
    if (*at != '[')
        return Fail(state, at);
    return ParseContainer(state, node, at, JSON_ARRAY);
}

const char* json_parse_object(ParseState& state, JsonNode* node, const char* at)
{
    if (*at != '{')
        return Fail(state, at);
    return ParseContainer(state, node, at, JSON_OBJECT);
}

// A literal matches on its own letters only: "nullx" is null followed by 'x'.
const char* ParseLiteral(ParseState& state, JsonNode* node, const char* at, const char* word, int32_t type)
{
    size_t length = std::strlen(word);
    if (std::strncmp(at, word, length) != 0)
        return Fail(state, at);
    node->type = type;
    node->valueint = type == JSON_TRUE ? 1 : 0;
    return at + length;
}

const char* json_parse_value(ParseState& state, JsonNode* node, const char* at)
{
    switch (*at) {
    case 'n': return ParseLiteral(state, node, at, "null", JSON_NULL);
    case 'f': return ParseLiteral(state, node, at, "false", JSON_FALSE);
    case 't': return ParseLiteral(state, node, at, "true", JSON_TRUE);
    case '"': return json_parse_string(state, node, at);
    case '[': return json_parse_array(state, node, at);
    case '{': return json_parse_object(state, node, at);
    case '-': return json_parse_number(node, at);
    default:
        if (IsDigit(*at))
            return json_parse_number(node, at);
        return Fail(state, at);
    }
}

}  // namespace

JsonNode* json_parse(const char* text)
{
    g_error_position = nullptr;
    if (text == nullptr)
        return nullptr;
    ParseState state(text);
    JsonNode* root = state.arena.NewNode();
    if (root == nullptr)
        return nullptr;
    const char* end = json_parse_value(state, root, json_skip_space(text));
    g_error_position = state.error;
    state.arena.Publish();
    if (end != nullptr)
        return root;
    json_delete(root);
    return nullptr;
}

const char* json_error_position()
{
    return g_error_position;
}
