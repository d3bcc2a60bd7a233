#pragma once

#include <windows.h>

// How the course bridge finds the program's dialogs from the service library's threads: by the
// window name the dialog table gives each id, among the top-level windows of the UI thread (a
// hidden dialog counts). The table itself belongs to the UI thread and is not read here.
namespace ZuvraKestrum::Startup {

// Makes the calling thread the UI thread of the look-up and installs it in the course bridge.
// Call on the UI thread before the first dialog exists.
void InstallDialogWindowLookup();

// The window of a dialog id on the UI thread; null when it is not open, for ids outside 0-5 and
// for 6 (the in-meeting window carries the profile window's name, so a name cannot tell them
// apart; the bridge never looks it up). Any thread.
HWND FindDialogWindow(int dialog);

}  // namespace ZuvraKestrum::Startup
