// Paints two scenes through the framework and, side by side in the same run, with plain GDI+ and
// GDI calls (the floor: what a hand-written program pays for the same pixels), then prints the
// median frame times, their ratio and the goal line:
//   tiles  1280 x 720: background, 16 nine-part tiles with a rounded clip, an icon and two texts;
//   list    360 x 600: a list box of 32-pixel rows of text, painted whole.
// The floor keeps one graphics object per frame and makes its fonts, string formats, brushes and
// source DCs once, as any program drawing a known scene would. Both paint into the same kind of
// memory bitmap; the pixels they leave are compared, so that the floor is the same picture. The
// floor fills with GDI+ where the framework writes opaque colours into the pixels itself, so the
// framework can come out below 1x; the floor's tiles frame is also split into its parts.
//   kestrum_render_bench.exe [frames]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/render/gdiplus_headers.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/render/auto_clip.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"

namespace {

namespace flat = Gdiplus::DllExports;

constexpr int kTilesWidth = 1280;
constexpr int kTilesHeight = 720;
constexpr int kColumns = 4;
constexpr int kRows = 4;
constexpr int kListWidth = 360;
constexpr int kListHeight = 600;
constexpr int kListRowHeight = 32;
constexpr int kListRows = 1000;
constexpr int kWarmUpFrames = 10;
constexpr int kDefaultFrames = 200;
constexpr double kGoalRatio = 1.25;

constexpr Gdiplus::ARGB kBackground = 0xFFE8ECF0;
constexpr Gdiplus::ARGB kTitleColor = 0xFF202020;
constexpr Gdiplus::ARGB kBodyColor = 0xFF606060;
constexpr UINT kTitleStyle = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
constexpr UINT kBodyStyle = DT_END_ELLIPSIS;
const wchar_t kBodyText[] = L"\u6D4B\u8BD5 participants waiting, camera on, microphone muted";

double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Timing {
  double median = 0;
  double min = 0;
  double p90 = 0;
};

// Frames are interleaved with the other side's by the caller, so that both see the same machine.
Timing Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front(), times[times.size() * 9 / 10]};
}

// A 32 x 32 tile frame: an 8-pixel translucent border around an opaque middle.
HBITMAP MakeTileImage() {
  ui::RenderContext_GdiPlus image;
  image.Resize(32, 32);
  auto* pixels = static_cast<DWORD*>(image.GetBits());
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool border = x < 8 || y < 8 || x >= 24 || y >= 24;
      pixels[y * 32 + x] = border ? 0x80404040 : 0xFFF0F0F0;  // premultiplied
    }
  }
  return image.DetachBitmap();
}

// A 24 x 24 round icon with soft alpha.
HBITMAP MakeIconImage() {
  ui::RenderContext_GdiPlus image;
  image.Resize(24, 24);
  image.Clear();
  image.FillEllipse(RECT{0, 0, 24, 24}, 0xFF2080E0);
  return image.DetachBitmap();
}

std::wstring TileTitle(int index) { return L"Meeting room " + std::to_wstring(index + 1); }

RECT TileCell(int index) {
  const int cell_width = kTilesWidth / kColumns;
  const int cell_height = kTilesHeight / kRows;
  const int left = (index % kColumns) * cell_width;
  const int top = (index / kColumns) * cell_height;
  return {left + 8, top + 8, left + cell_width - 8, top + cell_height - 8};
}

RECT IconRect(const RECT& cell) {
  return {cell.left + 16, cell.top + 16, cell.left + 40, cell.top + 40};
}
RECT TitleRect(const RECT& cell) {
  return {cell.left + 50, cell.top + 14, cell.right - 16, cell.top + 42};
}
RECT BodyRect(const RECT& cell) {
  return {cell.left + 16, cell.top + 52, cell.right - 16, cell.bottom - 16};
}

struct TileScene {
  HBITMAP tile;
  HBITMAP icon;
  int title_font;
  int body_font;
};

