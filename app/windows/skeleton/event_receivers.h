#pragma once

#include <windows.h>

#include <atomic>

#include "app/windows/skeleton/window_registration.h"

class CKestrumZuvra;

// The registrations a window makes on the program's two posters, as makers for
// CDuiFrameWindow::registerWith: each does both halves, the registering now and, in what it
// returns, the undoing. The window's thread.

// The poster whose target is `target` (the course bridge's targetWindow) posts to window from
// now on. Undone, it posts to nobody, unless another window has become its target meanwhile.
[[nodiscard]] CWindowRegistration TargetWindow(std::atomic<HWND>& target, HWND window);

// The engine's event sink posts to window from now on. Undone while window still receives, the
// events go to `successor` (null: nobody); a window that took them over meanwhile keeps them.
[[nodiscard]] CWindowRegistration ReceiveEngineEvents(CKestrumZuvra& engine, HWND window,
                                                      HWND successor);
