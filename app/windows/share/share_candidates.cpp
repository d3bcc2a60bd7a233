#include "app/windows/share/share_candidates.h"

#include "app/windows/share/share_rules.h"

namespace ZuvraKestrum::Share {

namespace {

// Nothing here sends a message to the window: the class name and the style are read from the
// system's own record of it.
WindowFacts ReadWindowFacts(HWND window, DWORD ownProcess) {
    WindowFacts facts;
    facts.ownProcess = ProcessOf(window) == ownProcess;
    facts.owned = GetWindow(window, GW_OWNER) != nullptr;
    facts.sizable = (GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
    facts.minimised = IsIconic(window) != FALSE;
    facts.visible = IsWindowVisible(window) != FALSE;
    wchar_t className[MAX_PATH] = {};
    GetClassNameW(window, className, MAX_PATH);
    facts.className = className;
    return facts;
}

struct CandidateSearch {
    DWORD ownProcess;
    std::vector<HWND> found;
};

BOOL CALLBACK KeepCandidate(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<CandidateSearch*>(data);
    if (IsShareCandidate(ReadWindowFacts(window, search->ownProcess))) {
        search->found.push_back(window);
    }
    return TRUE;  // the enumeration always goes on
}

}  // namespace

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(window, &process) != 0 ? process : 0;
}

std::vector<HWND> FindShareCandidates(DWORD ownProcess) {
    CandidateSearch search{ownProcess, {}};
    EnumWindows(&KeepCandidate, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace ZuvraKestrum::Share