void PaintTilesFramework(ui::IRenderContext& context, const TileScene& scene) {
  const RECT everything{0, 0, kTilesWidth, kTilesHeight};
  context.DrawColor(everything, kBackground);
  for (int i = 0; i < kColumns * kRows; ++i) {
    const RECT cell = TileCell(i);
    ui::AutoClip clip(&context, cell, 6, 6);
    context.DrawImage(everything, scene.tile, true, cell, RECT{0, 0, 32, 32}, RECT{8, 8, 8, 8});
    context.DrawImage(everything, scene.icon, true, IconRect(cell), RECT{0, 0, 24, 24},
                      RECT{0, 0, 0, 0});
    context.DrawText(TitleRect(cell), TileTitle(i), kTitleColor, scene.title_font, kTitleStyle);
    context.DrawText(BodyRect(cell), kBodyText, kBodyColor, scene.body_font, kBodyStyle);
  }
}

// ---- The floor: plain GDI+ (flat API, which holds no process-wide objects) and GDI.

// Fonts, formats and brushes made once, as a program with a fixed scene would.
class FloorKit {
 public:
  FloorKit(HDC dc, const std::vector<HFONT>& fonts) {
    for (HFONT font : fonts) {
      LOGFONTW logfont{};
      ::GetObjectW(font, sizeof(logfont), &logfont);
      Gdiplus::GpFont* made = nullptr;
      flat::GdipCreateFontFromLogfontW(dc, &logfont, &made);
      fonts_.push_back(made);
    }
  }
  ~FloorKit() {
    for (Gdiplus::GpFont* font : fonts_) flat::GdipDeleteFont(font);
    for (auto& format : formats_) flat::GdipDeleteStringFormat(format.second);
    for (auto& brush : brushes_) flat::GdipDeleteBrush(brush.second);
  }
  FloorKit(const FloorKit&) = delete;
  FloorKit& operator=(const FloorKit&) = delete;

  Gdiplus::GpFont* Font(size_t i) const { return fonts_[i]; }

  // The generic typographic format with the alignment, trimming and flags of a DT_ style.
  Gdiplus::GpStringFormat* Format(UINT style) {
    for (auto& format : formats_) {
      if (format.first == style) return format.second;
    }
    Gdiplus::GpStringFormat* generic = nullptr;
    Gdiplus::GpStringFormat* format = nullptr;
    flat::GdipStringFormatGetGenericTypographic(&generic);
    flat::GdipCloneStringFormat(generic, &format);
    if (style & DT_END_ELLIPSIS) {
      flat::GdipSetStringFormatTrimming(format, Gdiplus::StringTrimmingEllipsisCharacter);
    }
    INT flags = 0;
    if (style & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
    if (style & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
    flat::GdipSetStringFormatFlags(format, flags);
    flat::GdipSetStringFormatAlign(format, (style & DT_CENTER) ? Gdiplus::StringAlignmentCenter
                                                               : Gdiplus::StringAlignmentNear);
    flat::GdipSetStringFormatLineAlign(format, (style & DT_VCENTER) ? Gdiplus::StringAlignmentCenter
                                                                    : Gdiplus::StringAlignmentNear);
    formats_.emplace_back(style, format);
    return format;
  }

  Gdiplus::GpSolidFill* Brush(Gdiplus::ARGB color) {
    for (auto& brush : brushes_) {
      if (brush.first == color) return brush.second;
    }
    Gdiplus::GpSolidFill* brush = nullptr;
    flat::GdipCreateSolidFill(color, &brush);
    brushes_.emplace_back(color, brush);
    return brush;
  }

 private:
  std::vector<Gdiplus::GpFont*> fonts_;
  std::vector<std::pair<UINT, Gdiplus::GpStringFormat*>> formats_;
  std::vector<std::pair<Gdiplus::ARGB, Gdiplus::GpSolidFill*>> brushes_;
};

Gdiplus::RectF ToRectF(const RECT& rect) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}

// Opaque text colours are drawn with alpha 254 like the framework does, which keeps GDI+ on the
// glyph path that preserves the alpha of a 32-bit bitmap: the same work for the same pixels.
Gdiplus::ARGB TextColor(Gdiplus::ARGB color) { return (color & 0x00FFFFFF) | 0xFE000000; }

void FloorText(Gdiplus::GpGraphics* graphics, FloorKit& kit, const RECT& rect,
               const std::wstring& text, Gdiplus::ARGB color, size_t font, UINT style) {
  const Gdiplus::RectF layout = ToRectF(rect);
  if (!(style & DT_NOCLIP)) {
    flat::GdipSetClipRect(graphics, layout.X, layout.Y, layout.Width, layout.Height,
                          Gdiplus::CombineModeReplace);
  }
  flat::GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), kit.Font(font),
                       &layout, kit.Format(style), kit.Brush(TextColor(color)));
  if (!(style & DT_NOCLIP)) flat::GdipResetClip(graphics);
}

