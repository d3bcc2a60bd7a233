#include "app/windows/live/bar_hiding.h"

namespace live {

namespace {

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

}  // namespace

BarHiding::Step BarHiding::Maximised(POINT cursor) {
    maximised_ = true;
    lastCursor_ = cursor;
    return barsShown_ ? Step::kRestartTimer : Step::kNothing;
}

BarHiding::Step BarHiding::Restored() {
    maximised_ = false;
    if (barsShown_) return Step::kNothing;
    barsShown_ = true;
    return Step::kShowBars;
}

BarHiding::Step BarHiding::MouseMoved(POINT point) {
    if (!maximised_ || SamePoint(point, lastCursor_)) return Step::kNothing;
    lastCursor_ = point;
    if (barsShown_) return Step::kRestartTimer;
    barsShown_ = true;
    return Step::kShowBars;
}

BarHiding::Step BarHiding::TimerTicked(POINT cursor, bool panelOpen) {
    if (!maximised_ || !barsShown_) return Step::kNothing;
    const bool rested = SamePoint(cursor, lastCursor_);
    lastCursor_ = cursor;
    if (!rested || panelOpen) return Step::kNothing;
    barsShown_ = false;
    return Step::kHideBars;
}

}  // namespace live
