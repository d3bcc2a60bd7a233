#include "app/dialog_windows.h"

#include <atomic>
#include <cwchar>
#include <iterator>

#include "kestrum/core/kestrum_course.h"

namespace ZuvraKestrum::Startup {

namespace {

// The window names of dialogs 0 to 5, as the dialog table creates them.
constexpr const wchar_t* kDialogNames[] = {L"LoginHome", L"SettingNickName", L"SetAV",
                                           L"SetRoom",   L"SetOwnRoom",      L"UserConfig"};

std::atomic<DWORD> uiThread{0};

struct Search {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK MatchName(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    // Not GetWindowTextW: for another thread's window that waits for the UI thread, which may
    // itself be waiting for the service library's workers.
    wchar_t name[32] = {};
    InternalGetWindowText(window, name, 32);
    if (std::wcscmp(name, search->name) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

void InstallDialogWindowLookup() {
    uiThread = GetCurrentThreadId();
    CKestrumCourse::setDialogWindowLookup(&FindDialogWindow);
}

HWND FindDialogWindow(int dialog) {
    const DWORD thread = uiThread.load();
    if (thread == 0 || dialog < 0 || dialog >= static_cast<int>(std::size(kDialogNames)))
        return nullptr;
    Search search = {kDialogNames[dialog], nullptr};
    EnumThreadWindows(thread, &MatchName, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace ZuvraKestrum::Startup