void BlendPart(HDC dc, HDC source, const RECT& dest, const RECT& from) {
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source,
               from.left, from.top, from.right - from.left, from.bottom - from.top, blend);
}

// The 32 x 32 frame in nine parts around 8-pixel corners, middle stretched.
void FloorNinePart(HDC dc, HDC source, const RECT& cell) {
  const LONG xs[4] = {cell.left, cell.left + 8, cell.right - 8, cell.right};
  const LONG ys[4] = {cell.top, cell.top + 8, cell.bottom - 8, cell.bottom};
  const LONG from[4] = {0, 8, 24, 32};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      BlendPart(dc, source, {xs[c], ys[r], xs[c + 1], ys[r + 1]},
                {from[c], from[r], from[c + 1], from[r + 1]});
    }
  }
}

// Where the floor's frame goes; filled only when asked for, in frames of their own.
struct FloorParts {
  double fill = 0;
  double images = 0;
  double text = 0;
};

// Adds the time since *mark to *sum and moves the mark; nothing without a sum.
void Lap(double* sum, double* mark) {
  if (!sum) return;
  const double now = Now();
  *sum += now - *mark;
  *mark = now;
}

void PaintTilesFloor(HDC dc, FloorKit& kit, HDC tile, HDC icon, FloorParts* parts = nullptr) {
  double mark = parts ? Now() : 0;
  Gdiplus::GpGraphics* graphics = nullptr;
  flat::GdipCreateFromHDC(dc, &graphics);
  flat::GdipFillRectangleI(graphics, kit.Brush(kBackground), 0, 0, kTilesWidth, kTilesHeight);
  Lap(parts ? &parts->fill : nullptr, &mark);
  for (int i = 0; i < kColumns * kRows; ++i) {
    const RECT cell = TileCell(i);
    // Round regions leave out their right and bottom edges: one more pixel keeps the cell.
    HRGN round = ::CreateRoundRectRgn(cell.left, cell.top, cell.right + 1, cell.bottom + 1, 6, 6);
    ::SelectClipRgn(dc, round);
    FloorNinePart(dc, tile, cell);
    BlendPart(dc, icon, IconRect(cell), {0, 0, 24, 24});
    Lap(parts ? &parts->images : nullptr, &mark);
    FloorText(graphics, kit, TitleRect(cell), TileTitle(i), kTitleColor, 0, kTitleStyle);
    FloorText(graphics, kit, BodyRect(cell), kBodyText, kBodyColor, 1, kBodyStyle);
    Lap(parts ? &parts->text : nullptr, &mark);
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(round);
  }
  flat::GdipDeleteGraphics(graphics);
}

// ---- The list scene.

std::wstring RowText(int index) {
  return L"Participant " + std::to_wstring(index + 1) + L" \u6D4B\u8BD5 camera on";
}

