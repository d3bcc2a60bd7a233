#include "app/windows/skeleton/frame_geometry.h"

namespace ZuvraKestrum::Frame {

RECT CaptionBand(const RECT& client, const RECT& caption) {
    return RECT{client.left + caption.left, caption.top, client.right - caption.right,
                caption.bottom};
}

bool InBand(const RECT& band, POINT point) { return PtInRect(&band, point) != FALSE; }

void PlaceMaximised(const RECT& work, const RECT& monitor, MINMAXINFO& info) {
    RECT relative = work;
    OffsetRect(&relative, -monitor.left, -monitor.top);
    info.ptMaxPosition.x = relative.left;
    info.ptMaxPosition.y = relative.top;
    info.ptMaxSize.x = relative.right - relative.left;
    info.ptMaxSize.y = relative.bottom - relative.top;
}

HRGN RoundedWindowRegion(const RECT& window, SIZE corner) {
    RECT shape = window;
    OffsetRect(&shape, -shape.left, -shape.top);
    return CreateRoundRectRgn(shape.left, shape.top, shape.right + 1, shape.bottom + 1, corner.cx,
                              corner.cy);
}

}  // namespace ZuvraKestrum::Frame
