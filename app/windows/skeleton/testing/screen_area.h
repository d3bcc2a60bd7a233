#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/base/render/render_context.h"

namespace window_testing {

// What the user sees of an area of the screen, read once when made: every window drawn there,
// child windows (videos, tiles) and other processes' windows included.
// Threads: any; GDI+ must be running to save.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& area);
    // The area the window covers on the screen.
    static ScreenArea Of(HWND window);

    // The colour at a screen point inside the area; CLR_INVALID outside or when the area could
    // not be read.
    COLORREF At(int x, int y) const;
    // How many pixels of rect (screen coordinates) have this colour.
    int Count(const RECT& rect, COLORREF colour) const;
    // Written, opaque, to the test programs' pictures folder as fileName.
    bool Save(const std::wstring& fileName) const;

private:
    RECT area_;
    std::unique_ptr<ui::IRenderContext> context_;
};

}  // namespace window_testing
