#pragma once

#include <windows.h>

namespace DuiLib {
class CListUI;
struct TEventUI;
}  // namespace DuiLib

// The wheel motion of the meeting's lists: each notch adds speed, and the speed then decays
// quadratically over a number of timer ticks that grows with the square root of the speed, so a
// flick glides and slows down instead of jumping by a fixed amount. Reversing the wheel during
// a motion brakes harder (12) than a notch from rest or in the same direction adds (8).
//
// A plain value: no window types, one owner, the owner's thread.
class KineticScroll {
public:
    static constexpr int kMaxVelocity = 100;
    static constexpr UINT kPeriodMs = 50;
    enum Wheel { kWheelUp = 0, kWheelDown = 1 };

    // A wheel notch (kWheelUp / kWheelDown; other codes keep the speed) restarts the motion.
    void wheel(int code);
    // One timer tick. Returns the pixels to move towards the top (negative: towards the end),
    // 0 when the motion is over. The caller stops the motion when the step is 0 or the list
    // already stands at that edge.
    int tick();
    void stop();

    bool running() const { return steps_ != 0; }
    int velocity() const { return velocity_; }
    int steps() const { return steps_; }
    int stepsLeft() const { return stepsLeft_; }

private:
    int currentStep() const;

    int velocity_ = 0;  // pixels per tick at the start, positive towards the top
    int steps_ = 0;
    int stepsLeft_ = 0;
};

// Drives a list's wheel and timer events through the motion on the list's control timer
// timerId. Returns true when the event was taken (the caller then skips the list's own
// handling): wheel events, the motion's timer, and mouse events of a list that takes no mouse
// input (handed to its parent, so rows above it still see them).
bool HandleKineticScrollEvent(DuiLib::CListUI& list, KineticScroll& scroll, DuiLib::TEventUI& event,
                              UINT timerId);
