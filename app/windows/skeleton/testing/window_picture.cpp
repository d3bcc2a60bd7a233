#include "app/windows/skeleton/testing/window_picture.h"

#include <algorithm>
#include <cstdlib>

#include "ui/base/render/render_context.h"
#include "ui/windowing/window/window.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace window_testing {

namespace {

// How far, summed over red, green and blue, a pixel must be from the background to count.
constexpr int kLeastDifference = 48;

ui::IRenderContext* Drawing(CDuiFrameWindow* window) {
    ui::Window* host = window ? window->paintManager().GetHost() : nullptr;
    ui::IRenderContext* context = host ? host->GetRenderContext() : nullptr;
    return context && context->GetBits() ? context : nullptr;
}

int Distance(DWORD a, DWORD b) {
    int distance = 0;
    for (int shift : {0, 8, 16}) {
        distance +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return distance;
}

}  // namespace

void Repaint(CDuiFrameWindow* window) {
    RedrawWindow(window->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

DWORD PixelAt(CDuiFrameWindow* window, int x, int y) {
    ui::IRenderContext* context = Drawing(window);
    if (!context || x < 0 || y < 0 || x >= context->GetWidth() || y >= context->GetHeight()) {
        return 0;
    }
    return static_cast<const DWORD*>(context->GetBits())[y * context->GetWidth() + x];
}

int CountDiffering(CDuiFrameWindow* window, const RECT& rect, DWORD background) {
    ui::IRenderContext* context = Drawing(window);
    if (!context) return 0;
    const auto* bits = static_cast<const DWORD*>(context->GetBits());
    const int width = context->GetWidth();
    int differing = 0;
    for (LONG y = std::max<LONG>(rect.top, 0);
         y < std::min<LONG>(rect.bottom, context->GetHeight()); ++y) {
        for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, width); ++x) {
            if (Distance(bits[y * width + x], background) >= kLeastDifference) ++differing;
        }
    }
    return differing;
}

bool SavePicture(CDuiFrameWindow* window, const std::wstring& fileName) {
    Repaint(window);
    ui::IRenderContext* context = Drawing(window);
    if (!context) return false;
    // Text drawn by GDI (the edits') leaves alpha 0 behind; the window is opaque on the screen,
    // and so is its picture.
    auto* bits = static_cast<DWORD*>(context->GetBits());
    for (int i = 0; i < context->GetWidth() * context->GetHeight(); ++i) bits[i] |= 0xFF000000u;
    return ui::testing_support::SavePng(context, ui::testing_support::PictureFolder() + fileName);
}

}  // namespace window_testing
