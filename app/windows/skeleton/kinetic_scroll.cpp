#include "app/windows/skeleton/kinetic_scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "duilib/list_ui.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/ui_event.h"

int KineticScroll::currentStep() const {
    if (steps_ == 0) return 0;
    const double share = static_cast<double>(stepsLeft_) / steps_;
    return static_cast<int>(share * share * velocity_);
}

void KineticScroll::wheel(int code) {
    const int current = currentStep();
    if (code == kWheelUp)
        velocity_ = current + (velocity_ >= 0 ? 8 : 12);
    else if (code == kWheelDown)
        velocity_ = current - (velocity_ > 0 ? 12 : 8);
    velocity_ = std::clamp(velocity_, -kMaxVelocity, kMaxVelocity);
    steps_ = stepsLeft_ = 5 * static_cast<int>(std::sqrt(std::abs(velocity_)));
}

int KineticScroll::tick() {
    if (stepsLeft_ == 0) return 0;
    --stepsLeft_;
    return currentStep();
}

void KineticScroll::stop() { velocity_ = steps_ = stepsLeft_ = 0; }

namespace {

bool IsMouseEvent(int type) {
    return type > DuiLib::UIEVENT__MOUSEBEGIN && type < DuiLib::UIEVENT__MOUSEEND;
}

void StopMotion(DuiLib::CListUI& list, KineticScroll& scroll, UINT timerId) {
    scroll.stop();
    if (list.GetManager() != nullptr) list.GetManager()->KillTimer(&list, timerId);
}

void Glide(DuiLib::CListUI& list, KineticScroll& scroll, UINT timerId) {
    const int step = scroll.tick();
    SIZE pos = list.GetScrollPos();
    const bool canMove =
        (step > 0 && pos.cy != 0) || (step < 0 && pos.cy != list.GetScrollRange().cy);
    if (!canMove) {
        StopMotion(list, scroll, timerId);
        return;
    }
    pos.cy -= step;
    list.SetScrollPos(pos);
}

}  // namespace

bool HandleKineticScrollEvent(DuiLib::CListUI& list, KineticScroll& scroll, DuiLib::TEventUI& event,
                              UINT timerId) {
    if (!list.IsMouseEnabled() && IsMouseEvent(event.Type)) {
        if (list.GetParent() != nullptr)
            list.GetParent()->DoEvent(event);
        else
            list.CVerticalLayoutUI::DoEvent(event);
        return true;
    }
    if (event.Type == DuiLib::UIEVENT_TIMER && event.wParam == timerId) {
        Glide(list, scroll, timerId);
        return true;
    }
    if (event.Type == DuiLib::UIEVENT_SCROLLWHEEL) {
        scroll.wheel(LOWORD(event.wParam));
        if (list.GetManager() != nullptr)
            list.GetManager()->SetTimer(&list, timerId, KineticScroll::kPeriodMs);
        return true;
    }
    return false;
}
