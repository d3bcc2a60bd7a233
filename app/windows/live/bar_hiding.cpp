#include "app/windows/live/bar_hiding.h"

namespace ZuvraKestrum::Live {

namespace {

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

}  // namespace

BarHiding::Step BarHiding::onMaximised(POINT cursor) {
    maximised_ = true;
    lastCursor_ = cursor;
    return barsShown_ ? Step::kRestartTimer : Step::kNothing;
}

BarHiding::Step BarHiding::onRestored() {
    maximised_ = false;
    if (barsShown_) return Step::kNothing;
    barsShown_ = true;
    return Step::kShowBars;
}

BarHiding::Step BarHiding::onMouseMoved(POINT point) {
    if (!maximised_ || SamePoint(point, lastCursor_)) return Step::kNothing;
    lastCursor_ = point;
    if (barsShown_) return Step::kRestartTimer;
    barsShown_ = true;
    return Step::kShowBars;
}

BarHiding::Step BarHiding::onTimerTicked(POINT cursor, bool panelOpen) {
    if (!maximised_ || !barsShown_) return Step::kNothing;
    const bool rested = SamePoint(cursor, lastCursor_);
    lastCursor_ = cursor;
    if (!rested || panelOpen) return Step::kNothing;
    barsShown_ = false;
    return Step::kHideBars;
}

}  // namespace ZuvraKestrum::Live
