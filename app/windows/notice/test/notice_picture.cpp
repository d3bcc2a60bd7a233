#include "notice_picture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "kestrum/core/util_path.h"
#include "ui/base/window/window.h"
#include "ui/controls/render/gdiplus_headers.h"
#include "ui/controls/render/render_context.h"

namespace notice_testing {

namespace {

// How far, summed over red, green and blue, a pixel must be from the background to count.
constexpr int kLeastDifference = 48;

ui::IRenderContext* ContextOf(CDuiFrameWindow* window) {
    ui::Window* host = window->paintManager().GetHost();
    return host ? host->GetRenderContext() : nullptr;
}

DWORD PixelAt(ui::IRenderContext* context, int x, int y) {
    return static_cast<const DWORD*>(context->GetBits())[y * context->GetWidth() + x];
}

int Distance(DWORD a, DWORD b) {
    int distance = 0;
    for (int shift : {0, 8, 16}) {
        distance +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return distance;
}

bool FindPngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) != L"image/png") continue;
        encoder = codecs[i].Clsid;
        return true;
    }
    return false;
}

}  // namespace

void Repaint(CDuiFrameWindow* window) {
    InvalidateRect(window->GetHWND(), nullptr, FALSE);
    UpdateWindow(window->GetHWND());
}

int InkIn(CDuiFrameWindow* window, const RECT& rect) {
    ui::IRenderContext* context = ContextOf(window);
    if (!context || !context->GetBits()) return 0;
    const DWORD background = PixelAt(context, 2, context->GetHeight() / 2);
    int count = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, context->GetHeight());
         ++y) {
        for (int x = std::max<LONG>(rect.left, 0);
             x < std::min<LONG>(rect.right, context->GetWidth()); ++x) {
            if (Distance(PixelAt(context, x, y), background) >= kLeastDifference) ++count;
        }
    }
    return count;
}

bool SavePicture(CDuiFrameWindow* window, const std::wstring& name) {
    ui::IRenderContext* context = ContextOf(window);
    CLSID encoder;
    if (!context || !context->GetBits() || !FindPngEncoder(encoder)) return false;
    const std::wstring folder = ZuvraKestrum::Util::GetExeDirW() + L"..\\pictures\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const int width = context->GetWidth();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(
            width, context->GetHeight(), width * 4, PixelFormat32bppPARGB,
            static_cast<BYTE*>(context->GetBits()), &bitmap) != Gdiplus::Ok) {
        return false;
    }
    const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, (folder + name).c_str(),
                                                                &encoder, nullptr) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return saved;
}

}  // namespace notice_testing
