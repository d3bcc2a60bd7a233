#include "kestrum/json/json_node.h"

#include "json_number_format.h"
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

void AppendEscape(PrintBuffer& out, unsigned char c)
{
    static const char kHex[] = "0123456789abcdef";
    char letter = kEscape.letter[c];
    if (letter != 'u') {
        const char escape[2] = {'\\', letter};
        out.Append(escape, 2);
        return;
    }
    const char escape[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
    out.Append(escape, 6);
}

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
        const unsigned char* run = at;
        while (kEscape.letter[*at] == 0)
            ++at;
        out.Append(reinterpret_cast<const char*>(run), static_cast<size_t>(at - run));
        if (*at == '\0')
            break;
        AppendEscape(out, *at++);
    }
    out.Append('"');
}

void json_print_int(PrintBuffer& out, const JsonNode* node)
{
    char text[kIntegerTextSize];
    size_t length = node->sign == -1 ? FormatSigned(static_cast<int64_t>(node->valueint), text)
                                     : FormatUnsigned(node->valueint, text);
    out.Append(text, length);
}

void json_print_double(PrintBuffer& out, const JsonNode* node)
{
    char text[kDoubleTextSize];
    out.Append(text, FormatDouble(node->valuedouble, text));
}

void AppendIndent(PrintBuffer& out, int depth)
{
    if (depth > 0)
        out.AppendRepeated('\t', static_cast<size_t>(depth));
}

bool PrintNode(PrintBuffer& out, const JsonNode* node, int depth, bool formatted);

// A tree is one heap block per node, key and text, scattered over the heap once the heap has
// been recycled. Fetching the next sibling's blocks while the current one prints hides much of
// the cache-miss latency (a third of the print time on large recycled trees).
void PrefetchNextSibling(const JsonNode* child)
{
    const JsonNode* next = child->next;
    if (next == nullptr)
        return;
    __builtin_prefetch(next);
    __builtin_prefetch(next->key);
    __builtin_prefetch(next->valuestring);
    __builtin_prefetch(next->child);
}

bool json_print_array(PrintBuffer& out, const JsonNode* node, int depth, bool formatted)
{
    out.Append('[');
    for (const JsonNode* child = node->child; child != nullptr; child = child->next) {
        PrefetchNextSibling(child);
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
        PrefetchNextSibling(child);
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
