#include "kestrum/json/json_node.h"

#include "json_number_format.h"
#include "json_print_into.h"
#include "print_buffer.h"

// All printers write into one PrintBuffer; the text is the same as joining one text per node.

namespace {

// For each byte: 0 when it is copied as it is, else the letter of its escape ('u' for \u00XX).
struct EscapeTable {
    char letter[256];
    constexpr EscapeTable() : letter()
    {
        for (int c = 0; c < 32; ++c)
            letter[c] = 'u';
        Set('\b', 'b');
        Set('\t', 't');
        Set('\n', 'n');
        Set('\f', 'f');
        Set('\r', 'r');
        Set('"', '"');
        Set('\\', '\\');
    }
    constexpr void Set(char c, char escape) { letter[static_cast<unsigned char>(c)] = escape; }
};
constexpr EscapeTable kEscape;

constexpr size_t kLongestEscape = 6;  // \u00XX
// Bytes written per check of the room left: the check is paid once per step, not per byte, and
// reserving a step is cheap even for a short key.
constexpr size_t kStringStep = 128;

// Writes the escape of byte c (one with an entry in kEscape) at `to`; returns the end.
char* WriteEscape(char* to, unsigned char c)
{
    static const char kHex[] = "0123456789abcdef";
    char letter = kEscape.letter[c];
    to[0] = '\\';
    to[1] = letter;
    if (letter != 'u')
        return to + 2;
    to[2] = '0';
    to[3] = '0';
    to[4] = kHex[c >> 4];
    to[5] = kHex[c & 0xF];
    return to + 6;
}

// Copies byte by byte straight into the text: the strings of service JSON are short, where one
// library copy per run of plain bytes costs more than the bytes themselves.
void json_print_string(PrintBuffer& out, const char* text)
{
    // An absent text still prints as a string, so the output stays valid JSON.
    if (text == nullptr) {
        out.Append("\"\"", 2);
        return;
    }
    out.Append('"');
    const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
    for (;;) {
        char* const start = out.Reserve(kStringStep);
        if (start == nullptr)
            return;
        char* const limit = start + kStringStep - kLongestEscape;
        char* to = start;
        while (to < limit) {
            unsigned char c = *at++;
            if (kEscape.letter[c] == 0) {
                *to++ = static_cast<char>(c);
            } else if (c != '\0') {
                to = WriteEscape(to, c);
            } else {
                out.Commit(static_cast<size_t>(to - start));
                out.Append('"');
                return;
            }
        }
        out.Commit(static_cast<size_t>(to - start));
    }
}

void json_print_int(PrintBuffer& out, const JsonNode* node)
{
    char* text = out.Reserve(kIntegerTextSize);
    if (text != nullptr)
        out.Commit(node->sign == -1 ? FormatSigned(static_cast<int64_t>(node->valueint), text)
                                    : FormatUnsigned(node->valueint, text));
}

void json_print_double(PrintBuffer& out, const JsonNode* node)
{
    char* text = out.Reserve(kDoubleTextSize);
    if (text != nullptr)
        out.Commit(FormatDouble(node->valuedouble, text));
}

void AppendIndent(PrintBuffer& out, int depth)
{
    if (depth > 0)
        out.AppendRepeated('\t', static_cast<size_t>(depth));
}

bool PrintNode(PrintBuffer& out, const JsonNode* node, int depth, bool formatted);

bool json_print_array(PrintBuffer& out, const JsonNode* node, int depth, bool formatted)
{
    out.Append('[');
    for (const JsonNode* child = node->child; child != nullptr; child = child->next) {
        if (child != node->child) {
            if (formatted)
                out.Append(", ", 2);
            else
                out.Append(',');
        }
        if (!PrintNode(out, child, depth + 1, formatted))
            return false;
    }
    out.Append(']');
    return true;
}

bool json_print_object(PrintBuffer& out, const JsonNode* node, int depth, bool formatted)
{
    out.Append('{');
    if (formatted)
        out.Append('\n');
    for (const JsonNode* child = node->child; child != nullptr; child = child->next) {
        if (formatted)
            AppendIndent(out, depth + 1);
        json_print_string(out, child->key);
        out.Append(':');
        if (formatted)
            out.Append('\t');
        if (!PrintNode(out, child, depth + 1, formatted))
            return false;
        if (child->next != nullptr)
            out.Append(',');
        if (formatted)
            out.Append('\n');
    }
    if (formatted)
        AppendIndent(out, depth);
    out.Append('}');
    return true;
}

bool PrintNode(PrintBuffer& out, const JsonNode* node, int depth, bool formatted)
{
    if (out.failed())
        return false;
    switch (node->type & JSON_TYPE_MASK) {
    case JSON_FALSE: out.Append("false", 5); return true;
    case JSON_TRUE: out.Append("true", 4); return true;
    case JSON_NULL: out.Append("null", 4); return true;
    case JSON_INT: json_print_int(out, node); return true;
    case JSON_DOUBLE: json_print_double(out, node); return true;
    case JSON_STRING: json_print_string(out, node->valuestring); return true;
    case JSON_ARRAY: return json_print_array(out, node, depth, formatted);
    case JSON_OBJECT: return json_print_object(out, node, depth, formatted);
    default: return false;
    }
}

}  // namespace

char* json_print_value(const JsonNode* node, int depth, bool formatted)
{
    if (node == nullptr)
        return nullptr;
    PrintBuffer out;
    if (!PrintNode(out, node, depth, formatted))
        return nullptr;
    return out.Release();
}

bool PrintValueInto(const JsonNode* node, int depth, bool formatted, std::string& out)
{
    if (node == nullptr)
        return false;
    PrintBuffer buffer;
    if (!PrintNode(buffer, node, depth, formatted) || buffer.failed())
        return false;
    out.assign(buffer.data(), buffer.size());
    return true;
}
