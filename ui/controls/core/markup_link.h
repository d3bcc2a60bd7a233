#pragma once

#include <string>

namespace ui {

class Control;

// What the control tree asks of the markup builder. It forwards to the builder function the
// window layer installs (which builds through ResourceHub's cache of parsed child-box files), so
// the controls link without the builder.
namespace markup_link {

// A new control tree built from a markup file (with no window and no create-control callback)
// to go under a box parent_depth deep in its tree (1 for a root), which counts against the
// builder's depth limit; null when the file cannot be built. The caller owns the tree.
Control* BuildBoxFromMarkup(const std::wstring& file, int parent_depth);

// The window layer's side of BuildBoxFromMarkup, with its contract.
using Builder = Control* (*)(const std::wstring& file, int parent_depth);

// Makes builder the one BuildBoxFromMarkup forwards to; any thread may install, and installing
// the same one again changes nothing. The window layer does it as a window is made, before that
// window can attach a child box (which is when the box builds its file); BuildBoxFromMarkup
// called with none installed fails its check.
void Install(Builder builder);

}  // namespace markup_link

}  // namespace ui
