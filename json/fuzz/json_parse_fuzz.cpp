// libFuzzer target for the JSON parser, the printers and the document readers.
// Beyond crashes, leaks and undefined behaviour it checks that every printed text parses again,
// that the compact and indented texts of one tree carry the same values, and that a number
// reads as the C library's correctly rounded strtod reads it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kestrum/json/json_document.h"
#include "kestrum/json/json_node.h"

namespace {

std::string PrintAndFree(const JsonNode* node, bool formatted)
{
    char* text = json_print_value(node, 0, formatted);
    if (text == nullptr)
        std::abort();  // only allocation failure may fail a print
    std::string result(text);
    json_free(text);
    return result;
}

std::string Reprint(const std::string& text)
{
    JsonNode* tree = json_parse(text.c_str());
    if (tree == nullptr)
        std::abort();  // printed text must always parse
    std::string result = PrintAndFree(tree, false);
    json_delete(tree);
    return result;
}

const char* SkipDigits(const char* at)
{
    while (*at >= '0' && *at <= '9')
        ++at;
    return at;
}

// Whether the whole text is one number in JSON's own grammar, where strtod agrees on its extent.
bool IsStrictNumber(const char* at)
{
    if (*at == '-')
        ++at;
    if (*at == '0')
        ++at;
    else if (*at >= '1' && *at <= '9')
        at = SkipDigits(at);
    else
        return false;
    if (*at == '.') {
        if (at[1] < '0' || at[1] > '9')
            return false;
        at = SkipDigits(at + 1);
    }
    if (*at == 'e' || *at == 'E') {
        ++at;
        if (*at == '+' || *at == '-')
            ++at;
        if (*at < '0' || *at > '9')
            return false;
        at = SkipDigits(at);
    }
    return *at == '\0';
}

void CheckNumberValue(const std::string& text, const JsonNode* tree)
{
    if (!IsStrictNumber(text.c_str()))
        return;
    double expected = std::strtod(text.c_str(), nullptr);
    if (std::memcmp(&expected, &tree->valuedouble, sizeof(expected)) != 0)
        std::abort();
}

void ReadThroughDocument(const std::string& text)
{
    jdoc::CJsonDocument doc(text);
    std::string out;
    doc.ReadStringMember("data", out);
    doc.ReadStringAt(1, out);
    doc.MemberObject("data").MemberObject("users").ArrayLength();
    doc.ToIndentedText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    JsonNode* tree = json_parse(text.c_str());
    if (tree != nullptr) {
        CheckNumberValue(text, tree);
        std::string compact = PrintAndFree(tree, false);
        std::string indented = PrintAndFree(tree, true);
        json_delete(tree);
        if (Reprint(compact) != Reprint(indented))
            std::abort();
    }
    ReadThroughDocument(text);
    return 0;
}
