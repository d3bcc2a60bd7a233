// Paints a 1280 x 720 scene (background, 16 nine-part tiles with text and icons) repeatedly into
// a memory bitmap and prints the median frame time and the frames per second it allows.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/resource/resource_hub.h"
#include "ui/controls/render/auto_clip.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus_headers.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kColumns = 4;
constexpr int kRows = 4;
constexpr int kWarmUpFrames = 10;
constexpr int kDefaultFrames = 200;

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

struct Scene {
  HBITMAP tile;
  HBITMAP icon;
  int title_font;
  int body_font;
};

void PaintTile(ui::IRenderContext& context, const Scene& scene, const RECT& paint,
               const RECT& cell, int index) {
  ui::AutoClip clip(&context, cell, 6, 6);
  context.DrawImage(paint, scene.tile, true, cell, RECT{0, 0, 32, 32}, RECT{8, 8, 8, 8});
  const RECT icon{cell.left + 16, cell.top + 16, cell.left + 40, cell.top + 40};
  context.DrawImage(paint, scene.icon, true, icon, RECT{0, 0, 24, 24}, RECT{0, 0, 0, 0});
  const RECT title{icon.right + 10, cell.top + 14, cell.right - 16, cell.top + 42};
  context.DrawText(title, L"Meeting room " + std::to_wstring(index + 1), 0xFF202020,
                   scene.title_font, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  const RECT body{cell.left + 16, cell.top + 52, cell.right - 16, cell.bottom - 16};
  context.DrawText(body, L"\u6D4B\u8BD5 participants waiting, camera on, microphone muted",
                   0xFF606060, scene.body_font, DT_END_ELLIPSIS);
}

void PaintFrame(ui::IRenderContext& context, const Scene& scene) {
  const RECT everything{0, 0, kWidth, kHeight};
  context.DrawColor(everything, Gdiplus::ARGB{0xFFE8ECF0});
  const int cell_width = kWidth / kColumns;
  const int cell_height = kHeight / kRows;
  for (int i = 0; i < kColumns * kRows; ++i) {
    const int left = (i % kColumns) * cell_width;
    const int top = (i / kColumns) * cell_height;
    const RECT cell{left + 8, top + 8, left + cell_width - 8, top + cell_height - 8};
    PaintTile(context, scene, everything, cell, i);
  }
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
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
    Scene scene{MakeTileImage(), MakeIconImage(), ui::ResourceHub::FontCount(),
                ui::ResourceHub::FontCount() + 1};
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 16, true, false, false);
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 12, false, false, false);

    ui::RenderContext_GdiPlus context;
    context.Resize(kWidth, kHeight);
    for (int i = 0; i < kWarmUpFrames; ++i) PaintFrame(context, scene);

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    times.reserve(frames);
    for (int i = 0; i < frames; ++i) {
      LARGE_INTEGER start, end;
      ::QueryPerformanceCounter(&start);
      PaintFrame(context, scene);
      ::QueryPerformanceCounter(&end);
      times.push_back(Milliseconds(start, end, frequency));
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("render scene %dx%d, 16 nine-part tiles with text and icons, %d frames\n",
                kWidth, kHeight, frames);
    std::printf("median %.3f ms/frame (min %.3f, p90 %.3f), %.1f frames/s\n", median, times.front(),
                times[times.size() * 9 / 10], 1000.0 / median);
    ::DeleteObject(scene.tile);
    ::DeleteObject(scene.icon);
  }
  ui::ResourceHub::Stop();
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
