#pragma once

#include <windows.h>

// Where the in-meeting window puts its parts at a client size, and what a point of its frame
// means to the system. No window is touched here; the window applies the results.
namespace ZuvraKestrum::Live {

// The skin's bars as the layout reads them; a bar not laid out yet has the height it will get.
constexpr int kTitleHeight = 34;
constexpr int kToolBarHeight = 51;
// The tile strip on the left and the side panels (chat, participants) on the right.
constexpr int kStripWidth = 197;
constexpr int kPanelWidth = 250;
// The self tile in the top right corner of the big view.
constexpr int kSelfTileWidth = 170;
constexpr int kSelfTileHeight = 174;
constexpr int kSelfTileRightInset = 190;
constexpr int kSelfTileTop = 54;

// Client rectangles (left, top, right, bottom) of the window's child windows.
struct LiveLayout {
    RECT video;     // the big view between the title bar and the tool bar
    RECT strip;     // the tile strip, along the left edge of the big view
    RECT panel;     // the chat or participants panel, along its right edge
    RECT selfTile;  // the own small picture
};

// The layout at client size `client` with the title bar and the tool bar at the given places
// (control positions as the skin laid them out; an empty rectangle takes the default height).
LiveLayout LayOut(SIZE client, const RECT& title, const RECT& toolBar);

// What the system should take a point for (HT* codes). `client` is the client size, `sizeBox`
// the skin's sizing margins, `captionBand` the caption in client coordinates; `zoomed` turns
// the sizing margins off; `overClickable` says a button or option lies under the point, which
// then takes its click even inside the caption.
UINT HitTest(POINT point, SIZE client, const RECT& sizeBox, const RECT& captionBand, bool zoomed,
             bool overClickable);

}  // namespace ZuvraKestrum::Live
