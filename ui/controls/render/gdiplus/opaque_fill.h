#pragma once

#include <windows.h>

namespace ui {

// Opaque colour fills written straight into the pixels of a render context's bitmap. GDI+ fills
// a rectangle through a buffer as large as the rectangle whatever the clip, which makes a
// window-sized background cost more than all the text on it; an opaque colour simply replaces
// each pixel, so the same result can be written row by row. The same holds for the outline of a
// window-sized border: GDI+ strokes it through a buffer as large as the window, though it covers
// a few rows and columns. UI thread only.

// The part of rect (logical coordinates of dc) inside the DC's clip box; false when none is.
bool ClipToDrawable(HDC dc, const RECT& rect, RECT& drawable);

// Sets every pixel of rect (logical coordinates of dc) that the DC's clip region lets through to
// argb (alpha 255: the value GDI+ leaves for an opaque fill). bits are the top-down 32-bit
// pixels, width x height, of the bitmap selected into dc. False, drawing nothing, when the DC
// maps coordinates in a way other than a plain shift of the origin.
bool FillOpaque(HDC dc, void* bits, int width, int height, const RECT& rect, DWORD argb);

// The pixels that GDI+, without antialiasing, covers when it strokes the outline of rect (a
// rectangle of rect.right - rect.left by rect.bottom - rect.top, whose right and bottom edges
// are drawn too) with a pen of width pen_width centred on it: four strips, as rectangles that
// leave out their right and bottom edges, some overlapping. False when the pen's edges would fall
// on pixel centres (an even width, which GDI+ rounds as it likes), for a width below 1 and for an
// empty or inverted rect.
bool OutlineParts(const RECT& rect, int pen_width, RECT parts[4]);

// The same for a line from (line.left, line.top) to (line.right, line.bottom) with flat ends: its
// body, the end point left out. False unless the line runs right or down along one axis, or for
// a width that OutlineParts refuses.
bool StraightLinePart(const RECT& line, int pen_width, RECT& part);

}  // namespace ui
