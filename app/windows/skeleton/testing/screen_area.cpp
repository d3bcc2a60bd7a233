#include "app/windows/skeleton/testing/screen_area.h"

#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace window_testing {

ScreenArea::ScreenArea(const RECT& area)
    : area_(area), context_(ui::RenderFactory_GdiPlus().CreateRenderContext()) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!context_ || !context_->Resize(width, height)) {
        context_.reset();
        return;
    }
    HDC screen = GetDC(nullptr);
    BitBlt(context_->GetDC(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    auto* bits = static_cast<DWORD*>(context_->GetBits());
    for (int i = 0; i < width * height; ++i) bits[i] |= 0xFF000000u;
}

ScreenArea ScreenArea::Of(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return ScreenArea(place);
}

COLORREF ScreenArea::At(int x, int y) const {
    if (!context_ || x < area_.left || y < area_.top || x >= area_.right || y >= area_.bottom)
        return CLR_INVALID;
    const DWORD pixel = static_cast<const DWORD*>(
        context_->GetBits())[(y - area_.top) * context_->GetWidth() + (x - area_.left)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int ScreenArea::Count(const RECT& rect, COLORREF colour) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) count += At(x, y) == colour;
    }
    return count;
}

bool ScreenArea::Save(const std::wstring& fileName) const {
    return context_ && ui::testing_support::SavePng(
                           context_.get(), ui::testing_support::PictureFolder() + fileName);
}

}  // namespace window_testing
