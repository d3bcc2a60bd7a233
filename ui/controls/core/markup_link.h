#pragma once

#include <string>

namespace ui {

class Control;

// What the control tree asks of the markup builder. The markup layer implements it (forwarding
// to ResourceHub::BuildBoxFromMarkup), so the controls link without the builder.
namespace markup_link {

// A new control tree built from a markup file (with no window and no create-control callback)
// to go under a box parent_depth deep in its tree (1 for a root), which counts against the
// builder's depth limit; null when the file cannot be built. The caller owns the tree.
Control* BuildBoxFromMarkup(const std::wstring& file, int parent_depth);

}  // namespace markup_link

}  // namespace ui
