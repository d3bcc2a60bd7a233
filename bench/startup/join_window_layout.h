#pragma once

#include <windows.h>

#include <string>

// Where the join window's controls lie, found by laying out the program's own skin in this
// process: an invisible window of the join window's size built from "home-<language>.xml".
struct JoinWindowLayout {
    bool found = false;
    POINT roomEdit = {};
    POINT joinButton = {};
};

// resources: the program's "Resource\" folder, with its backslash. Starts the window framework in
// this process (on this thread) on the first call.
JoinWindowLayout LayOutJoinWindow(const std::wstring& resources);
