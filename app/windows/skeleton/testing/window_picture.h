#pragma once

#include <windows.h>

#include <string>

#include "app/windows/skeleton/dui_frame_window.h"

// What the window tests read of a drawn window: its pixels, as its paint manager last drew them,
// and a picture of it kept beside the test programs. UI thread; GDI+ must be running.
namespace window_testing {

// Redraws the window now.
void Repaint(CDuiFrameWindow* window);

// The colour (0xAARRGGBB) at a client point of the window's last drawing; 0 outside it.
DWORD PixelAt(CDuiFrameWindow* window, int x, int y);

// How many pixels of rect (client coordinates) differ clearly from `background`: text, images
// and borders on it.
int CountDiffering(CDuiFrameWindow* window, const RECT& rect, DWORD background);

// Redraws the window and writes its drawing, opaque as on the screen, to
// "<build>\pictures\<fileName>"; false when it could not be written.
bool SavePicture(CDuiFrameWindow* window, const std::wstring& fileName);

}  // namespace window_testing
