#include "app/windows/notice/notice_rules.h"

#include <thread>

#include "kestrum/core/util_process.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Notice {

bool ShowsUpdateButton(int type) { return type >= kForcedUpgrade; }

bool RunsUpgrade(int type) { return type == kForcedUpgrade || type == kOptionalUpgrade; }

CloseStep StepAfterClose(int type) {
    switch (type) {
    case kForcedUpgrade:
        return CloseStep::kQuit;
    case kOptionalUpgrade:
        return CloseStep::kShowJoinWindow;
    default:
        return CloseStep::kNothing;
    }
}

POINT CentreOver(const RECT& owner, SIZE box) {
    const LONG width = owner.right - owner.left;
    const LONG height = owner.bottom - owner.top;
    return POINT{owner.left + (width - box.cx) / 2, owner.top + (height - box.cy) / 2};
}

DWORD RunUpgrade(const UpgradeRoad& road, const std::wstring& argument) {
    // A crash reporter that still runs would hold files the upgrader replaces.
    std::thread stopper([&road] {
        int count = 0;
        Util::KillProcessByName(road.crashReporter, count);
    });
    stopper.join();
    return Util::StartProcess(road.upgrader, Util::CStringToString(argument));
}

}  // namespace ZuvraKestrum::Notice
