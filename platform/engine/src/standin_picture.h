#pragma once

#include <windows.h>

#include <cstdint>

namespace kestrum::engine {

// Draws one frame of the generated test picture into the window's client area: a field in a
// colour derived from the uid, the uid (or "local") as text, and a mark that moves with the
// frame number. A window that is gone is skipped. Any thread (GetDC needs no message loop).
void DrawTestPicture(HWND window, uint32_t uid, bool local, unsigned frame);

}  // namespace kestrum::engine
