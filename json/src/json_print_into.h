#pragma once

#include <string>

#include "kestrum/json/json_node.h"

// json_print_value for callers that want a std::string: the text goes from the print buffer into
// `out` in one copy, without a heap text of its own in between. False (and out untouched) when
// json_print_value would give null.
bool PrintValueInto(const JsonNode* node, int depth, bool formatted, std::string& out);
