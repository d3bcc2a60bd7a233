#pragma once

#include <string>

namespace DuiLib {
namespace markup_names {

// Skins use the framework's element names. The framework's builder makes its own controls for
// those before asking any callback, so the layer renames the elements it has faces for
// (adding this prefix) and makes them in its callback.
constexpr wchar_t kLayerPrefix[] = L"DuiLayer:";

// text with every element name that is_layer_name accepts prefixed, in start and end tags.
// Comments, CDATA, declarations and processing instructions are copied unchanged.
std::wstring PrefixElementNames(const std::wstring& text,
                                bool (*is_layer_name)(const std::wstring& name));
// The skin name of a prefixed element name; "" for a name without the prefix.
std::wstring SkinName(const std::wstring& element_name);

// Reads a markup file (UTF-8, an optional byte-order mark; relative names are taken from the
// layer's resource path, or the framework's while the layer has none); false when it cannot be
// read.
[[nodiscard]] bool ReadMarkupFile(const std::wstring& name, std::wstring* text);

}  // namespace markup_names
}  // namespace DuiLib
