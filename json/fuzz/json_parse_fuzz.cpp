// libFuzzer target for the JSON parser, the printers and the document readers.
// Beyond crashes, leaks and undefined behaviour it checks that every printed text parses again
// and that the compact and indented texts of one tree carry the same values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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
        std::string compact = PrintAndFree(tree, false);
        std::string indented = PrintAndFree(tree, true);
        json_delete(tree);
        if (Reprint(compact) != Reprint(indented))
            std::abort();
    }
    ReadThroughDocument(text);
    return 0;
}
