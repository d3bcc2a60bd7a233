#pragma once

#include <vector>

#include <windows.h>

namespace ui {

// One blit of an image: where it goes and which source pixels it takes.
struct ImagePart {
  RECT dest;
  RECT source;
};

// Splits an image drawn into dest from source into its nine parts. corners are the border
// widths in source pixels (left, top, right, bottom); dest_corners the same widths on the
// display (DPI-scaled). The middle comes first (one stretched part, or tiles at the source's
// own size row by row, the last tile of a row or column cut short), then the eight border parts
// from the top-left corner in reading order; a border part needs its corner widths positive.
// Parts that do not meet paint are left out, the middle as a whole, each border part on its own.
// Parts may still be empty or inverted when the corners exceed the image; the caller skips those.
std::vector<ImagePart> LayOutNinePartImage(const RECT& paint, const RECT& dest, const RECT& source,
                                           const RECT& corners, const RECT& dest_corners,
                                           bool xtiled, bool ytiled);

}  // namespace ui