std::unique_ptr<ui::ListBox> MakeList(int font) {
  auto list = std::make_unique<ui::ListBox>(new ui::VLayout);
  list->EnableScrollBar(true, false);
  for (int i = 0; i < kListRows; ++i) {
    auto* row = new ui::ListContainerElement;
    row->SetFixedHeight(kListRowHeight, false);
    row->SetAttribute(L"textpadding", L"12,0,12,0");
    row->SetAttribute(L"normaltextcolor", L"rowtext");
    row->SetAttribute(L"font", std::to_wstring(font));
    row->SetText(RowText(i));
    list->Add(row);
  }
  list->SetPos({0, 0, kListWidth, kListHeight});
  return list;
}

// What the floor draws for one row, read from the laid-out list once, outside the timing.
struct FloorRow {
  RECT text;
  std::wstring label;
};

std::vector<FloorRow> ReadRows(ui::ListBox& list, UINT* style) {
  std::vector<FloorRow> rows;
  const RECT view{0, 0, kListWidth, kListHeight};
  for (int i = 0; i < list.GetCount(); ++i) {
    auto* row = static_cast<ui::ListContainerElement*>(list.GetItemAt(i));
    RECT pos = row->GetPos();
    RECT visible;
    if (!::IntersectRect(&visible, &pos, &view)) continue;
    const RECT padding = row->GetTextPadding();
    pos.left += padding.left;
    pos.top += padding.top;
    pos.right -= padding.right;
    pos.bottom -= padding.bottom;
    rows.push_back({pos, row->GetText()});
    *style = row->GetTextStyle();
  }
  return rows;
}

void PaintListFloor(HDC dc, FloorKit& kit, const std::vector<FloorRow>& rows, UINT style) {
  Gdiplus::GpGraphics* graphics = nullptr;
  flat::GdipCreateFromHDC(dc, &graphics);
  for (const FloorRow& row : rows) {
    FloorText(graphics, kit, row.text, row.label, kTitleColor, 2, style);
  }
  flat::GdipDeleteGraphics(graphics);
}

// ---- Running and reporting.

struct Comparison {
  Timing framework;
  Timing floor;
  int differing_pixels = 0;
};

// Alternates framework and floor frames (each into a cleared context of its own, as the list's rows
// paint over what is there) and compares the pixels of their last frames.
Comparison Compare(int width, int height, int frames,
                   const std::function<void(ui::RenderContext_GdiPlus&)>& framework,
                   const std::function<void(HDC)>& floor) {
  ui::RenderContext_GdiPlus framework_context;
  ui::RenderContext_GdiPlus floor_context;
  framework_context.Resize(width, height);
  floor_context.Resize(width, height);
  std::vector<double> framework_times;
  std::vector<double> floor_times;
  for (int i = -kWarmUpFrames; i < frames; ++i) {
    framework_context.Clear();
    floor_context.Clear();
    const double start = Now();
    framework(framework_context);
    const double middle = Now();
    floor(floor_context.GetDC());
    const double end = Now();
    if (i < 0) continue;
    framework_times.push_back(middle - start);
    floor_times.push_back(end - middle);
  }
  Comparison result{Summarise(framework_times), Summarise(floor_times), 0};
  const auto* a = static_cast<const DWORD*>(framework_context.GetBits());
  const auto* b = static_cast<const DWORD*>(floor_context.GetBits());
  for (int i = 0; i < width * height; ++i) result.differing_pixels += a[i] != b[i];
  return result;
}

