#include "ui/controls/render/gdiplus/gdiplus_text.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <memory>

#include "ui/controls/render/gdiplus/render_resources.h"

namespace ui {
namespace gdiplus_text {

const wchar_t kNewSongTypeface[] = L"\u65B0\u5B8B\u4F53";
const wchar_t kLineSample[] = L"\u6D4B\u8BD5";

namespace {

namespace flat = Gdiplus::DllExports;

// The text path uses the flat API: the wrapper classes cache the generic typographic format
// for the whole process, which would outlive a GDI+ shutdown.
struct GraphicsDeleter {
  void operator()(Gdiplus::GpGraphics* graphics) const { flat::GdipDeleteGraphics(graphics); }
};
struct FontDeleter {
  void operator()(Gdiplus::GpFont* font) const { flat::GdipDeleteFont(font); }
};
struct FormatDeleter {
  void operator()(Gdiplus::GpStringFormat* format) const { flat::GdipDeleteStringFormat(format); }
};
struct BrushDeleter {
  void operator()(Gdiplus::GpSolidFill* brush) const { flat::GdipDeleteBrush(brush); }
};
using GraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GraphicsDeleter>;
using FontPtr = std::unique_ptr<Gdiplus::GpFont, FontDeleter>;
using FormatPtr = std::unique_ptr<Gdiplus::GpStringFormat, FormatDeleter>;
using BrushPtr = std::unique_ptr<Gdiplus::GpSolidFill, BrushDeleter>;

GraphicsPtr MakeGraphics(HDC dc) {
  Gdiplus::GpGraphics* graphics = nullptr;
  if (flat::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return nullptr;
  return GraphicsPtr(graphics);
}

// The DC's current font, for an index outside the list or a listed font that cannot be made.
FontPtr MakeFontFromDC(HDC dc) {
  Gdiplus::GpFont* font = nullptr;
  if (flat::GdipCreateFontFromDC(dc, &font) != Gdiplus::Ok) return nullptr;
  return FontPtr(font);
}

// The font to draw with: the listed one from the cache, else the DC's (then owned by fallback).
Gdiplus::GpFont* ChooseFont(HDC dc, FontCache& fonts, const render_resources::FontFacts& facts,
                            FontPtr& fallback) {
  if (facts.font) {
    if (Gdiplus::GpFont* font = fonts.Get(dc, facts.font)) return font;
  }
  fallback = MakeFontFromDC(dc);
  return fallback.get();
}

bool SameLogfont(const LOGFONTW& a, const LOGFONTW& b) {
  // Everything before the face name is plain numbers; the face ends at its terminator.
  return std::memcmp(&a, &b, offsetof(LOGFONTW, lfFaceName)) == 0 &&
         std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

// More distinct fonts than a window shows at once means descriptions keep changing (a scale
// being dragged, fonts rebuilt): starting over bounds the cache.
constexpr size_t kMaxCachedFonts = 32;

FormatPtr MakeTypographicFormat() {
  Gdiplus::GpStringFormat* generic = nullptr;
  if (flat::GdipStringFormatGetGenericTypographic(&generic) != Gdiplus::Ok) return nullptr;
  Gdiplus::GpStringFormat* clone = nullptr;
  if (flat::GdipCloneStringFormat(generic, &clone) != Gdiplus::Ok) return nullptr;
  return FormatPtr(clone);
}

INT FormatFlags(UINT style, bool line_limit) {
  INT flags = 0;
  if (style & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
  if (style & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
  if (line_limit) flags |= Gdiplus::StringFormatFlagsLineLimit;
  return flags;
}

Gdiplus::StringAlignment HorizontalAlignment(UINT style) {
  if (style & DT_CENTER) return Gdiplus::StringAlignmentCenter;
  if (style & DT_RIGHT) return Gdiplus::StringAlignmentFar;
  return Gdiplus::StringAlignmentNear;
}

Gdiplus::StringAlignment VerticalAlignment(UINT style) {
  if (style & DT_VCENTER) return Gdiplus::StringAlignmentCenter;
  if (style & DT_BOTTOM) return Gdiplus::StringAlignmentFar;
  return Gdiplus::StringAlignmentNear;
}

FormatPtr MakeDrawFormat(UINT style, bool line_limit) {
  FormatPtr format = MakeTypographicFormat();
  if (!format) return nullptr;
  if (style & DT_END_ELLIPSIS) {
    flat::GdipSetStringFormatTrimming(format.get(), Gdiplus::StringTrimmingEllipsisCharacter);
  }
  flat::GdipSetStringFormatFlags(format.get(), FormatFlags(style, line_limit));
  flat::GdipSetStringFormatAlign(format.get(), HorizontalAlignment(style));
  flat::GdipSetStringFormatLineAlign(format.get(), VerticalAlignment(style));
  return format;
}

Gdiplus::RectF ToRectF(const RECT& rect) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}

// The new-Song face sits one pixel high in a vertically centred line that has room for it.
bool NeedsNewSongShift(const render_resources::FontFacts& facts, UINT style,
                       const Gdiplus::RectF& layout) {
  return (style & DT_VCENTER) && facts.face == kNewSongTypeface &&
         layout.Height >= static_cast<Gdiplus::REAL>(facts.size + 2);
}

Gdiplus::RectF MeasureIn(Gdiplus::GpGraphics* graphics, const std::wstring& text,
                         Gdiplus::GpFont* font, Gdiplus::GpStringFormat* format,
                         const Gdiplus::RectF& layout) {
  Gdiplus::RectF bounds;
  flat::GdipMeasureString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &layout,
                          format, &bounds, nullptr, nullptr);
  return bounds;
}

}  // namespace

FontCache::~FontCache() { Clear(); }

Gdiplus::GpFont* FontCache::Get(HDC dc, HFONT font) {
  // The wide LOGFONT: a narrow one mangles Chinese face names.
  LOGFONTW logfont{};
  if (::GetObjectW(font, sizeof(logfont), &logfont) != sizeof(logfont)) return nullptr;
  for (const Entry& entry : entries_) {
    if (SameLogfont(entry.logfont, logfont)) return entry.font;
  }
  Gdiplus::GpFont* made = nullptr;
  if (flat::GdipCreateFontFromLogfontW(dc, &logfont, &made) != Gdiplus::Ok) return nullptr;
  if (entries_.size() >= kMaxCachedFonts) Clear();
  entries_.push_back({logfont, made});
  return made;
}

void FontCache::Clear() {
  for (const Entry& entry : entries_) flat::GdipDeleteFont(entry.font);
  entries_.clear();
}

BYTE TextAlpha(Gdiplus::ARGB color, BYTE alpha) {
  const int color_alpha = static_cast<int>((color >> 24) & 0xFF);
  const int result = static_cast<int>(color_alpha / 255.0 * alpha);
  return static_cast<BYTE>(result >= 255 ? 254 : result);
}

void Draw(HDC dc, FontCache& fonts, const RECT& layout, const std::wstring& text,
          Gdiplus::ARGB color, int font_index, UINT style, BYTE alpha, bool line_limit) {
  const BYTE text_alpha = TextAlpha(color, alpha);
  // Invisible text (an unknown colour name reads as transparent) would cost a full layout.
  if (text.empty() || text_alpha == 0) return;
  GraphicsPtr graphics = MakeGraphics(dc);
  if (!graphics) return;
  render_resources::FontFacts facts;
  render_resources::LookUpFont(font_index, facts);
  FontPtr fallback;
  Gdiplus::GpFont* font = ChooseFont(dc, fonts, facts, fallback);
  FormatPtr format = MakeDrawFormat(style, line_limit);
  Gdiplus::GpSolidFill* raw_brush = nullptr;
  const Gdiplus::ARGB brush_color =
      (static_cast<Gdiplus::ARGB>(text_alpha) << 24) | (color & 0x00FFFFFF);
  if (!font || !format || flat::GdipCreateSolidFill(brush_color, &raw_brush) != Gdiplus::Ok) {
    return;
  }
  BrushPtr brush(raw_brush);
  Gdiplus::RectF rect = ToRectF(layout);
  if (!(style & DT_NOCLIP)) {
    // GDI+ clips to the layout rectangle unless told otherwise, but not every implementation
    // cuts a partly visible last line; an explicit clip keeps the ink inside on all of them.
    flat::GdipSetClipRect(graphics.get(), rect.X, rect.Y, rect.Width, rect.Height,
                          Gdiplus::CombineModeIntersect);
  }
  if (NeedsNewSongShift(facts, style, rect)) rect.Y += 1;
  flat::GdipDrawString(graphics.get(), text.c_str(), static_cast<INT>(text.size()), font, &rect,
                       format.get(), brush.get());
}

RECT Measure(HDC dc, FontCache& fonts, const std::wstring& text, int font_index, UINT style,
             int width) {
  RECT result{};
  GraphicsPtr graphics = MakeGraphics(dc);
  if (!graphics) return result;
  render_resources::FontFacts facts;
  render_resources::LookUpFont(font_index, facts);
  FontPtr fallback;
  Gdiplus::GpFont* font = ChooseFont(dc, fonts, facts, fallback);
  FormatPtr format = MakeTypographicFormat();
  if (!font || !format) return result;
  const bool single_line = (style & DT_SINGLELINE) != 0;
  flat::GdipSetStringFormatFlags(format.get(), single_line ? Gdiplus::StringFormatFlagsNoWrap : 0);

  const Gdiplus::RectF unbounded(0, 0, 0, 0);
  Gdiplus::RectF layout = unbounded;
  if (width != -1) {
    // A zero height leaves wrapped text unbounded; a single line is as high as one line.
    Gdiplus::REAL height = 0;
    if (single_line) {
      height = MeasureIn(graphics.get(), kLineSample, font, format.get(), unbounded).Height;
    }
    layout = Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width), height);
  }
  const Gdiplus::RectF box = MeasureIn(graphics.get(), text, font, format.get(), layout);
  result.left = static_cast<LONG>(box.X);
  result.top = static_cast<LONG>(box.Y);
  result.right = static_cast<LONG>(box.X + box.Width + 1);
  result.bottom = static_cast<LONG>(box.Y + box.Height + 1);
  return result;
}

}  // namespace gdiplus_text
}  // namespace ui
