#pragma once

#include <memory>
#include <string>

#include "kestrum/json/json_node.h"

// Helpers shared by the JSON tests: trees that free themselves, printed texts as std::string.

struct TreeDeleter {
    void operator()(JsonNode* node) const { json_delete(node); }
};
using Tree = std::unique_ptr<JsonNode, TreeDeleter>;

inline Tree Parse(const std::string& text)
{
    return Tree(json_parse(text.c_str()));
}

// The printed text; "<null>" when printing failed, which no valid output can be.
inline std::string Print(const JsonNode* node, int depth = 0, bool formatted = false)
{
    char* text = json_print_value(node, depth, formatted);
    if (text == nullptr)
        return "<null>";
    std::string result(text);
    json_free(text);
    return result;
}

inline std::string Reprint(const std::string& text, bool formatted = false)
{
    Tree tree = Parse(text);
    return tree ? Print(tree.get(), 0, formatted) : "<parse failed>";
}
