#pragma once

#include <windows.h>

#include <vector>

// Which top-level windows the picker offers, read from the system without sending any of them a
// message (ZuvraKestrum::Share::IsShareCandidate decides on what is read). Any thread.
namespace ZuvraKestrum::Share {

// The process of window; 0 when the window is gone.
DWORD ProcessOf(HWND window);

// The candidate windows in the system's order, none of them one of ownProcess's.
std::vector<HWND> FindShareCandidates(DWORD ownProcess);

}  // namespace ZuvraKestrum::Share
