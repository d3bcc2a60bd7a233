#pragma once

#include <windows.h>

namespace ui {

// Opaque colour fills written straight into the pixels of a render context's bitmap. GDI+ fills
// a rectangle through a buffer as large as the rectangle whatever the clip, which makes a
// window-sized background cost more than all the text on it; an opaque colour simply replaces
// each pixel, so the same result can be written row by row. UI thread only.

// The part of rect (logical coordinates of dc) inside the DC's clip box; false when none is.
bool ClipToDrawable(HDC dc, const RECT& rect, RECT& drawable);

// Sets every pixel of rect (logical coordinates of dc) that the DC's clip region lets through to
// argb (alpha 255: the value GDI+ leaves for an opaque fill). bits are the top-down 32-bit
// pixels, width x height, of the bitmap selected into dc. False, drawing nothing, when the DC
// maps coordinates in a way other than a plain shift of the origin.
bool FillOpaque(HDC dc, void* bits, int width, int height, const RECT& rect, DWORD argb);

}  // namespace ui
