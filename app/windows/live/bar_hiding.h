#pragma once

#include <windows.h>

// While the in-meeting window is maximised, its title bar, tool bar and cursor go away once
// the mouse rests, and come back when it moves. This decides when; the window runs the timer
// and shows or hides what the decision says.
//
// The rest timer runs whenever the window is maximised and the bars are up: every move restarts
// it, and its tick hides the bars when the cursor has not moved since the last move or tick and
// no side panel (tile strip, chat, participants) is open; with a panel open the bars stay and
// the timer keeps running. Points are screen coordinates.
namespace ZuvraKestrum::Live {

class BarHiding {
public:
    static constexpr UINT kDefaultRestMs = 5000;

    enum class Step {
        kNothing,
        kRestartTimer,  // restart the rest timer
        kShowBars,      // show the bars and the cursor, restart the rest timer
        kHideBars,      // stop the rest timer, hide the bars and the cursor
    };

    bool maximised() const { return maximised_; }
    bool barsShown() const { return barsShown_; }

    // The window filled the work area (cursor: where the mouse is now).
    Step onMaximised(POINT cursor);
    // The window left the work area; bars that were hidden come back (the timer stops).
    Step onRestored();
    // The mouse moved to `point`. Systems repeat the last position when the cursor is shown
    // again; a move to where the mouse already was changes nothing.
    Step onMouseMoved(POINT point);
    // The rest timer ticked with the cursor at `cursor`.
    Step onTimerTicked(POINT cursor, bool panelOpen);

private:
    bool maximised_ = false;
    bool barsShown_ = true;
    POINT lastCursor_{};
};

}  // namespace ZuvraKestrum::Live
