#pragma once

#include <string>
#include <vector>

#include "ui/base/render/gdiplus_headers.h"

// Text through GDI+ with the framework's fonts (by index into the resource manager's list) and
// Win32 DT_ style flags. The string format is a fresh clone of the generic typographic format
// on every call, so no shared GDI+ object is modified. UI thread only.
namespace ui {
namespace gdiplus_text {

// The face name that draws one pixel too high when centred vertically.
extern const wchar_t kNewSongTypeface[];
// The sample whose height is the height of one line of text.
extern const wchar_t kLineSample[];

// GDI+ fonts made from GDI fonts, kept by the LOGFONT they were made from. Making a GDI+ font
// looks the face up among the installed fonts, which costs more than drawing a short label; a
// render context keeps one cache for all its text. The key is the font's description, not its
// handle, so a font list that is rebuilt (a new size, another face, a handle reused by the
// system) never finds a font made for an earlier one. Fonts are made on memory DCs in the
// default mapping mode, where the DC does not change the result. Owned by one render context,
// which ends before GDI+ does.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The GDI+ font for font, owned by the cache; null when font cannot be read or made.
  Gdiplus::GpFont* Get(HDC dc, HFONT font);
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    LOGFONTW logfont;
    Gdiplus::GpFont* font;
  };
  void Clear();

  std::vector<Entry> entries_;
};

// Draws text into layout on dc. alpha scales the colour's own alpha; fully opaque text is drawn
// with alpha 254, which keeps GDI+ on its alpha-preserving glyph path in a 32-bit bitmap.
void Draw(HDC dc, FontCache& fonts, const RECT& layout, const std::wstring& text,
          Gdiplus::ARGB color, int font_index, UINT style, BYTE alpha, bool line_limit);

// The bounding box of text, one pixel added to width and height; width -1 means unbounded.
RECT Measure(HDC dc, FontCache& fonts, const std::wstring& text, int font_index, UINT style,
             int width);

// The alpha byte DrawText uses for color and alpha.
BYTE TextAlpha(Gdiplus::ARGB color, BYTE alpha);

}  // namespace gdiplus_text
}  // namespace ui
