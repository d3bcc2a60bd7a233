#pragma once

#include <string>

#include "ui/controls/render/gdiplus_headers.h"

// Text through GDI+ with the framework's fonts (by index into the resource manager's list) and
// Win32 DT_ style flags. The string format is a fresh clone of the generic typographic format
// on every call, so no shared GDI+ object is modified. UI thread only.
namespace ui {
namespace gdiplus_text {

// The face name that draws one pixel too high when centred vertically.
extern const wchar_t kNewSongTypeface[];
// The sample whose height is the height of one line of text.
extern const wchar_t kLineSample[];

// Draws text into layout on dc. alpha scales the colour's own alpha; fully opaque text is drawn
// with alpha 254, which keeps GDI+ on its alpha-preserving glyph path in a 32-bit bitmap.
void Draw(HDC dc, const RECT& layout, const std::wstring& text, Gdiplus::ARGB color,
          int font_index, UINT style, BYTE alpha, bool line_limit);

// The bounding box of text, one pixel added to width and height; width -1 means unbounded.
RECT Measure(HDC dc, const std::wstring& text, int font_index, UINT style, int width);

// The alpha byte DrawText uses for color and alpha.
BYTE TextAlpha(Gdiplus::ARGB color, BYTE alpha);

}  // namespace gdiplus_text
}  // namespace ui