void PrintComparison(const char* name, const char* what, const Comparison& c) {
  std::printf("%-6s %-52s %9.3f %9.3f %9.3f %9.3f %6.2fx %8d\n", name, what, c.framework.median,
              c.framework.p90, c.floor.median, c.floor.p90, c.framework.median / c.floor.median,
              c.differing_pixels);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultFrames;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
    std::fprintf(stderr, "GDI+ did not start\n");
    return 1;
  }
  {
    ui::ResourceHubState::Get().render_factory = std::make_unique<ui::RenderFactory_GdiPlus>();
    const int first_font = ui::ResourceHub::FontCount();
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 16, true, false, false);
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 12, false, false, false);
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 14, false, false, false);
    ui::ResourceHub::AddTextColor(L"rowtext", L"#FF202020");  // kTitleColor
    std::vector<HFONT> fonts;
    for (int i = 0; i < 3; ++i) fonts.push_back(ui::ResourceHub::FontInfo(first_font + i)->hFont);

    const TileScene scene{MakeTileImage(), MakeIconImage(), first_font, first_font + 1};
    HDC tile_dc = ::CreateCompatibleDC(nullptr);
    HDC icon_dc = ::CreateCompatibleDC(nullptr);
    // A bitmap is selected into one DC at a time: the floor keeps copies of its own in its DCs.
    HBITMAP floor_tile = MakeTileImage();
    HBITMAP floor_icon = MakeIconImage();
    HGDIOBJ tile_old = ::SelectObject(tile_dc, floor_tile);
    HGDIOBJ icon_old = ::SelectObject(icon_dc, floor_icon);
    ui::RenderContext_GdiPlus kit_context;
    kit_context.Resize(1, 1);
    FloorKit kit(kit_context.GetDC(), fonts);

    const Comparison tiles = Compare(
        kTilesWidth, kTilesHeight, frames,
        [&](ui::RenderContext_GdiPlus& context) { PaintTilesFramework(context, scene); },
        [&](HDC dc) { PaintTilesFloor(dc, kit, tile_dc, icon_dc); });

    FloorParts parts;
    {
      ui::RenderContext_GdiPlus context;
      context.Resize(kTilesWidth, kTilesHeight);
      for (int i = 0; i < frames; ++i) {
        PaintTilesFloor(context.GetDC(), kit, tile_dc, icon_dc, &parts);
      }
    }

    std::unique_ptr<ui::ListBox> list = MakeList(first_font + 2);
    UINT row_style = 0;
    const std::vector<FloorRow> rows = ReadRows(*list, &row_style);
    const RECT view{0, 0, kListWidth, kListHeight};
    const Comparison listed = Compare(
        kListWidth, kListHeight, frames,
        [&](ui::RenderContext_GdiPlus& context) { list->Paint(&context, view); },
        [&](HDC dc) { PaintListFloor(dc, kit, rows, row_style); });

    std::printf(
        "framework frame against the floor (the same pixels with plain GDI+ and GDI "
        "calls), %d frames each, ms\n",
        frames);
    std::printf("%-6s %-52s %9s %9s %9s %9s %7s %8s\n", "scene", "", "frame", "p90", "floor", "p90",
                "ratio", "pix diff");
    PrintComparison("tiles", "1280x720, 16 nine-part tiles, icons, 32 texts", tiles);
    std::printf(
        "       floor's tiles frame by part (mean): background fill %.3f, images and "
        "clip %.3f, text %.3f\n",
        parts.fill / frames, parts.images / frames, parts.text / frames);
    char list_what[64];
    std::snprintf(list_what, sizeof(list_what), "%dx%d list box, %d rows in view", kListWidth,
                  kListHeight, static_cast<int>(rows.size()));
    PrintComparison("list", list_what, listed);
    const double worst = std::max(tiles.framework.median / tiles.floor.median,
                                  listed.framework.median / listed.floor.median);
    std::printf("goal: frame <= %.2fx floor: worst %.2fx -> %s\n", kGoalRatio, worst,
                worst <= kGoalRatio ? "met" : "MISSED");

    list.reset();
    ::SelectObject(tile_dc, tile_old);
    ::SelectObject(icon_dc, icon_old);
    ::DeleteDC(tile_dc);
    ::DeleteDC(icon_dc);
    ::DeleteObject(floor_tile);
    ::DeleteObject(floor_icon);
    ::DeleteObject(scene.tile);
    ::DeleteObject(scene.icon);
  }
  ui::ResourceHub::Stop();
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
