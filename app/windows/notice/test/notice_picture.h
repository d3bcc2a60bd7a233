#pragma once

#include <windows.h>

#include <string>

#include "app/windows/skeleton/dui_frame_window.h"

// Pictures of a window of the skeleton, read from the pixels its paint manager drew.
namespace notice_testing {

// Paints the whole window now.
void Repaint(CDuiFrameWindow* window);

// Pixels inside rect (client coordinates) that differ clearly from the window's background
// colour (the colour at its centre-left edge, inside the border): text, images, borders.
int InkIn(CDuiFrameWindow* window, const RECT& rect);

// Saves the window's pixels as a PNG in the "pictures" folder beside the test programs; false
// when it could not be written.
bool SavePicture(CDuiFrameWindow* window, const std::wstring& name);

}  // namespace notice_testing
