#include "app/windows/skeleton/video_surface.h"

namespace {

// The child's property that names its surface.
constexpr wchar_t kSurfaceProperty[] = L"KestrumVideoSurface";

}  // namespace

CVideoSurface::~CVideoSurface() { reset(); }

bool CVideoSurface::create(HWND parent, const RECT& place, DWORD extraStyle, WNDPROC procedure,
                           void* userData) {
    reset();
    const HWND window =
        CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_CLIPCHILDREN | extraStyle, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, parent,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return false;
    if (!SetPropW(window, kSurfaceProperty, this)) {
        DestroyWindow(window);
        return false;
    }
    window_ = window;
    // The value first: the procedure may read it from its first message on.
    if (procedure) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    const LONG_PTR classProcedure =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Forward));
    procedure_ = procedure ? procedure : reinterpret_cast<WNDPROC>(classProcedure);
    return true;
}

void CVideoSurface::reset() {
    // The child's last message forgets it (Forward).
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

void CVideoSurface::moveTo(const RECT& place) const {
    if (!window_) return;
    MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
}

void CVideoSurface::show(bool visible) const {
    if (window_) ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

LRESULT CALLBACK CVideoSurface::Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* surface = static_cast<CVideoSurface*>(GetPropW(window, kSurfaceProperty));
    if (!surface) return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC procedure = surface->procedure_;
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kSurfaceProperty);
        surface->window_ = nullptr;
    }
    return CallWindowProcW(procedure, window, message, wParam, lParam);
}
