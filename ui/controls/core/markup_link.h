#pragma once

#include <string>

namespace ui {

class Control;

// What the control tree asks of the markup builder. The markup layer implements it (forwarding
// to ResourceHub::BuildBoxFromMarkup), so the controls link without the builder.
namespace markup_link {

// A new control tree built from a markup file (with no window and no create-control callback);
// null when the file cannot be built. The caller owns the tree.
Control* BuildBoxFromMarkup(const std::wstring& file);

}  // namespace markup_link

}  // namespace ui
