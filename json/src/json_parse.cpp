#include "kestrum/json/json_node.h"

#include <cmath>
#include <cstring>

#include "json_decimal.h"

// Recursive descent in one pass over the text. Every node is linked into the tree as soon as it
// is allocated, so a failure anywhere is cleaned up by deleting the root.

namespace {

thread_local const char* g_error_position = nullptr;

struct ParseState {
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

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Bytes that end a plain run inside a string.
struct StringStopTable {
    bool stop[256];
    constexpr StringStopTable() : stop()
    {
        stop[0] = true;
        stop[static_cast<unsigned char>('"')] = true;
        stop[static_cast<unsigned char>('\\')] = true;
    }
};
constexpr StringStopTable kStringStop;

const char* SkipPlain(const char* at)
{
    while (!kStringStop.stop[static_cast<unsigned char>(*at)])
        ++at;
    return at;
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

// Appends a run of digits to n and counts them.
const char* ReadDigits(const char* at, double* n, int64_t* count)
{
    for (; IsDigit(*at); ++at) {
        *n = *n * 10.0 + (*at - '0');
        ++*count;
    }
    return at;
}

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

// Whether an integer text's accumulated magnitude has a 64-bit pattern: below 2^64, or down to
// -2^63 when negative (further down the 64-bit product would wrap to a positive value).
bool FitsInteger(double magnitude, int32_t sign)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    constexpr double kTwoTo64 = 18446744073709551616.0;
    return sign < 0 ? magnitude <= kTwoTo63 : magnitude < kTwoTo64;
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
    double n = 0;
    const char* integer_start = at;
    int64_t integer_digits = 0;
    if (*at >= '1' && *at <= '9')
        at = ReadDigits(at, &n, &integer_digits);
    int64_t fraction_digits = 0;
    if (*at == '.' && IsDigit(at[1]))
        at = ReadDigits(at + 1, &n, &fraction_digits);
    int64_t exponent = 0;
    if (*at == 'e' || *at == 'E')
        at = ReadExponent(at + 1, &exponent);

    node->sign = sign;
    if (fraction_digits != 0 || exponent != 0) {
        double power = static_cast<double>(exponent - fraction_digits);
        node->type = JSON_DOUBLE;
        node->valuedouble = sign * n * std::pow(10.0, power);
    } else if (FitsInteger(n, sign)) {
        node->type = JSON_INT;
        node->valueint = static_cast<uint64_t>(n) * static_cast<uint64_t>(static_cast<int64_t>(sign));
        node->valuedouble = sign * n;
    } else {
        // Integers beyond 64 bits become doubles, keeping their magnitude.
        node->type = JSON_DOUBLE;
        node->valuedouble = sign * DecimalDigitsToDouble(integer_start, static_cast<size_t>(integer_digits));
    }
    return at;
}

// ---- strings ----

// Position after the escape at the backslash: two characters, or six for \u. When the text ends
// inside the escape, the terminating NUL.
const char* SkipEscape(const char* at)
{
    if (at[1] == '\0')
        return at + 1;
    if (at[1] != 'u')
        return at + 2;
    at += 2;
    for (int i = 0; i < 4 && *at != '\0'; ++i)
        ++at;
    return at;
}

// End of the string body: the closing quote, or the NUL of an unterminated string.
const char* FindStringEnd(const char* at, bool* has_escape)
{
    for (;;) {
        at = SkipPlain(at);
        if (*at != '\\')
            return at;
        *has_escape = true;
        at = SkipEscape(at);
    }
}

// Reads the code of a \u escape from the four characters after the 'u': leading blanks are
// tolerated, then hexadecimal digits; no digit reads as 0. Returns the position after the four
// characters, or null when the text ends among them.
const char* ReadEscapeCode(const char* at, unsigned* code)
{
    for (int i = 0; i < 4; ++i) {
        if (at[i] == '\0')
            return nullptr;
    }
    int i = 0;
    while (i < 4 && IsBlank(at[i]))
        ++i;
    unsigned value = 0;
    for (; i < 4 && HexValue(at[i]) >= 0; ++i)
        value = value * 16 + static_cast<unsigned>(HexValue(at[i]));
    *code = value;
    return at + 4;
}

bool IsHighSurrogate(unsigned code)
{
    return code >= 0xD800 && code <= 0xDBFF;
}

bool IsLowSurrogate(unsigned code)
{
    return code >= 0xDC00 && code <= 0xDFFF;
}

char* WriteUtf8(char* out, unsigned code)
{
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Decodes the \u escape whose code starts at `at` (after the 'u'), with the look-ahead for a low
// surrogate. Returns the position after what it consumed, or null when the text ends inside an
// escape: the string then ends there.
const char* DecodeUnicodeEscape(const char* at, char** out)
{
    unsigned code = 0;
    at = ReadEscapeCode(at, &code);
    if (at == nullptr)
        return nullptr;
    if (code == 0 || IsLowSurrogate(code))
        return at;
    if (!IsHighSurrogate(code)) {
        *out = WriteUtf8(*out, code);
        return at;
    }
    if (at[0] != '\\' || at[1] != 'u')
        return at;
    unsigned low = 0;
    at = ReadEscapeCode(at + 2, &low);
    if (at != nullptr && IsLowSurrogate(low))
        *out = WriteUtf8(*out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
    return at;
}

char SimpleEscape(char c)
{
    switch (c) {
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return c;
    }
}

// Decodes the body [at, end) into out, which has room for end - at bytes (no escape grows).
// Returns the end of what was written.
char* DecodeEscaped(const char* at, const char* end, char* out)
{
    while (at < end) {
        const char* plain = SkipPlain(at);
        std::memcpy(out, at, static_cast<size_t>(plain - at));
        out += plain - at;
        at = plain;
        if (at >= end || at[1] == '\0')
            break;
        if (at[1] != 'u') {
            *out++ = SimpleEscape(at[1]);
            at += 2;
            continue;
        }
        at = DecodeUnicodeEscape(at + 2, &out);
        if (at == nullptr)
            break;
    }
    return out;
}

const char* json_parse_string(ParseState& state, JsonNode* node, const char* at)
{
    if (*at != '"')
        return Fail(state, at);
    ++at;
    bool has_escape = false;
    const char* end = FindStringEnd(at, &has_escape);
    size_t span = static_cast<size_t>(end - at);
    char* text = static_cast<char*>(json_malloc(span + 1));
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
JsonNode* LinkNewChild(JsonNode* parent, JsonNode* last)
{
    JsonNode* child = json_new_node(JSON_FALSE);
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
const char* ParseChildren(ParseState& state, JsonNode* parent, const char* at, ChildParser parse_child,
                          char closing)
{
    at = json_skip_space(at);
    if (*at == closing)
        return at + 1;
    JsonNode* last = nullptr;
    for (;;) {
        last = LinkNewChild(parent, last);
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
    case '-':
        return json_parse_number(node, at);
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
    JsonNode* root = json_new_node(JSON_FALSE);
    if (root == nullptr)
        return nullptr;
    ParseState state;
    const char* end = json_parse_value(state, root, json_skip_space(text));
    g_error_position = state.error;
    if (end != nullptr)
        return root;
    json_delete(root);
    return nullptr;
}

const char* json_error_position()
{
    return g_error_position;
}
