#pragma once

#include <windows.h>

namespace ui {

// The rectangles that decide where a point of a skinned window falls, in client coordinates.
struct WindowFrame {
  RECT client = {0, 0, 0, 0};
  // The shadow's current margin; zero without a shadow or while maximised.
  RECT shadow = {0, 0, 0, 0};
  // Widths of the resize borders inside the body (unscaled, as the markup gives them).
  RECT size_box = {0, 0, 0, 0};
  // The draggable band, relative to the body: left and right are insets from the body's sides,
  // top and bottom offsets from its top. All zeros: no caption.
  RECT caption = {0, 0, 0, 0};
  bool maximized = false;
};

// Where point falls: HTCLIENT, one of the eight sizing codes, or HTCAPTION for a point inside
// the caption band (the caller decides whether the control there drags the window). The shadow
// margin is client area: it neither resizes nor drags. A maximised window has no resize border.
LRESULT HitTestWindowFrame(const WindowFrame& frame, POINT point);

}  // namespace ui
