#pragma once

namespace ui {

// The window layer's side of the seams through which the control tree reaches it
// (ui/controls/core/window_link.h and markup_link.h): each installs its implementation there.
// Window's constructor calls both, which is early enough: a control reaches either seam only
// once a window holds it, and only a window attaches a tree with init (where a child box builds
// its markup). Any thread may call them, any number of times.
void InstallWindowLink();  // window/window_link.cpp
void InstallMarkupLink();  // markup/box_markup.cpp

}  // namespace ui
