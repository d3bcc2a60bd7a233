#pragma once

#include <windows.h>

// Geometry of the borderless window frame, apart from any window so that it can be checked
// on its own.
namespace ZuvraKestrum::Frame {

// The caption band in client coordinates: its left and right are insets from the client
// rectangle's edges, its top and bottom are client coordinates as they stand.
RECT CaptionBand(const RECT& client, const RECT& caption);

// True when the point lies in the band: left and top inclusive, right and bottom exclusive.
bool InBand(const RECT& band, POINT point);

// The maximised position and size for a monitor: the work area taken relative to the
// monitor's origin. The size is the work area's width and height, so a task bar on the left
// or at the top does not push the window past the monitor's far edge.
void PlaceMaximised(const RECT& work, const RECT& monitor, MINMAXINFO& info);

// A region of the window rectangle moved to 0,0 and grown by one pixel to the right and the
// bottom, with elliptic corners of `corner`. The caller owns the region.
HRGN RoundedWindowRegion(const RECT& window, SIZE corner);

}  // namespace ZuvraKestrum::Frame
