#include "app/windows/live/live_layout.h"

namespace ZuvraKestrum::Live {

LiveLayout LayOut(SIZE client, const RECT& title, const RECT& toolBar) {
    const int titleBottom = title.bottom != 0 ? title.bottom : kTitleHeight;
    const int titleHeight = titleBottom - title.top;
    const int barHeight = toolBar.bottom != 0 ? toolBar.bottom - toolBar.top : kToolBarHeight;
    const int width = client.cx;
    const int bottom = titleBottom + (client.cy - titleHeight - barHeight);

    LiveLayout layout;
    layout.video = RECT{0, titleBottom, width, bottom};
    layout.strip = RECT{0, titleBottom, kStripWidth, bottom};
    layout.panel = RECT{width - kPanelWidth, titleBottom, width, bottom};
    const int tileLeft = width - kSelfTileRightInset;
    layout.selfTile =
        RECT{tileLeft, kSelfTileTop, tileLeft + kSelfTileWidth, kSelfTileTop + kSelfTileHeight};
    return layout;
}

UINT HitTest(POINT point, SIZE client, const RECT& sizeBox, const RECT& captionBand, bool zoomed,
             bool overClickable) {
    if (!zoomed) {
        const bool left = point.x < sizeBox.left;
        const bool right = point.x >= client.cx - sizeBox.right;
        if (point.y < sizeBox.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (point.y >= client.cy - sizeBox.bottom) {
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        }
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if (PtInRect(&captionBand, point) && !overClickable) return HTCAPTION;
    return HTCLIENT;
}

}  // namespace ZuvraKestrum::Live
