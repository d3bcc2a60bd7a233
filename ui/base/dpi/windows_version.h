#pragma once

#include <windows.h>

// Version tests of the running system. Safe on any thread.
namespace ui {

// True on Windows 6.<minor> (service pack 0) or later: minor 0 is Vista, 2 is Windows 8.
bool IsWindows6OrLater(WORD minor);

bool IsWindowsVistaOrLater();
bool IsWindows8OrLater();

}  // namespace ui
