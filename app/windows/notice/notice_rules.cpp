#include "app/windows/notice/notice_rules.h"

#include <thread>

#include "kestrum/core/util_process.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Notice {

namespace {

const wchar_t* InLanguage(int language, const wchar_t* english, const wchar_t* chinese) {
    return language != 0 ? chinese : english;
}

const wchar_t* IconOf(int type) {
    if (type == kError) return L"notice/error.png";
    if (ShowsUpdateButton(type)) return L"notice/upgrade.png";
    return L"notice/warning.png";
}

const wchar_t* CloseTextOf(int type, int language) {
    switch (StepAfterClose(type)) {
    case CloseStep::kQuit:
        return InLanguage(language, L"Quit", L"退出");
    case CloseStep::kShowJoinWindow:
        return InLanguage(language, L"Later", L"以后再说");
    default:
        return InLanguage(language, L"OK", L"确定");
    }
}

}  // namespace

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

BoxDecor DecorOf(int type, int language) {
    return BoxDecor{IconOf(type), ShowsUpdateButton(type), CloseTextOf(type, language)};
}

const wchar_t* UpdateText(int language) { return InLanguage(language, L"Update now", L"立即升级"); }

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
    const DWORD upgrader = Util::StartProcess(road.upgrader, Util::CStringToString(argument));
    // The program stays: so does the reporter of its crashes, started as at the start.
    if (upgrader == 0) Util::StartProcess(road.crashReporter, "");
    return upgrader;
}

UpdateStep PressUpdate(int type, const UpgradeRoad& road, const std::wstring& argument) {
    if (!RunsUpgrade(type)) return UpdateStep::kNothing;
    return RunUpgrade(road, argument) != 0 ? UpdateStep::kQuit : UpdateStep::kSayNotStarted;
}

const wchar_t* UpgradeNotStartedText(int language) {
    return InLanguage(language, L"The update could not be started. Please try again later.",
                      L"无法启动升级程序，请稍后重试。");
}

}  // namespace ZuvraKestrum::Notice
